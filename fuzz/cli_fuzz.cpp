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
#include "text/terminal_text.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/text_checks.h"

namespace {

using namespace mirabo;
using namespace mirabo::fuzz;

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
        help = help || arg == "--help" || arg == "-h" || arg == "--version";
    }
    FUZZ_CHECK(TerminalSafeLines(run.err));
    if (run.status == 64) {
        FUZZ_CHECK(run.out.empty());
        FUZZ_CHECK(run.err.starts_with("mirabo-calc: "));
    } else if (help && run.err.empty() &&
               (run.out.starts_with("usage: ") ||
                (run.out.starts_with("mirabo-calc ") && run.out.find('\n') == run.out.size() - 1))) {
        // The usage text, or the version's one line, whatever else was asked.
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
