// The four solvers through a form held in memory. An input is lines of text:
// the form's name (or any other line: the first byte then picks a form), the
// answers to questions ('y' a yes, anything else a no, in turn), then the
// fields' texts in field order.
//
// What must hold for every input: no field holds more than 99 characters;
// every written text is the "%.3f" ("%+.3f" for the rotation) text of the
// exact value behind it, or an infinity text; a refusal (missing input, a
// calculation exception, a declined question) writes nothing; result 1 comes
// exactly with the missing-input message and the focus on the first field;
// and the same input gives the same outcome twice.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calc/memory_form.h"
#include "calc/messages.h"
#include "cli/forms.h"
#include "text/utf8.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace mirabo;

struct Outcome {
    int result;
    std::vector<std::wstring> texts;
    std::vector<MemoryForm::Message> messages;
    std::vector<int> written;
};

bool SameMessages(const std::vector<MemoryForm::Message>& a, const std::vector<MemoryForm::Message>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].id != b[i].id || a[i].buttons != b[i].buttons || a[i].answer != b[i].answer) return false;
    }
    return true;
}

// The text a value must be shown as.
std::wstring Shown(double value, bool signAlways) {
    if (std::isinf(value)) return value < 0 ? L"-\u221E" : (signAlways ? L"+\u221E" : L"\u221E");
    char text[512];
    std::snprintf(text, sizeof text, signAlways ? "%+.3f" : "%.3f", value);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

Outcome Solve(const Calculator& form, const std::vector<std::wstring>& typed, std::string_view answers) {
    MemoryForm memory;
    for (std::size_t i = 0; i < form.fields.size() && i < typed.size(); ++i) {
        memory.SetText(form.fields[i].controlId, typed[i]);
    }
    std::size_t asked = 0;
    memory.SetAnswerer([&](int) {
        const bool yes = !answers.empty() && answers[asked % answers.size()] == 'y';
        ++asked;
        return yes ? kAnswerYes : kAnswerNo;
    });
    const int result = static_cast<int>(form.solve(memory));
    const bool rotation = form.name == "rotate";

    FUZZ_CHECK(result == 0 || result == 1);
    const int missing = form.missingInputMessage;
    bool refused = false;
    int questions = 0;
    for (const MemoryForm::Message& message : memory.Messages()) {
        if (message.buttons == kButtonsYesNo) {
            FUZZ_CHECK(message.id == MSG_CONFIRM_NONFINITE);
            ++questions;
            refused = refused || message.answer == kAnswerNo;
        } else {
            FUZZ_CHECK(message.id == missing || message.id == MSG_CALC_EXCEPTION);
            refused = true;
        }
    }
    FUZZ_CHECK(questions <= 1);
    FUZZ_CHECK(!rotation || questions == 0);
    if (result == 1) {
        FUZZ_CHECK(memory.Messages().size() == 1 && memory.Messages()[0].id == missing &&
                   memory.Messages()[0].buttons == kButtonsOk);
        FUZZ_CHECK(memory.Focus() && *memory.Focus() == FirstFieldId(form));
    } else {
        for (const MemoryForm::Message& message : memory.Messages()) FUZZ_CHECK(message.id != missing);
        FUZZ_CHECK(!memory.Focus());
    }
    if (refused) {
        FUZZ_CHECK(!memory.Written());
    } else {
        // Every field of the form is written, once, with its exact value's text.
        FUZZ_CHECK(memory.Written());
        FUZZ_CHECK(memory.WrittenFields().size() == (rotation ? 3u : form.fields.size()));
        for (const int id : memory.WrittenFields()) {
            const auto value = memory.Values().find(id);
            FUZZ_CHECK(value != memory.Values().end());
            FUZZ_CHECK(!std::isnan(value->second));
            FUZZ_CHECK(memory.Text(id).size() <= 99);
            FUZZ_CHECK(memory.Text(id) == Shown(value->second, rotation));
        }
    }
    Outcome outcome{result, {}, memory.Messages(), memory.WrittenFields()};
    for (const CalculatorField& field : form.fields) outcome.texts.push_back(memory.Text(field.controlId));
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> lines;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        lines.push_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    if (lines.empty()) return 0;
    const Calculator* form = FindCliForm(lines[0]);
    if (form == nullptr) {
        form = CliForms()[static_cast<unsigned char>(lines[0].empty() ? 0 : lines[0][0]) % CliForms().size()];
    }
    const std::string_view answers = lines.size() > 1 ? lines[1] : std::string_view();
    std::vector<std::wstring> typed;
    for (std::size_t i = 2; i < lines.size(); ++i) typed.push_back(WideFromUtf8(lines[i]));

    const Outcome first = Solve(*form, typed, answers);
    const Outcome second = Solve(*form, typed, answers);
    FUZZ_CHECK(first.result == second.result);
    FUZZ_CHECK(first.texts == second.texts);
    FUZZ_CHECK(first.written == second.written);
    FUZZ_CHECK(SameMessages(first.messages, second.messages));
    return 0;
}
