// mirabo-calc's command line, and the text conversions under it. An input is
// the arguments separated by zero bytes; questions are answered yes and no in
// turn.
//
// What must hold for every input: the exit status is one of the four; a usage
// error prints nothing on stdout; plain output is one line per field, and
// neither stream carries a control character other than the line ends (typed
// text is escaped); --json output is one line of valid JSON; at most one
// question is asked; the same arguments give the same output twice; and the
// conversions give valid UTF-8, terminal-safe where asked.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/forms.h"
#include "cli/run_calc.h"
#include "cli/terminal_text.h"
#include "cli/utf8.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace mirabo;

bool ValidUtf8(std::string_view text) {
    while (!text.empty()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(text, c);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

// No control character (C0 but the line end, DEL, C1) in valid UTF-8.
bool TerminalSafeLines(std::string_view text) {
    if (!ValidUtf8(text)) return false;
    while (!text.empty()) {
        char32_t c = 0;
        text.remove_prefix(DecodeUtf8(text, c));
        if ((c < 0x20 && c != '\n') || (c >= 0x7F && c <= 0x9F)) return false;
    }
    return true;
}

// A small JSON checker: true when `text` is exactly one JSON value.
class Json {
public:
    explicit Json(std::string_view text) : text_(text) {}
    bool Valid() {
        Space();
        if (!Value()) return false;
        Space();
        return at_ == text_.size();
    }

private:
    bool Value() {
        if (++depth_ > 64 || at_ >= text_.size()) return false;
        bool ok = false;
        switch (text_[at_]) {
        case '{':
            ok = Members('}', true);
            break;
        case '[':
            ok = Members(']', false);
            break;
        case '"':
            ok = String();
            break;
        default:
            ok = Word("true") || Word("false") || Word("null") || Number();
        }
        --depth_;
        return ok;
    }
    bool Members(char close, bool object) {
        ++at_;
        Space();
        if (Eat(close)) return true;
        for (;;) {
            if (object && (!String() || (Space(), !Eat(':')))) return false;
            Space();
            if (!Value()) return false;
            Space();
            if (Eat(close)) return true;
            if (!Eat(',')) return false;
            Space();
        }
    }
    bool String() {
        if (!Eat('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (at_ >= text_.size()) return false;
                const char e = text_[at_++];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_++])))
                            return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number() {
        const std::size_t start = at_;
        Eat('-');
        if (!Digits()) return false;
        if (Eat('.') && !Digits()) return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+')) Eat('-');
            if (!Digits()) return false;
        }
        return at_ > start;
    }
    bool Digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        return at_ > start;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    bool Eat(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void Space() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
            ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

struct Run {
    int status;
    std::string out;
    std::string err;
    int questions;
};

Run Calc(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    Run run{0, {}, {}, 0};
    CliEnvironment env{out, err, [&](const std::string& question) {
                           FUZZ_CHECK(TerminalSafeLines(question));
                           return ++run.questions % 2 == 1;
                       }};
    run.status = RunCalc(args, env);
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t end = input.find('\0');
        args.emplace_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }

    // The conversions, on every argument.
    for (const std::string& arg : args) {
        const std::string back = Utf8FromWide(WideFromUtf8(arg));
        FUZZ_CHECK(ValidUtf8(back));
        FUZZ_CHECK(!ValidUtf8(arg) || back == arg);
        const std::string safe = TerminalSafe(arg);
        FUZZ_CHECK(TerminalSafeLines(safe) && safe.find('\n') == std::string::npos);
    }

    // Batch mode reads files and standard input: the CSV target covers it.
    for (const std::string& arg : args) {
        if (arg == "--batch") return 0;
    }

    const Run run = Calc(args);
    FUZZ_CHECK(run.status == 0 || run.status == 1 || run.status == 2 || run.status == 64);
    FUZZ_CHECK(run.questions <= 1);
    bool json = false;
    bool help = false;
    for (const std::string& arg : args) {
        json = json || arg == "--json";
        help = help || arg == "--help" || arg == "-h";
    }
    FUZZ_CHECK(TerminalSafeLines(run.err));
    if (run.status == 64) {
        FUZZ_CHECK(run.out.empty());
        FUZZ_CHECK(run.err.starts_with("mirabo-calc: "));
    } else if (help && run.err.empty() && run.out.starts_with("usage: ")) {
        FUZZ_CHECK(run.status == 0);
    } else if (json) {
        FUZZ_CHECK(!run.out.empty() && run.out.back() == '\n' && run.out.find('\n') == run.out.size() - 1);
        FUZZ_CHECK(ValidUtf8(run.out));
        FUZZ_CHECK(Json(std::string_view(run.out).substr(0, run.out.size() - 1)).Valid());
    } else {
        // One line per field of the form, each "name=text".
        FUZZ_CHECK(TerminalSafeLines(run.out));
        const Calculator* form = nullptr;
        for (const std::string& arg : args) {
            if (const Calculator* named = FindCliForm(arg)) form = named;
        }
        FUZZ_CHECK(form != nullptr);
        std::string_view lines = run.out;
        for (const CalculatorField& field : form->fields) {
            const std::size_t end = lines.find('\n');
            FUZZ_CHECK(end != std::string_view::npos);
            FUZZ_CHECK(lines.substr(0, end).starts_with(std::string(field.name) + "="));
            lines.remove_prefix(end + 1);
        }
        FUZZ_CHECK(lines.empty());
    }

    const Run again = Calc(args);
    FUZZ_CHECK(again.status == run.status && again.out == run.out && again.err == run.err &&
               again.questions == run.questions);
    return 0;
}
