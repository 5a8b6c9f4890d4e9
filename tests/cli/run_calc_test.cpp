#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/forms.h"
#include "cli/run_calc.h"
#include "resfile/program_resources.h"
#include "resfile/resource_language.h"

namespace mirabo {
namespace {

// U+0080, U+009F, U+00A0, U+07FF, U+0800, U+0FFF, U+1000, U+FFFF, U+10000 and U+10FFFF.
const std::string kBoundaries =
    "\xC2\x80\xC2\x9F\xC2\xA0\xDF\xBF\xE0\xA0\x80\xE0\xBF\xBF\xE1\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";

struct Outcome {
    int status;
    std::string out;
    std::string err;
    int questions = 0;
};

// Runs the built program through the system's command interpreter and
// gives its exit status and standard output, bytes as written. On Linux the
// locale variables are the ones given and no others (the messages' language
// follows them); on Windows the user's own.
struct ProgramRun {
    int status;
    std::string out;
};

ProgramRun RunProgram(const std::string& args, [[maybe_unused]] const std::string& locale = "LANG=C.UTF-8") {
#ifdef _WIN32
    // The program is built beside the tests; cmd.exe's null device.
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string command(path, length);
    command = command.substr(0, command.find_last_of("\\/") + 1) + "mirabo-calc.exe " + args;
    for (std::size_t at = command.find("/dev/null"); at != std::string::npos;
         at = command.find("/dev/null")) {
        command.replace(at, 9, "NUL");
    }
    FILE* pipe = _popen(command.c_str(), "rb");
#else
    const std::string command =
        "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + locale + " " + MIRABO_CALC_PATH + " " + args;
    FILE* pipe = popen(command.c_str(), "r");
#endif
    ProgramRun run{-1, {}};
    if (pipe == nullptr) return run;
    char chunk[256];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
        run.out.append(chunk, n);
    }
#ifdef _WIN32
    run.status = _pclose(pipe);
#else
    run.status = WEXITSTATUS(pclose(pipe));
#endif
    return run;
}

Outcome Calc(const std::vector<std::string>& args, bool terminalAnswer = false, bool terminal = false,
             const std::string& input = "") {
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(input);
    Outcome outcome{};
    CliEnvironment env{out, err, nullptr, &in};
    if (terminal) {
        env.ask = [&](const std::string&) {
            ++outcome.questions;
            return terminalAnswer;
        };
    }
    outcome.status = RunCalc(args, env);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

TEST(MiraboCalcTest, PlainOutputListsEveryFieldInOrder) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
        // clang-format off
    } cases[] = {
        {{"right", "a=3", "b=4"}, 0, "a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870\n", ""},
        {{"β=36.87", "right", "α=", "c=5"}, 0, "a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870\n", ""},
        {{"right", "alpha=30", "beta=60"}, 1, "a=\nb=\nc=\nalpha=30\nbeta=60\n",
         "入力値が不足、\n或いはタイプミス\n"},
        {{"right", "a=0", "b=0"}, 2, "a=0\nb=0\nc=\nalpha=\nbeta=\n",
         "例外が発生しました。\n０で除算したか、入力値が間違っています。\n"},
        {{"oblique", "a=7", "b=8", "c=9"}, 0,
         "a=7.000\nb=8.000\nc=9.000\nalpha=58.412\nbeta=48.190\ngamma=73.398\n", ""},
        {{"ohm", "I=0.16", "p=0.47"}, 0, "V=2.938\nI=0.160\nR=18.359\nP=0.470\n", ""},
        {{"rotate", "x=1", "y=0", "angle=90"}, 0, "x=1\ny=0\nangle=+90.000\nx2=-0.000\ny2=+1.000\n", ""},
        // Typed text is shown terminal-safe: one field, one line.
        {{"right", "a=3\nb=99", "b=4"}, 1, "a=3\\nb=99\nb=4\nc=\nalpha=\nbeta=\n",
         "入力値が不足、\n或いはタイプミス\n"},
        {{"ohm", "V=\x1b]0;owned\x07\x1b[2J", "I=\x9b" "1m", "R=\\"}, 1,
         "V=\\x1b]0;owned\\x07\\x1b[2J\nI=\xEF\xBF\xBD" "1m\nR=\\\nP=\n", "入力値が不足、\n或いはタイプミス\n"},
        // UTF-8 from its first two-byte character to its last: the C1 controls
        // escaped, the rest as typed; bytes that are no UTF-8 text replaced.
        {{"right", "a=" + kBoundaries, "b=\x80|\xC3" "2"}, 1,
         "a=\\u0080\\u009f" + kBoundaries.substr(4) + "\nb=\xEF\xBF\xBD|\xEF\xBF\xBD" "2\nc=\nalpha=\nbeta=\n",
         "入力値が不足、\n或いはタイプミス\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Outcome o = Calc(c.args);
        EXPECT_EQ(o.status, c.status) << c.args[0];
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, c.err);
    }
}

TEST(MiraboCalcTest, JsonCarriesFieldsMessagesFocusAndExactValues) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string json;
        // clang-format off
    } cases[] = {
        {{"--json", "right", "a=3", "b=4"}, 0,
         R"({"form":"right","result":0,"written":true,"fields":{"a":"3.000","b":"4.000","c":"5.000",)"
         R"("alpha":"53.130","beta":"36.870"},"messages":[],"focus":null,"values":{"a":"3","b":"4",)"
         R"("c":"5","alpha":"53.130102347218624","beta":"36.869897652781376"}})"},
        {{"right", "a=x", "--json"}, 1,
         R"({"form":"right","result":1,"written":false,"fields":{"a":"x","b":"","c":"","alpha":"",)"
         R"("beta":""},"messages":[{"text":"入力値が不足、\n或いはタイプミス","buttons":"ok",)"
         R"("answer":"ok","id":"missing_input"}],"focus":"a"})"},
        {{"ohm", "I=0", "P=5", "--yes", "--json"}, 0,
         R"({"form":"ohm","result":0,"written":true,"fields":{"V":"∞","I":"0.000","R":"∞","P":"5.000"},)"
         R"("messages":[{"text":"正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n)"
         R"(無視して表示しますか","buttons":"yesno","answer":"yes","id":"confirm_nonfinite"}],"focus":null,)"
         R"("values":{"V":"inf","I":"0","R":"inf","P":"5"}})"},
        {{"ohm", "I=0", "P=5", "--no", "--json"}, 2,
         R"({"form":"ohm","result":0,"written":false,"fields":{"V":"","I":"0","R":"","P":"5"},)"
         R"("messages":[{"text":"正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n)"
         R"(無視して表示しますか","buttons":"yesno","answer":"no","id":"confirm_nonfinite"}],"focus":null})"},
        {{"right", "a=\x01\x1f\x7f\r\n", "--json"}, 1,
         R"({"form":"right","result":1,"written":false,"fields":{"a":"\u0001\u001f\u007f\r\n","b":"","c":"",)"
         R"("alpha":"","beta":""},"messages":[{"text":"入力値が不足、\n或いはタイプミス","buttons":"ok",)"
         R"("answer":"ok","id":"missing_input"}],"focus":"a"})"},
        {{"right", "a=" + kBoundaries, "b=\x80|\xC3" "2", "--json"}, 1,
         R"({"form":"right","result":1,"written":false,"fields":{"a":"\u0080\u009f)" + kBoundaries.substr(4) +
         R"(","b":")" "\xEF\xBF\xBD|\xEF\xBF\xBD" R"(2","c":"","alpha":"","beta":""},"messages":[{"text":)"
         R"("入力値が不足、\n或いはタイプミス","buttons":"ok","answer":"ok","id":"missing_input"}],"focus":"a"})"},
        {{"right", "a=\"\\\t", "--json"}, 1,
         R"({"form":"right","result":1,"written":false,"fields":{"a":"\"\\\t","b":"","c":"","alpha":"",)"
         R"("beta":""},"messages":[{"text":"入力値が不足、\n或いはタイプミス","buttons":"ok",)"
         R"("answer":"ok","id":"missing_input"}],"focus":"a"})"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Outcome o = Calc(c.args);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.json + "\n");
        EXPECT_EQ(o.err, "");
    }
}

TEST(MiraboCalcTest, QuestionIsAskedOnATerminalOnly) {
    const std::vector<std::string> args = {"right", "b=3", "alpha=0"};
    const Outcome noTerminal = Calc(args);
    EXPECT_EQ(noTerminal.status, 2);
    const Outcome yes = Calc(args, true, true);
    EXPECT_EQ(yes.questions, 1);
    EXPECT_EQ(yes.status, 0);
    EXPECT_NE(yes.out.find("a=∞\n"), std::string::npos);
    const Outcome no = Calc(args, false, true);
    EXPECT_EQ(no.questions, 1);
    EXPECT_EQ(no.status, 2);
    const Outcome flag = Calc({"right", "b=3", "alpha=0", "--yes"}, false, true);
    EXPECT_EQ(flag.questions, 0);
    EXPECT_EQ(flag.status, 0);
}

TEST(MiraboCalcTest, FieldsKeepTheirWholeTypedText) {
    const std::string longText(99, '7');
    const Outcome o = Calc({"right", "a=" + longText, "c=-", "b=x=y"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "a=" + longText + "\nb=x=y\nc=-\nalpha=\nbeta=\n");
}

// A field holds at most 99 characters, counted as characters, not bytes: a
// longer text is a usage error naming the field, never computed with its
// first 99 characters.
TEST(MiraboCalcTest, TextsOverNinetyNineCharactersAreRefused) {
    std::string fullWidth99;
    for (int i = 0; i < 98; ++i) fullWidth99 += "\xEF\xBC\x90";  // ０
    fullWidth99 += "\xEF\xBC\x93";                               // ３
    const struct {
        std::vector<std::string> args;
        int status;
        const char* field;  // named in the message, when refused
        // clang-format off
    } cases[] = {
        {{"right", "a=" + std::string(99, '0') + "3", "b=4"},        64, "a"},
        {{"right", "a=" + std::string(110, '0') + "3", "b=4"},       64, "a"},
        {{"right", "b=4", "α=" + std::string(100, '1')},             64, "alpha"},
        {{"ohm", "V=10", "i=" + std::string(100, ' ')},              64, "I"},
        {{"rotate", "x=1", "y=1", "angle=" + std::string(101, '.')}, 64, "angle"},
        {{"right", "a=" + std::string(98, '0') + "3", "b=4"},        0,  nullptr},
        {{"right", "a=" + fullWidth99, "b=4"},                       0,  nullptr},
        {{"right", "a=" + fullWidth99 + "0", "b=4"},                 64, "a"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1].substr(0, 8) + " " + c.args[2].substr(0, 8));
        const Outcome o = Calc(c.args);
        EXPECT_EQ(o.status, c.status);
        if (c.field != nullptr) {
            EXPECT_EQ(o.out, "");
            EXPECT_EQ(
                o.err.rfind(std::string("mirabo-calc: field ") + c.field + " holds at most 99 characters", 0),
                0u)
                << o.err;
            EXPECT_NE(o.err.find("usage: mirabo-calc"), std::string::npos);
        } else {
            EXPECT_EQ(o.out, "a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870\n");
        }
    }
}

TEST(MiraboCalcTest, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"square", "a=1"},
        {"right", "d=1"},
        {"right", "gamma=1"},
        {"right", "a=1", "a=2"},
        {"right", "alpha=1", "α=2"},
        {"right", "--yes", "--no"},
        {"right", "a"},
        {"right", "ohm"},
        {"right", "--verbose"},
        {"ohm", "=3"},
        {"ohm", "VV=3"},
    };
    std::vector<std::vector<std::string>> all = cases;
    // A value with no name is no field of any form.
    for (const Calculator* form : CliForms()) {
        all.push_back({std::string(form->name), "=5"});
        all.push_back({"=5", std::string(form->name), "a=1"});
    }
    for (const auto& args : all) {
        const Outcome o = Calc(args);
        EXPECT_EQ(o.status, 64) << testing::PrintToString(args);
        EXPECT_EQ(o.out, "");
        EXPECT_NE(o.err.find("usage: mirabo-calc"), std::string::npos);
    }
}

TEST(MiraboCalcTest, HelpGoesToStandardOutput) {
    const std::vector<std::vector<std::string>> cases = {
        {"--help"}, {"-h"}, {"right", "-h"}, {"a=1", "--help", "ohm"}};
    for (const auto& args : cases) {
        const Outcome help = Calc(args);
        EXPECT_EQ(help.status, 0) << testing::PrintToString(args);
        EXPECT_EQ(help.err, "");
        EXPECT_NE(help.out.find("usage: mirabo-calc"), std::string::npos);
        EXPECT_NE(help.out.find("oblique: a b c alpha beta gamma"), std::string::npos);
        EXPECT_NE(help.out.find("ohm: V I R P"), std::string::npos);
    }
}

TEST(MiraboCalcTest, UsageMessagesShowTypedTextTerminalSafe) {
    const struct {
        std::vector<std::string> args;
        const char* firstLine;
        // clang-format off
    } cases[] = {
        {{"\x1b[2Jright"},                  "mirabo-calc: unknown form \\x1b[2Jright"},
        {{"right", "d\ne=1"},                "mirabo-calc: unknown field d\\ne of right"},
        {{"right", "-\x7f"},                 "mirabo-calc: unknown option -\\x7f"},
        {{"right", "ohm\r"},                 "mirabo-calc: one form only, or NAME=TEXT: ohm\\r"},
        {{"r\xC2\x9Bght"},                  "mirabo-calc: unknown form r\\u009bght"},
        {{"r\xDF\xBF\xF4\x8F\xBF\xBF\x80\xC3" "A"}, "mirabo-calc: unknown form r\xDF\xBF\xF4\x8F\xBF\xBF\\x80\\xc3A"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Outcome o = Calc(c.args);
        EXPECT_EQ(o.status, 64);
        EXPECT_EQ(o.err.substr(0, o.err.find('\n')), c.firstLine);
    }
}

TEST(MiraboCalcTest, TheProgramExitsWithTheStatus) {
    const struct {
        const char* args;
        int status;
        const char* out;
    } cases[] = {
        {"right a=3 b=4 </dev/null 2>/dev/null", 0, "a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870\n"},
        {"ohm V=0 I=0 </dev/null 2>/dev/null", 2, "V=0\nI=0\nR=\nP=\n"},
        {"ohm V=1 </dev/null 2>/dev/null", 1, "V=1\nI=\nR=\nP=\n"},
        {"ohm W=1 </dev/null 2>/dev/null", 64, ""},
        {"--version </dev/null 2>/dev/null", 0, "mirabo-calc " MIRABO_VERSION "\n"},
        {"ohm V=1 I=0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000003"
         " </dev/null 2>/dev/null",
         64, ""},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.out, c.out);
    }
}

#ifndef _WIN32
// The calculators' messages come in the user's language, chosen by the locale
// variables; nothing else changes with it.
TEST(MiraboCalcTest, TheProgramsMessagesAreInTheUsersLanguage) {
    const std::string missingJson =
        R"({"form":"right","result":1,"written":false,"fields":{"a":"","b":"","c":"","alpha":"30","beta":"60"},)"
        R"("messages":[{"text":"%s","buttons":"ok","answer":"ok","id":"missing_input"}],"focus":"a"})"
        "\n";
    auto missing = [&](const std::string& text) {
        return missingJson.substr(0, missingJson.find("%s")) + text +
               missingJson.substr(missingJson.find("%s") + 2);
    };
    const std::string english = R"(Missing input\nor a typing error.)";
    const std::string japanese = R"(入力値が不足、\n或いはタイプミス)";
    const struct {
        const char* locale;
        const char* args;
        int status;
        std::string out;
        // clang-format off
    } cases[] = {
        {"LANG=en_US.UTF-8",                   "right alpha=30 beta=60 --json", 1, missing(english)},
        {"LANG=de_DE.UTF-8",                   "right alpha=30 beta=60 --json", 1, missing(english)},
        {"LANGUAGE=en_GB:ja LANG=ja_JP.UTF-8", "right alpha=30 beta=60 --json", 1, missing(english)},
        {"LC_ALL=en_US.UTF-8 LANG=ja_JP.UTF-8", "right alpha=30 beta=60 --json", 1, missing(english)},
        {"LANG=ja_JP.UTF-8",                   "right alpha=30 beta=60 --json", 1, missing(japanese)},
        {"LANG=C.UTF-8",                       "right alpha=30 beta=60 --json", 1, missing(japanese)},
        {"",                                   "right alpha=30 beta=60 --json", 1, missing(japanese)},
        {"LC_MESSAGES=POSIX LANG=en_US.UTF-8", "right alpha=30 beta=60 --json", 1, missing(japanese)},
        {"LANG=en_US.UTF-8", "right a=0 b=0 2>&1 >/dev/null", 2,
         "Calculation error.\nDivision by zero, or a wrong input value.\n"},
        {"LANG=en_US.UTF-8", "oblique a=3 b=4 alpha=53.13 2>&1 >/dev/null", 1,
         "Missing input or a typing error.\nNegative values are not allowed.\n"},
        {"LANG=en_US.UTF-8", "ohm I=0 P=5 --no --json", 2,
         R"({"form":"ohm","result":0,"written":false,"fields":{"V":"","I":"0","R":"","P":"5"},)"
         R"("messages":[{"text":"The results cannot be shown normally.\nInputs or results may be infinite,\n)"
         R"(not a number, or not computable.\nShow them anyway?","buttons":"yesno","answer":"no",)"
         R"("id":"confirm_nonfinite"}],"focus":null})" "\n"},
        {"LANG=en_US.UTF-8", "right a=3 b=4", 0, "a=3.000\nb=4.000\nc=5.000\nalpha=53.130\nbeta=36.870\n"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(std::string(c.args) + " </dev/null", c.locale);
        EXPECT_EQ(run.status, c.status) << c.locale << " " << c.args;
        EXPECT_EQ(run.out, c.out) << c.locale << " " << c.args;
    }
}
#endif

// The language chosen for the process is the one of every message, in batch
// mode too.
TEST(MiraboCalcTest, BatchRowsCarryTheMessagesInTheProcesssLanguage) {
    SetProgramLanguage(kLanguageEnglish);
    const Outcome csv = Calc({"right", "--batch"}, false, false, "a,b\r\n3,4\r\n1,\r\n");
    const Outcome json = Calc({"ohm", "--batch", "--json"}, false, false, "I,P\n0,5\n");
    SetProgramLanguage(kLanguageJapanese);
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out,
              "a,b,c,alpha,beta,status,message\r\n3.000,4.000,5.000,53.130,36.870,written,\r\n"
              "1,,,,,missing,Missing input or a typing error.\r\n");
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find(R"("text":"The results cannot be shown normally.\nInputs)"), std::string::npos)
        << json.out;
    EXPECT_NE(
        json.out.find(R"x("message":"The results cannot be shown normally. Inputs or results may be )x"
                      R"x(infinite, not a number, or not computable. Show them anyway? → no (not asked; )x"
                      R"x(--yes answers yes)")x"),
        std::string::npos)
        << json.out;
}

}  // namespace
}  // namespace mirabo
