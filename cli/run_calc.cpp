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
    bool version = false;
};

// The name of the form's field with this control, for the examples.
std::string_view FieldNameOf(const Calculator& form, int controlId) {
    for (const CalculatorField& field : form.fields) {
        if (field.controlId == controlId) {
            return field.name;
        }
    }
    return {};
}

void PrintUsage(std::ostream& out) {
    out << "usage: mirabo-calc FORM [NAME=TEXT]... [--yes | --no] [--json]\n"
           "       mirabo-calc FORM --batch [FILE] [--yes | --no] [--json] [--encoding cp932] [--bom]\n"
           "       mirabo-calc --version\n"
           "forms and their fields, in field order; the other names a field answers to:\n";
    std::size_t nameWidth = 0;
    std::size_t fieldsWidth = 0;
    const auto fieldList = [](const Calculator& form) {
        std::string list;
        for (const CalculatorField& field : form.fields) {
            (list += list.empty() ? "" : " ") += field.name;
        }
        return list;
    };
    for (const Calculator* form : CliForms()) {
        nameWidth = std::max(nameWidth, form->name.size());
        fieldsWidth = std::max(fieldsWidth, fieldList(*form).size());
    }
    for (const Calculator* form : CliForms()) {
        std::string line = "  " + std::string(form->name) + ':';
        line.append(nameWidth - form->name.size() + 1, ' ');
        line += fieldList(*form);
        std::string aliases;
        for (const CalculatorField& field : form->fields) {
            if (!field.alias.empty()) {
                (aliases += aliases.empty() ? "" : ", ") += std::string(field.alias) + " for " += field.name;
            }
        }
        if (!aliases.empty()) {
            line.append(fieldsWidth - fieldList(*form).size() + 2, ' ');
            line += aliases;
        }
        out << line << '\n';
    }
    // The characters calc/number_text.cpp reads as their ASCII counterparts.
    out << "A field's TEXT holds at most 99 characters, counted in UTF-16 units: one\n"
           "outside the Basic Multilingual Plane (an emoji) counts two. The full-width\n"
           "digits \xEF\xBC\x90-\xEF\xBC\x99, \xEF\xBC\x8E, \xEF\xBC\x8B, \xEF\xBC\x8D and the minus sign "
           "\xE2\x88\x92 are read as 0-9, ., + and -;\n"
           "so \xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95 is 12.5.\n"
           "--yes / --no answer the question about values that are not finite numbers;\n"
           "--json prints one JSON object. Exit status: 0 written, 1 missing input,\n"
           "2 nothing written, 64 usage error, 74 the output could not be written.\n"
           "-- ends the options: what follows is the form, NAME=TEXT or FILE.\n"
           "Messages are in Japanese, or in English when the first of LANGUAGE, LC_ALL,\n"
           "LC_MESSAGES and LANG that is set names a language other than ja, C or POSIX.\n"
           "examples:\n";
    for (const Calculator* form : CliForms()) {
        out << "  mirabo-calc " << form->name;
        for (const FieldText& typed : form->example) {
            out << ' ' << FieldNameOf(*form, typed.controlId) << '=' << Utf8FromWide(typed.text);
        }
        out << '\n';
    }
    PrintBatchUsage(out);
}

}  // namespace

std::string OptionProblem(std::string_view arg) {
    const std::string_view name = arg.substr(0, arg.find('='));
    for (const std::string_view flag : {"--yes", "--no", "--json", "--batch", "--bom", "--help"}) {
        if (name == flag) {
            return std::string(flag) + " takes no value: " + TerminalSafe(arg);
        }
    }
    return "unknown option " + TerminalSafe(arg);
}

namespace {

// Fills the request, or gives the reason the arguments are not usable.
std::optional<std::string> Parse(const std::vector<std::string>& args, Request& request) {
    std::vector<std::string_view> assignments;
    bool yes = false;
    bool no = false;
    bool options = true;  // until "--"
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            request.help = true;
        } else if (options && arg == "--version") {
            request.version = true;
        } else if (options && arg == "--yes") {
            yes = true;
        } else if (options && arg == "--no") {
            no = true;
        } else if (options && arg == "--json") {
            request.json = true;
        } else if (options && arg.starts_with("-")) {
            return OptionProblem(arg);
        } else if (arg.find('=') != std::string::npos) {
            assignments.push_back(arg);
        } else if (request.form != nullptr) {
            return "one form only, or NAME=TEXT: " + TerminalSafe(arg);
        } else if ((request.form = FindCliForm(arg)) == nullptr) {
            return "unknown form " + TerminalSafe(arg);
        }
    }
    if (request.help || request.version) {
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
        // A field holds at most 99 characters, counted in UTF-16 units as a
        // dialog's field counts them: a longer text is refused rather than
        // computed with its first 99.
        if (const std::size_t units = Utf16Length(text); units > kFieldCapacity - 1) {
            return "field " + std::string(field->name) + " holds at most " +
                   std::to_string(kFieldCapacity - 1) + " characters, not " + std::to_string(units);
        }
        const auto slot = static_cast<std::size_t>(field - request.form->fields.data());
        if (!request.texts.emplace(slot, std::move(text)).second) {
            return "field " + std::string(field->name) + " given twice";
        }
    }
    return std::nullopt;
}

// Ends a run whose output is written: a write that failed, at the last flush
// too, is said on one line and ends the run with kExitIoError.
int Finish(CliEnvironment& env, int status) {
    if (!env.out.flush()) {
        env.err << kOutputFailed;
        return kExitIoError;
    }
    return status;
}

}  // namespace

void PrintCalcUsage(std::ostream& out) { PrintUsage(out); }

int RunCalc(const std::vector<std::string>& args, CliEnvironment& env) {
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    if (std::find(args.begin(), optionsEnd, "--batch") != optionsEnd) {
        return RunBatch(args, env);
    }
    Request request;
    if (const auto problem = Parse(args, request)) {
        env.err << "mirabo-calc: " << *problem << '\n' << kSeeHelp;
        return kExitUsage;
    }
    if (request.help) {
        PrintUsage(env.out);
        return Finish(env, 0);
    }
    if (request.version) {
        env.out << "mirabo-calc " MIRABO_VERSION "\n";
        return Finish(env, 0);
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
            const auto& message = form.MessagesBegin()[i];
            if (message.buttons != kButtonsYesNo || request.answer != Answer::Ask) {
                env.err << MessageText(message.id) << '\n';
            } else if (!env.ask) {
                env.err << MessageText(message.id) << '\n' << kNotAskedAnswer << '\n';
            }
            // (A question asked on the terminal was shown there.)
        }
        for (std::size_t slot = 0; slot < form.FieldCount(); ++slot) {
            env.out << request.form->fields[slot].name << '=' << TerminalSafe(Utf8FromWide(form.Text(slot)))
                    << '\n';
        }
    }
    switch (status) {
    case RowStatus::Written:
        return Finish(env, kExitWritten);
    case RowStatus::Missing:
        return Finish(env, kExitMissingInput);
    case RowStatus::Refused:
        break;
    }
    return Finish(env, kExitNotWritten);
}

}  // namespace mirabo
