#include "cli/run_calc.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "calc/messages.h"
#include "cli/batch.h"
#include "cli/batch_form.h"
#include "cli/batch_output.h"
#include "cli/byte_streams.h"
#include "cli/forms.h"
#include "cli/message_texts.h"
#include "text/terminal_text.h"
#include "text/utf8.h"

namespace mirabo {
namespace {

enum class Answer { Ask, Yes, No };

struct Request {
    const Calculator* form = nullptr;
    std::map<std::size_t, std::wstring> texts;  // by field slot
    Answer answer = Answer::Ask;
    bool json = false;
    bool help = false;
};

void PrintUsage(std::ostream& out) {
    out << "usage: mirabo-calc FORM [NAME=TEXT]... [--yes | --no] [--json]\n"
           "       mirabo-calc FORM --batch [FILE] [--yes | --no] [--json] [--encoding cp932] [--bom]\n"
           "forms and their fields, in field order:\n";
    for (const Calculator* form : CliForms()) {
        out << "  " << form->name << ':';
        for (const CalculatorField& field : form->fields) {
            out << ' ' << field.name;
        }
        out << '\n';
    }
    out << "A field's TEXT holds at most 99 characters.\n"
           "--yes / --no answer the question about values that are not finite numbers;\n"
           "--json prints one JSON object. Exit status: 0 written, 1 missing input,\n"
           "2 nothing written, 64 usage error.\n"
           "Messages are in Japanese, or in English when the first of LANGUAGE, LC_ALL,\n"
           "LC_MESSAGES and LANG that is set names a language other than ja, C or POSIX.\n";
    PrintBatchUsage(out);
}

// Fills the request, or gives the reason the arguments are not usable.
std::optional<std::string> Parse(const std::vector<std::string>& args, Request& request) {
    std::vector<std::string_view> assignments;
    bool yes = false;
    bool no = false;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            request.help = true;
        } else if (arg == "--yes") {
            yes = true;
        } else if (arg == "--no") {
            no = true;
        } else if (arg == "--json") {
            request.json = true;
        } else if (arg.find('=') != std::string::npos) {
            assignments.push_back(arg);
        } else if (arg.starts_with("-")) {
            return "unknown option " + TerminalSafe(arg);
        } else if (request.form != nullptr) {
            return "one form only, or NAME=TEXT: " + TerminalSafe(arg);
        } else if ((request.form = FindCliForm(arg)) == nullptr) {
            return "unknown form " + TerminalSafe(arg);
        }
    }
    if (request.help) {
        return std::nullopt;
    }
    if (yes && no) {
        return "--yes and --no together";
    }
    request.answer = yes ? Answer::Yes : (no ? Answer::No : Answer::Ask);
    if (request.form == nullptr) {
        return "no form given";
    }
    for (std::string_view assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        const std::string_view name = assignment.substr(0, equals);
        const CalculatorField* field = FindCliField(*request.form, name);
        if (field == nullptr) {
            return "unknown field " + TerminalSafe(name) + " of " + std::string(request.form->name);
        }
        std::wstring text = WideFromUtf8(assignment.substr(equals + 1));
        // A field holds at most 99 characters, as a dialog's field does: a
        // longer text is refused rather than computed with its first 99.
        if (text.size() > kFieldCapacity - 1) {
            return "field " + std::string(field->name) + " holds at most " +
                   std::to_string(kFieldCapacity - 1) + " characters, not " + std::to_string(text.size());
        }
        const auto slot = static_cast<std::size_t>(field - request.form->fields.data());
        if (!request.texts.emplace(slot, std::move(text)).second) {
            return "field " + std::string(field->name) + " given twice";
        }
    }
    return std::nullopt;
}

}  // namespace

void PrintCalcUsage(std::ostream& out) { PrintUsage(out); }

int RunCalc(const std::vector<std::string>& args, CliEnvironment& env) {
    if (std::find(args.begin(), args.end(), "--batch") != args.end()) {
        return RunBatch(args, env);
    }
    Request request;
    if (const auto problem = Parse(args, request)) {
        env.err << "mirabo-calc: " << *problem << '\n';
        PrintUsage(env.err);
        return kExitUsage;
    }
    if (request.help) {
        PrintUsage(env.out);
        return 0;
    }

    // The same form and JSON writer as batch mode's rows, so that a single
    // calculation and a row cannot come out differently.
    BatchForm form(*request.form, request.answer == Answer::Yes ? kAnswerYes : kAnswerNo);
    for (const auto& [slot, text] : request.texts) {
        form.Type(slot, text);
    }
    if (request.answer == Answer::Ask) {
        form.SetAsker([&](int messageId) {
            return env.ask && env.ask(MessageText(messageId)) ? kAnswerYes : kAnswerNo;
        });
    }

    const SolveResult result = request.form->solve(form);
    const RowStatus status = StatusAfter(form, result);

    if (request.json) {
        StreamSink sink(env.out);
        BufferedWriter out(sink);
        MakeJsonObjectWriter(out, *request.form)->Row(form, {status, true, result, 0});
        out.Flush();
    } else {
        for (std::size_t i = 0; i < form.MessageCount(); ++i) {
            env.err << MessageText(form.MessagesBegin()[i].id) << '\n';
        }
        for (std::size_t slot = 0; slot < form.FieldCount(); ++slot) {
            env.out << request.form->fields[slot].name << '=' << TerminalSafe(Utf8FromWide(form.Text(slot)))
                    << '\n';
        }
    }
    switch (status) {
    case RowStatus::Written:
        return kExitWritten;
    case RowStatus::Missing:
        return kExitMissingInput;
    case RowStatus::Refused:
        break;
    }
    return kExitNotWritten;
}

}  // namespace mirabo
