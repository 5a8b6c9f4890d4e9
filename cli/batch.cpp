#include "cli/batch.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

#include "calc/messages.h"
#include "cli/batch_form.h"
#include "cli/batch_output.h"
#include "cli/byte_streams.h"
#include "cli/cp932_source.h"
#include "cli/csv_reader.h"
#include "cli/forms.h"
#include "cli/message_texts.h"
#include "text/terminal_text.h"

namespace mirabo {
namespace {

struct BatchRequest {
    const Calculator* form = nullptr;
    std::optional<std::string> file;  // none, or "-": the input stream
    Answering answering = Answering::NotAsked;
    bool json = false;
    bool bom = false;
    bool cp932 = false;
    bool help = false;
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lower;
}

std::optional<std::string> ParseBatch(const std::vector<std::string>& args, BatchRequest& request) {
    bool yes = false;
    bool no = false;
    std::optional<std::string> encoding;
    std::vector<std::string_view> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--batch") {
        } else if (arg == "--help" || arg == "-h") {
            request.help = true;
        } else if (arg == "--yes") {
            yes = true;
        } else if (arg == "--no") {
            no = true;
        } else if (arg == "--json") {
            request.json = true;
        } else if (arg == "--bom") {
            request.bom = true;
        } else if (arg == "--encoding") {
            if (i + 1 == args.size()) {
                return "--encoding needs a name: cp932 or utf-8";
            }
            encoding = args[++i];
        } else if (arg.starts_with("--encoding=")) {
            encoding = arg.substr(std::string_view("--encoding=").size());
        } else if (arg.starts_with("-") && arg != "-") {
            return "unknown option " + TerminalSafe(arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (request.help) {
        return std::nullopt;
    }
    if (yes && no) {
        return "--yes and --no together";
    }
    request.answering = yes ? Answering::Yes : (no ? Answering::No : Answering::NotAsked);
    if (encoding) {
        const std::string name = Lower(*encoding);
        if (name == "cp932") {
            if (!Cp932Source::Available()) {
                return "--encoding cp932: this system has no converter for CP932 text; save the table as UTF-8";
            }
            request.cp932 = true;
        } else if (name != "utf-8" && name != "utf8") {
            return "unknown encoding " + TerminalSafe(*encoding) + ": cp932 or utf-8";
        }
    }
    if (positional.empty()) {
        return "no form given";
    }
    if ((request.form = FindCliForm(positional[0])) == nullptr) {
        return "unknown form " + TerminalSafe(positional[0]);
    }
    if (positional.size() > 2) {
        return "one input file only: " + TerminalSafe(positional[2]);
    }
    if (positional.size() == 2) {
        const std::string_view file = positional[1];
        const std::size_t equals = file.find('=');
        if (equals != std::string_view::npos &&
            FindCliField(*request.form, file.substr(0, equals)) != nullptr) {
            return "NAME=TEXT does not go with --batch: the header row names the fields (" +
                   TerminalSafe(file) + ")";
        }
        request.file = file;
    }
    return std::nullopt;
}

std::string FieldList(const Calculator& form) {
    std::string list;
    for (const CalculatorField& field : form.fields) {
        list += list.empty() ? "" : " ";
        list += field.name;
    }
    return list;
}

// The header row: which field each column fills.
class HeaderSink : public CsvCellSink {
public:
    explicit HeaderSink(const Calculator& form) : form_(form) {}

    void Cell(std::size_t /*column*/, std::string_view text, bool whole) override {
        if (problem_) {
            return;
        }
        const CalculatorField* field = FindCliField(form_, text);
        if (field == nullptr) {
            problem_ = "unknown column \"" + TerminalSafe(text) + (whole ? "\"" : "...\"") + " of " +
                       std::string(form_.name) + " (its fields: " + FieldList(form_) + ")";
            return;
        }
        const auto slot = static_cast<std::size_t>(field - form_.fields.data());
        if (used_ & (1u << slot)) {
            problem_ = "column " + std::string(field->name) + " given twice";
            return;
        }
        used_ |= 1u << slot;
        slots_.push_back(slot);
    }

    const std::optional<std::string>& Problem() const { return problem_; }
    const std::vector<std::size_t>& Slots() const { return slots_; }

private:
    const Calculator& form_;
    std::uint32_t used_ = 0;
    std::vector<std::size_t> slots_;  // by column
    std::optional<std::string> problem_;
};

// A row: each cell typed into its column's field.
class RowSink : public CsvCellSink {
public:
    RowSink(BatchForm& form, const std::vector<std::size_t>& slots) : form_(form), slots_(slots) {}

    void Cell(std::size_t column, std::string_view text, bool whole) override {
        const std::size_t slot = slots_[column];
        if (!whole || !form_.Type(slot, text)) {
            longFields_ |= 1u << slot;
        }
    }

    void Reset() { longFields_ = 0; }
    std::uint32_t LongFields() const { return longFields_; }

private:
    BatchForm& form_;
    const std::vector<std::size_t>& slots_;
    std::uint32_t longFields_ = 0;
};

RowOutcome Solve(BatchForm& form, std::uint32_t longFields) {
    if (longFields != 0) {
        return {RowStatus::Refused, false, SolveResult::Done, longFields};
    }
    const SolveResult result = form.Form().solve(form);
    return {StatusAfter(form, result), true, result, 0};
}

}  // namespace

void PrintBatchUsage(std::ostream& out) {
    out << "--batch reads a CSV table (from FILE, or standard input without FILE or with -):\n"
           "a header row naming fields, in any order, then one case a row. It writes every\n"
           "field of each row, its status (written, missing or refused) and its messages,\n"
           "as CSV, or as JSON Lines with --json. Without --yes or --no every question is\n"
           "answered no. --encoding cp932 reads CSV saved in Shift_JIS (CP932); --bom puts a\n"
           "UTF-8 byte-order mark before the output. Exit status: 0 every row was read,\n"
           "64 usage error, 65 malformed input (its line is named), 66 FILE cannot be opened,\n"
           "74 read or write error.\n"
           "\n"
           "  $ printf 'a,b\\n3,4\\n1,\\n' | mirabo-calc right --batch\n"
           "  a,b,c,alpha,beta,status,message\n"
           "  3.000,4.000,5.000,53.130,36.870,written,\n"
           "  1,,,,,missing,"
        << MessageLine(MSG_MISSING_INPUT) << '\n';
}

int RunBatch(const std::vector<std::string>& args, CliEnvironment& env) {
    BatchRequest request;
    if (const auto problem = ParseBatch(args, request)) {
        env.err << "mirabo-calc: " << *problem << '\n';
        PrintCalcUsage(env.err);
        return kExitUsage;
    }
    if (request.help) {
        PrintCalcUsage(env.out);
        return 0;
    }

    std::ifstream file;
    std::istringstream nothing;
    std::istream* in = env.in != nullptr ? env.in : &nothing;
    std::string where = "line ";
    if (request.file && *request.file != "-") {
        file.open(*request.file, std::ios::binary);
        if (!file) {
            env.err << "mirabo-calc: cannot open " << TerminalSafe(*request.file) << '\n';
            return kExitNoInput;
        }
        // A folder is no table: where a system lets one open, it reads as a
        // failed read, as it does where the read itself fails.
        std::error_code ignored;
        if (std::filesystem::is_directory(*request.file, ignored)) {
            file.setstate(std::ios::badbit);
        }
        in = &file;
        where = TerminalSafe(*request.file) + ", line ";
    }
    StreamSource raw(*in);
    std::optional<Cp932Source> decoded;
    ByteSource* source = &raw;
    if (request.cp932) {
        source = &decoded.emplace(raw);
    }
    CsvReader reader(*source, kBatchCellLimit);
    StreamSink sink(env.out);
    BufferedWriter out(sink);
    const std::unique_ptr<RowWriter> writer =
        request.json ? MakeJsonRowWriter(out, *request.form, request.answering, request.bom)
                     : MakeCsvRowWriter(out, *request.form, request.answering, request.bom);

    // Ends the run: what was written goes out, then the reason for stopping.
    const auto finish = [&](CsvReader::Result last) {
        const bool written = out.Flush();
        if (last == CsvReader::Result::Malformed || last == CsvReader::Result::Unreadable) {
            env.err << "mirabo-calc: " << where << reader.ProblemLine() << ": " << reader.Problem() << '\n';
            return last == CsvReader::Result::Malformed ? kExitMalformedInput : kExitIoError;
        }
        if (!written) {
            env.err << "mirabo-calc: the output could not be written\n";
            return kExitIoError;
        }
        return 0;
    };

    HeaderSink header(*request.form);
    const CsvReader::Result headerRead = reader.Next(header);
    if (headerRead == CsvReader::Result::Record && header.Problem()) {
        env.err << "mirabo-calc: " << *header.Problem() << '\n';
        return kExitUsage;
    }
    if (headerRead == CsvReader::Result::End) {
        writer->Begin();
        return finish(headerRead);
    }
    if (headerRead != CsvReader::Result::Record) {
        return finish(headerRead);
    }
    reader.LimitCells(header.Slots().size());

    writer->Begin();
    BatchForm form(*request.form, request.answering == Answering::Yes ? kAnswerYes : kAnswerNo);
    RowSink row(form, header.Slots());
    for (;;) {
        form.Clear();
        row.Reset();
        const CsvReader::Result read = reader.Next(row);
        if (read != CsvReader::Result::Record) {
            return finish(read);
        }
        writer->Row(form, Solve(form, row.LongFields()));
        if (out.Failed()) {
            return finish(read);
        }
    }
}

}  // namespace mirabo
