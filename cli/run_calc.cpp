#include "cli/run_calc.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "calc/conversions.h"
#include "calc/memory_form.h"
#include "calc/messages.h"
#include "cli/batch.h"
#include "cli/forms.h"
#include "cli/message_texts.h"
#include "text/json_string.h"
#include "text/terminal_text.h"
#include "text/utf8.h"

namespace mirabo {
namespace {

enum class Answer { Ask, Yes, No };

struct Request {
    const Calculator* form = nullptr;
    std::map<int, std::wstring> texts;
    Answer answer = Answer::Ask;
    bool json = false;
    bool help = false;
    bool version = false;
};

void PrintUsage(std::ostream& out) {
    out << "usage: mirabo-calc FORM [NAME=TEXT]... [--yes | --no] [--json]\n"
           "       mirabo-calc FORM --batch [FILE] [--yes | --no] [--json] [--encoding cp932] [--bom]\n"
           "       mirabo-calc --version\n"
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
        } else if (arg == "--version") {
            request.version = true;
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
        // A field holds at most 99 characters, as a dialog's field does: a
        // longer text is refused rather than computed with its first 99.
        if (text.size() > kFieldCapacity - 1) {
            return "field " + std::string(field->name) + " holds at most " +
                   std::to_string(kFieldCapacity - 1) + " characters, not " + std::to_string(text.size());
        }
        if (!request.texts.emplace(field->controlId, std::move(text)).second) {
            return "field " + std::string(field->name) + " given twice";
        }
    }
    return std::nullopt;
}

void WriteJsonString(std::ostream& out, std::string_view utf8) { out << JsonString(utf8); }

std::string ShortestText(double value) {
    char text[64];
    const auto result = WriteShortest(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

const char* FieldName(const Calculator& form, int controlId) {
    for (const CalculatorField& field : form.fields) {
        if (field.controlId == controlId) {
            return field.name.data();
        }
    }
    return nullptr;
}

void PrintJson(std::ostream& out, const Calculator& form, const MemoryForm& memory, SolveResult result) {
    out << "{\"form\":";
    WriteJsonString(out, form.name);
    out << ",\"result\":" << static_cast<int>(result)
        << ",\"written\":" << (memory.Written() ? "true" : "false");
    out << ",\"fields\":{";
    const char* separator = "";
    for (const CalculatorField& field : form.fields) {
        out << separator;
        WriteJsonString(out, field.name);
        out << ':';
        WriteJsonString(out, Utf8FromWide(memory.Text(field.controlId)));
        separator = ",";
    }
    out << "},\"messages\":[";
    separator = "";
    for (const MemoryForm::Message& message : memory.Messages()) {
        out << separator << "{\"text\":";
        WriteJsonString(out, MessageText(message.id));
        out << ",\"buttons\":" << (message.buttons == kButtonsYesNo ? "\"yesno\"" : "\"ok\"");
        out << ",\"answer\":"
            << (message.answer == kAnswerYes  ? "\"yes\""
                : message.answer == kAnswerNo ? "\"no\""
                                              : "\"ok\"")
            << ",\"id\":";
        WriteJsonString(out, MessageNameOf(message.id));
        out << '}';
        separator = ",";
    }
    out << "],\"focus\":";
    const char* focus = memory.Focus() ? FieldName(form, *memory.Focus()) : nullptr;
    if (focus != nullptr) {
        WriteJsonString(out, focus);
    } else {
        out << "null";
    }
    if (memory.Written()) {
        out << ",\"values\":{";
        separator = "";
        for (const CalculatorField& field : form.fields) {
            const auto it = memory.Values().find(field.controlId);
            if (it != memory.Values().end()) {
                out << separator;
                WriteJsonString(out, field.name);
                out << ':';
                WriteJsonString(out, ShortestText(it->second));
                separator = ",";
            }
        }
        out << '}';
    }
    out << "}\n";
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
    if (request.version) {
        env.out << "mirabo-calc " MIRABO_VERSION "\n";
        return 0;
    }

    MemoryForm memory;
    for (const auto& [controlId, text] : request.texts) {
        memory.SetText(controlId, text);
    }
    memory.SetAnswerer([&](int messageId) {
        switch (request.answer) {
        case Answer::Yes:
            return kAnswerYes;
        case Answer::No:
            return kAnswerNo;
        case Answer::Ask:
            break;
        }
        return env.ask && env.ask(MessageText(messageId)) ? kAnswerYes : kAnswerNo;
    });

    const SolveResult result = request.form->solve(memory);

    if (request.json) {
        PrintJson(env.out, *request.form, memory, result);
    } else {
        for (const MemoryForm::Message& message : memory.Messages()) {
            env.err << MessageText(message.id) << '\n';
        }
        for (const CalculatorField& field : request.form->fields) {
            env.out << field.name << '=' << TerminalSafe(Utf8FromWide(memory.Text(field.controlId))) << '\n';
        }
    }
    if (memory.Written()) {
        return kExitWritten;
    }
    return result == SolveResult::StoppedForMissingInput ? kExitMissingInput : kExitNotWritten;
}

}  // namespace mirabo
