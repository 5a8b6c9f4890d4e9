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
#include "text/utf8.h"

namespace mirabo {
namespace {

// The file a name from the command line (UTF-8) stands for: on Windows the
// wide path as typed, which the ANSI code page may not hold (a Japanese name
// on an English system); elsewhere the name's bytes.
std::filesystem::path PathOf(const std::string& name) {
#ifdef _WIN32
    return std::filesystem::path(WideFromUtf8(name));
#else
    return std::filesystem::path(name);
#endif
}

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
    bool options = true;  // until "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg == "-") {
            positional.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (arg == "--batch") {
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
        } else if (arg.starts_with("-")) {
            return OptionProblem(arg);
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

// What one column of the input is: the field at a slot, or a column carried
// through (its index among the carried columns).
struct Column {
    bool carried;
    std::size_t index;
};

// The header row: which field each column fills, and which columns are carried.
class HeaderSink : public CsvCellSink {
public:
    explicit HeaderSink(const Calculator& form) : form_(form) {}

    void Cell(std::size_t /*column*/, std::string_view text, bool whole) override {
        if (problem_ || (cut_ = cut_ || !whole)) {
            return;
        }
        const CalculatorField* field = FindCliField(form_, text);
        if (field == nullptr) {
            for (const std::string& name : carried_.names) {
                if (name == text) {
                    problem_ = "column \"" + TerminalSafe(text) + "\" given twice";
                    return;
                }
            }
            carried_.leading += used_ == 0 ? 1 : 0;
            columns_.push_back({true, carried_.names.size()});
            carried_.names.emplace_back(text);
            return;
        }
        const auto slot = static_cast<std::size_t>(field - form_.fields.data());
        if (used_ & (1u << slot)) {
            problem_ = "column " + std::string(field->name) + " given twice";
            return;
        }
        used_ |= 1u << slot;
        columns_.push_back({false, slot});
    }

    const std::optional<std::string>& Problem() const { return problem_; }
    // Whether a cell was longer than the reader keeps.
    bool Cut() const { return cut_; }
    const std::vector<Column>& Columns() const { return columns_; }
    const CarriedColumns& Carried() const { return carried_; }

    // The one line that names the carried columns, or empty for none.
    std::string Notice() const {
        if (carried_.names.empty()) {
            return {};
        }
        std::string notice = "mirabo-calc: not fields of " + std::string(form_.name) + " (" + FieldList(form_) +
                             "), carried through unchanged: ";
        for (std::size_t i = 0; i < carried_.names.size(); ++i) {
            notice += (i > 0 ? ", \"" : "\"") + TerminalSafe(carried_.names[i]) + '"';
        }
        return notice + '\n';
    }

private:
    const Calculator& form_;
    std::uint32_t used_ = 0;
    std::vector<Column> columns_;  // by column
    CarriedColumns carried_;
    bool cut_ = false;
    std::optional<std::string> problem_;
};

// A row: each cell typed into its column's field, or kept as a carried cell.
class RowSink : public CsvCellSink {
public:
    RowSink(BatchForm& form, const std::vector<Column>& columns) : form_(form), columns_(columns) {}

    void Cell(std::size_t column, std::string_view text, bool whole) override {
        cut_ = cut_ || !whole;
        const Column where = columns_[column];
        if (where.carried) {
            form_.Carry(where.index, text);
        } else if (!form_.Type(where.index, text)) {
            form_.KeepLongText(where.index, text);
            longFields_ |= 1u << where.index;
        }
    }

    void Reset() { longFields_ = 0; }
    std::uint32_t LongFields() const { return longFields_; }
    // Whether a cell was longer than the reader keeps.
    bool Cut() const { return cut_; }

private:
    BatchForm& form_;
    const std::vector<Column>& columns_;
    std::uint32_t longFields_ = 0;
    bool cut_ = false;
};

// A source that first hands what the writer holds to its sink: before the
// program waits for more input, every row read so far has been written.
class FlushingSource : public ByteSource {
public:
    FlushingSource(ByteSource& source, BufferedWriter& out) : source_(source), out_(out) {}

    std::size_t Read(std::span<char> into) override {
        // Output that cannot be written ends the input too.
        return out_.Flush() ? source_.Read(into) : 0;
    }
    Failure Failed() const override { return source_.Failed(); }
    std::string Problem() const override { return source_.Problem(); }

private:
    ByteSource& source_;
    BufferedWriter& out_;
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
           "as CSV, or as JSON Lines with --json; columns that are no field come back\n"
           "unchanged, and so does a cell too long for its field. Without --yes or --no\n"
           "every question is answered no. --encoding cp932 reads CSV saved in Shift_JIS\n"
           "(CP932); --bom puts a UTF-8 byte-order mark before the output.\n"
           "Exit status: 0 every row was read, 64 usage error, 65 malformed input (its line\n"
           "is named), 66 FILE cannot be opened, 74 read or write error.\n"
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
        env.err << "mirabo-calc: " << *problem << '\n' << kSeeHelp;
        return kExitUsage;
    }
    if (request.help) {
        PrintCalcUsage(env.out);
        if (!env.out.flush()) {
            env.err << kOutputFailed;
            return kExitIoError;
        }
        return 0;
    }

    std::ifstream file;
    std::istringstream nothing;
    std::istream* in = env.in != nullptr ? env.in : &nothing;
    std::string where = "line ";
    if (request.file && *request.file != "-") {
        const std::filesystem::path path = PathOf(*request.file);
        file.open(path, std::ios::binary);
        if (!file) {
            env.err << "mirabo-calc: cannot open " << TerminalSafe(*request.file) << '\n';
            return kExitNoInput;
        }
        // A folder is no table: where a system lets one open, it reads as a
        // failed read, as it does where the read itself fails.
        std::error_code ignored;
        if (std::filesystem::is_directory(path, ignored)) {
            file.setstate(std::ios::badbit);
        }
        in = &file;
        where = TerminalSafe(*request.file) + ", line ";
    }
    // Standard input is read as its bytes arrive, where the system gives it as such.
    std::optional<DescriptorSource> descriptor;
    std::optional<StreamSource> stream;
    ByteSource* raw = nullptr;
    if (in != &file && env.in != nullptr && env.inDescriptor >= 0) {
        raw = &descriptor.emplace(env.inDescriptor);
    } else {
        raw = &stream.emplace(*in);
    }
    StreamSink sink(env.out);
    BufferedWriter out(sink);
    FlushingSource flushing(*raw, out);
    std::optional<Cp932Source> decoded;
    ByteSource* source = &flushing;
    if (request.cp932) {
        source = &decoded.emplace(flushing);
    }
    CsvReader reader(*source, kBatchCellLimit);

    // Ends the run: what was written goes out, then the reason for stopping.
    const auto finish = [&](CsvReader::Result last) {
        const bool written = out.Flush();
        if (last == CsvReader::Result::Malformed || last == CsvReader::Result::Unreadable) {
            env.err << "mirabo-calc: " << where << reader.ProblemLine() << ": " << reader.Problem() << '\n';
            return last == CsvReader::Result::Malformed ? kExitMalformedInput : kExitIoError;
        }
        if (!written) {
            env.err << kOutputFailed;
            return kExitIoError;
        }
        return 0;
    };

    // A cell too long to keep whole stops the run: it could not be given back.
    const auto cut = [&] {
        out.Flush();
        env.err << "mirabo-calc: " << where << reader.RecordLine() << ": a cell longer than "
                << kBatchCellLimit << " bytes\n";
        return kExitMalformedInput;
    };

    HeaderSink header(*request.form);
    const CsvReader::Result headerRead = reader.Next(header);
    if (headerRead == CsvReader::Result::Record && header.Cut()) {
        return cut();
    }
    if (headerRead == CsvReader::Result::Record && header.Problem()) {
        env.err << "mirabo-calc: " << *header.Problem() << '\n';
        return kExitUsage;
    }
    const std::unique_ptr<RowWriter> writer =
        request.json ? MakeJsonRowWriter(out, *request.form, request.answering, request.bom, header.Carried())
                     : MakeCsvRowWriter(out, *request.form, request.answering, request.bom, header.Carried());
    if (headerRead == CsvReader::Result::End) {
        writer->Begin();
        return finish(headerRead);
    }
    if (headerRead != CsvReader::Result::Record) {
        return finish(headerRead);
    }
    env.err << header.Notice();
    reader.LimitCells(header.Columns().size());

    writer->Begin();
    BatchForm form(*request.form, request.answering == Answering::Yes ? kAnswerYes : kAnswerNo);
    form.SetCarriedColumns(header.Carried().names.size());
    RowSink row(form, header.Columns());
    for (;;) {
        form.Clear();
        row.Reset();
        const CsvReader::Result read = reader.Next(row);
        if (read == CsvReader::Result::Record && row.Cut()) {
            return cut();
        }
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
