// Writing batch rows: CSV with a header, or one JSON object a line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/batch_form.h"
#include "cli/byte_streams.h"
#include "cli/message_texts.h"

namespace mirabo {

// Where a row ended, as the exit status of one calculation tells it.
enum class RowStatus {
    Written,  // the fields were written
    Missing,  // stopped for missing input
    Refused,  // nothing written
};

// The status of a calculation that ran: Written when it wrote the fields, else
// Missing when it stopped for missing input, else Refused.
RowStatus StatusAfter(const BatchForm& form, SolveResult result);

struct RowOutcome {
    RowStatus status;
    // Whether the solver ran; it does not when a text is too long for its field.
    bool solved;
    SolveResult result;        // the solver's result, when it ran
    std::uint32_t longFields;  // one bit per field slot whose text was too long
};

// How the rows' questions are answered.
enum class Answering {
    Yes,       // --yes
    No,        // --no
    NotAsked,  // neither: No, and the row says so
};

class RowWriter {
public:
    virtual ~RowWriter() = default;
    // What comes before the first row.
    virtual void Begin() = 0;
    virtual void Row(const BatchForm& form, const RowOutcome& outcome) = 0;
};

// The texts of a row's messages joined by " / ", their line breaks as spaces,
// each question followed by its answer.
class RowMessage {
public:
    explicit RowMessage(Answering answering);
    const std::string& Compose(const BatchForm& form, const RowOutcome& outcome);

private:
    Answering answering_;
    std::string text_;
    KnownMessages messages_;
};

// The input's columns that are no field of the form, carried to the output
// unchanged: their names in the input's order, the first `leading` of them
// (those before the input's first field column) before the form's fields,
// the others after them. In JSON Lines they follow "message" as "carried", an
// object of their cells by column name; with none, there is no "carried".
struct CarriedColumns {
    std::vector<std::string> names;
    std::size_t leading = 0;
};

// `bom` puts a UTF-8 byte-order mark first.
std::unique_ptr<RowWriter> MakeCsvRowWriter(BufferedWriter& out, const Calculator& form, Answering answering,
                                            bool bom, CarriedColumns carried = {});
// A row as one line holding the object of --json (form, result, fields,
// messages, focus and values), with the row's status and message after them.
std::unique_ptr<RowWriter> MakeJsonRowWriter(BufferedWriter& out, const Calculator& form, Answering answering,
                                             bool bom, CarriedColumns carried = {});
// The object of --json alone, for one calculation on the command line: the
// same writer, without a status and a message.
std::unique_ptr<RowWriter> MakeJsonObjectWriter(BufferedWriter& out, const Calculator& form);

const char* RowStatusName(RowStatus status);

}  // namespace mirabo
