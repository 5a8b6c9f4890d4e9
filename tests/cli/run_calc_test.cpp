#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/forms.h"
#include "cli/run_calc.h"
#include "resfile/program_resources.h"
#include "resfile/resource_language.h"
#include "text/utf8.h"
#include "tests/cli/calc_runs.h"

namespace mirabo {
namespace {

// U+0080, U+009F, U+00A0, U+07FF, U+0800, U+0FFF, U+1000, U+FFFF, U+10000 and U+10FFFF.
const std::string kBoundaries =
    "\xC2\x80\xC2\x9F\xC2\xA0\xDF\xBF\xE0\xA0\x80\xE0\xBF\xBF\xE1\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";

// A path given in UTF-8: on Windows as wide characters, whatever the ANSI
// code page; elsewhere as its bytes.
std::filesystem::path PathOf(const std::string& utf8) {
#ifdef _WIN32
    return std::filesystem::path(WideFromUtf8(utf8));
#else
    return std::filesystem::path(utf8);
#endif
}

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Runs the built program through the system's command interpreter, its
// standard input `input` (read from a file) unless `args` redirect it. On Linux
// the locale variables are the ones given and no others (the messages'
// language follows them); on Windows the user's own.
CalcRun RunProgram(const std::string& args, const std::string& input = "",
                   [[maybe_unused]] const std::string& locale = "LANG=C.UTF-8") {
#ifdef _WIN32
    const std::string files = testing::TempDir() + "mirabo_program_" + std::to_string(GetCurrentProcessId());
#else
    const std::string files = testing::TempDir() + "mirabo_program_" + std::to_string(getpid());
#endif
    std::ofstream(files + ".in", std::ios::binary) << input;
#ifdef _WIN32
    // The program is built beside the tests; cmd.exe's null device.
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string command(path, length);
    command = command.substr(0, command.find_last_of("\\/") + 1) + "mirabo-calc.exe <" + files + ".in " + args +
              " 2>" + files + ".err";
    for (std::size_t at = command.find("/dev/null"); at != std::string::npos;
         at = command.find("/dev/null")) {
        command.replace(at, 9, "NUL");
    }
    // The command line as wide characters: a path in any script arrives whole.
    FILE* pipe = _wpopen(WideFromUtf8(command).c_str(), L"rb");
#else
    // The redirections of `args` come after those of the run, and win.
    const std::string command = "(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + locale + " " +
                                MIRABO_CALC_PATH + " <" + files + ".in " + args + ") 2>" + files + ".err";
    FILE* pipe = popen(command.c_str(), "r");
#endif
    CalcRun run;
    if (pipe != nullptr) {
        char chunk[256];
        while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
            run.out.append(chunk, n);
        }
#ifdef _WIN32
        run.status = _pclose(pipe);
#else
        run.status = WEXITSTATUS(pclose(pipe));
#endif
    }
    run.err = ReadWhole(files + ".err");
    std::remove((files + ".in").c_str());
    std::remove((files + ".err").c_str());
    return run;
}

TEST(MiraboCalcTest, PlainOutputListsEveryFieldInOrder) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
        // clang-format off
    } cases[] = {
        {{"right", "a=3", "b=4"}, 0, kRight345, ""},
        {{"β=36.87", "right", "α=", "c=5"}, 0, kRight345, ""},
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
        const CalcRun o = InProcess(c.args);
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
        const CalcRun o = InProcess(c.args);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.json + "\n");
        EXPECT_EQ(o.err, "");
    }
}

// The question is asked on a terminal, and shown there once; without one the
// answer is no, and the messages say that nobody was asked.
TEST(MiraboCalcTest, QuestionIsAskedOnATerminalOnly) {
    const std::string& question = kQuestionLines;
    const struct {
        std::vector<std::string> args;
        bool terminal;
        bool answer;  // typed on the terminal
        int questions;
        int status;
        std::string err;
        // clang-format off
    } cases[] = {
        {{"right", "b=3", "alpha=0"},          false, false, 0, 2, question + "→ no (not asked; --yes answers yes)\n"},
        {{"right", "b=3", "alpha=0"},          true,  true,  1, 0, ""},
        {{"right", "b=3", "alpha=0"},          true,  false, 1, 2, ""},
        {{"right", "b=3", "alpha=0", "--yes"}, true,  false, 0, 0, question},
        {{"right", "b=3", "alpha=0", "--no"},  false, false, 0, 2, question},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + (c.terminal ? " on a terminal" : ""));
        int questions = 0;
        const auto terminal = [&](const std::string&) {
            ++questions;
            return c.answer;
        };
        const CalcRun o = InProcess(c.args, "", c.terminal ? terminal : std::function<bool(const std::string&)>());
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out.find("a=∞\n") != std::string::npos, c.status == 0) << o.out;
        EXPECT_EQ(o.err, c.err);
    }
}

TEST(MiraboCalcTest, FieldsKeepTheirWholeTypedText) {
    const std::string longText(99, '7');
    const CalcRun o = InProcess({"right", "a=" + longText, "c=-", "b=x=y"});
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
        // Counted in UTF-16 units: a character beyond U+FFFF takes two.
        {{"right", "a=" + std::string(97, '0') + kEmoji, "b=4"},      1,  nullptr},
        {{"right", "a=" + std::string(98, '0') + kEmoji, "b=4"},      64, "a"},
        {{"right", "a=" + kEmoji + std::string(98, '0'), "b=4"},      64, "a"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1].substr(0, 8) + " " + c.args[2].substr(0, 8));
        const CalcRun o = InProcess(c.args);
        EXPECT_EQ(o.status, c.status);
        if (c.field != nullptr) {
            EXPECT_EQ(o.out, "");
            EXPECT_EQ(
                o.err.rfind(std::string("mirabo-calc: field ") + c.field + " holds at most 99 characters", 0),
                0u)
                << o.err;
            EXPECT_TRUE(o.err.ends_with("\n" + std::string(kSeeHelp))) << o.err;
        } else if (c.status == 0) {
            EXPECT_EQ(o.out, kRight345);
        } else {
            // Typed whole, and refused by the number rules instead.
            EXPECT_TRUE(o.out.starts_with(c.args[1] + "\n")) << o.out;
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
        {"right", "a=3", "--json=1"},
        {"right", "--yes=no", "b=4"},
        {"--", "--help"},
        {"right", "-a=3"},
    };
    std::vector<std::vector<std::string>> all = cases;
    // A value with no name is no field of any form.
    for (const Calculator* form : CliForms()) {
        all.push_back({std::string(form->name), "=5"});
        all.push_back({"=5", std::string(form->name), "a=1"});
    }
    for (const auto& args : all) {
        const CalcRun o = InProcess(args);
        EXPECT_EQ(o.status, 64) << testing::PrintToString(args);
        EXPECT_EQ(o.out, "");
        // The reason on one line, then where to find out more.
        EXPECT_EQ(o.err.find('\n') + 1 + kSeeHelp.size(), o.err.size()) << o.err;
        EXPECT_TRUE(o.err.ends_with(kSeeHelp)) << o.err;
    }
}

TEST(MiraboCalcTest, HelpGoesToStandardOutput) {
    const std::vector<std::vector<std::string>> cases = {
        {"--help"}, {"-h"}, {"right", "-h"}, {"a=1", "--help", "ohm"}};
    for (const auto& args : cases) {
        const CalcRun help = InProcess(args);
        EXPECT_EQ(help.status, 0) << testing::PrintToString(args);
        EXPECT_EQ(help.err, "");
        EXPECT_NE(help.out.find("usage: mirabo-calc"), std::string::npos);
        EXPECT_NE(help.out.find("oblique: a b c alpha beta gamma"), std::string::npos);
        EXPECT_NE(help.out.find("ohm:     V I R P"), std::string::npos);
    }
}

// --help shows every form with its fields and the other names they answer
// to, and one example a form that runs as shown.
TEST(MiraboCalcTest, HelpNamesEveryAliasAndAnExampleForEachForm) {
    const std::string help = InProcess({"--help"}).out;
    std::istringstream lines(help);
    std::vector<std::string> examples;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  mirabo-calc ") && line.find('=') != std::string::npos)
            examples.push_back(line);
    }
    for (const Calculator* form : CliForms()) {
        SCOPED_TRACE(std::string(form->name));
        const std::size_t at = help.find("\n  " + std::string(form->name) + ":");
        ASSERT_NE(at, std::string::npos);
        const std::string line = help.substr(at + 1, help.find('\n', at + 1) - at - 1);
        for (const CalculatorField& field : form->fields) {
            if (!field.alias.empty()) {
                EXPECT_NE(line.find(std::string(field.alias) + " for " + std::string(field.name)),
                          std::string::npos)
                    << line;
            }
        }
        const auto example = std::find_if(examples.begin(), examples.end(), [&](const std::string& e) {
            return e.starts_with("  mirabo-calc " + std::string(form->name) + " ");
        });
        ASSERT_NE(example, examples.end());
        std::istringstream words(example->substr(std::string_view("  mirabo-calc ").size()));
        std::vector<std::string> args;
        for (std::string word; words >> word;) args.push_back(word);
        EXPECT_EQ(InProcess(args).status, kExitWritten) << *example;
    }
    EXPECT_EQ(examples.size(), CliForms().size());
    // The full-width rule, with its example.
    EXPECT_NE(help.find("\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95 is 12.5"), std::string::npos);
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
        const CalcRun o = InProcess(c.args);
        EXPECT_EQ(o.status, 64);
        EXPECT_EQ(o.err.substr(0, o.err.find('\n')), c.firstLine);
    }
}

// The program as a script runs it: the arguments (with the shell's
// redirections), standard input, and every byte it writes, with its status.
TEST(MiraboCalcTest, TheProgramExitsWithTheStatus) {
    const std::string &right345 = kRight345, &question = kQuestionLines;
    const std::string &header = kRightHeader, &row345 = kRightRow345;
    const std::string missing = "入力値が不足、\n或いはタイプミス\n";
    const std::string help(kSeeHelp);
    const std::string failed(kOutputFailed);
    const std::string digits100 = std::string(99, '0') + "3";
    const std::string carried = "mirabo-calc: not fields of right (a b c alpha beta), carried through unchanged: ";
    std::string rows = "a,b\n";
    for (int i = 0; i < 5000; ++i) rows += "3,4\n";
    // A table in a folder with a Japanese name, spaces in both names.
    const std::string folder = testing::TempDir() + "ツール 集";
    const std::string table = folder + "/ケース 一覧.csv";
    const std::string broken = folder + "/壊れた 一覧.csv";
    std::filesystem::create_directories(PathOf(folder));
    std::ofstream(PathOf(table), std::ios::binary) << "a,b\n3,4\n";
    std::ofstream(PathOf(broken), std::ios::binary) << "a,b\n\"3,4\n";
    const struct {
        std::string args;
        std::string input;  // standard input, unless the arguments redirect it
        int status;
        std::string out;
        std::string err;
        // clang-format off
    } cases[] = {
        {"right a=3 b=4",   "", 0,  right345, ""},
        {"ohm V=0 I=0",     "", 2,  "V=0\nI=0\nR=\nP=\n",
         "例外が発生しました。\n０で除算したか、入力値が間違っています。\n"},
        {"ohm V=1",         "", 1,  "V=1\nI=\nR=\nP=\n", missing},
        {"ohm W=1",         "", 64, "", "mirabo-calc: unknown field W of ohm\n" + help},
        {"--version",       "", 0,  "mirabo-calc " MIRABO_VERSION "\n", ""},
        {"right a=3 --version", "", 0, "mirabo-calc " MIRABO_VERSION "\n", ""},
        {"ohm V=1 I=" + digits100, "", 64, "", "mirabo-calc: field I holds at most 99 characters, not 100\n" + help},
        {"ohm V=1 I=" + digits100.substr(2) + kEmoji, "", 64, "",
         "mirabo-calc: field I holds at most 99 characters, not 100\n" + help},
        {"right --batch",   "a,b\n" + digits100.substr(2) + kEmoji + ",4\n", 0,
         header + digits100.substr(2) + kEmoji + ",4,,,,refused,a: longer than the 99 characters a field holds\r\n", ""},
        // Nobody to ask: the question, and that nobody answered it.
        {"ohm V=1 R=0",     "", 2,  "V=1\nI=\nR=0\nP=\n", question + "→ no (not asked; --yes answers yes)\n"},
        {"ohm V=1 R=0 --no", "", 2, "V=1\nI=\nR=0\nP=\n", question},
        // Options: none takes a value it does not need; "--" ends them.
        {"right a=3 --json=1 b=4", "", 64, "", "mirabo-calc: --json takes no value: --json=1\n" + help},
        {"right --batch --bom=yes", "", 64, "", "mirabo-calc: --bom takes no value: --bom=yes\n" + help},
        {"right --verbose", "", 64, "", "mirabo-calc: unknown option --verbose\n" + help},
        {"-- right a=3 b=4", "", 0, right345, ""},
        {"right -- --json", "", 64, "", "mirabo-calc: one form only, or NAME=TEXT: --json\n" + help},
        {"right --batch -- -", "a,b\n3,4\n", 0, header + row345, ""},
        {"right --batch -- --yes", "", 66, "", "mirabo-calc: cannot open --yes\n"},
        {"right --batch \"" + table + "\"", "", 0, header + row345, ""},
        {"right --batch \"" + broken + "\"", "", 65, header,
         "mirabo-calc: " + broken + ", line 2: the quote that opens a cell here is never closed\n"},
        {"right --batch \"" + folder + "/ない 一覧.csv\"", "", 66, "",
         "mirabo-calc: cannot open " + folder + "/ない 一覧.csv\n"},
        // Batch mode gives back every cell: a text too long for its field,
        // and the columns that are no field, in their place.
        {"right --batch",   "a,b\n" + digits100 + ",4\n", 0,
         header + digits100 + ",4,,,,refused,a: longer than the 99 characters a field holds\r\n", ""},
        {"right --batch",   "ID,a,b,備考\n7,3,4,\"メモ, 1\"\n", 0,
         "ID,a,b,c,alpha,beta,備考,status,message\r\n7,3.000,4.000,5.000,53.130,36.870,\"メモ, 1\",written,\r\n",
         carried + "\"ID\", \"備考\"\n"},
        // A second byte-order mark is no field's name, shown for what it is.
        {"right --batch",   "\xEF\xBB\xBF\xEF\xBB\xBF" "a,b\n3,4\n", 0,
         "\xEF\xBB\xBF" "a,a,b,c,alpha,beta,status,message\r\n3,,4,,,,missing,入力値が不足、 或いはタイプミス\r\n",
         carried + "\"\\ufeffa\"\n"},
#ifndef _WIN32
        // Output that cannot be written, at the first write or the last.
        {"right a=3 b=4 >/dev/full",        "", 74, "", failed},
        {"right a=3 b=4 --json >/dev/full", "", 74, "", failed},
        {"right a=3 b=4 >&-",               "", 74, "", failed},
        {"--help >/dev/full",               "", 74, "", failed},
        {"right --batch >/dev/full",        "a,b\n3,4\n", 74, "", failed},
        {"right --batch --json >/dev/full", "a,b\n3,4\n", 74, "", failed},
        {"right --batch >/dev/full",        rows, 74, "", failed},
        {"right --batch >&-",               "a,b\n3,4\n", 74, "", failed},
        // Standard input that cannot be read: a folder, or none at all.
        {"right --batch </",                "", 74, "", "mirabo-calc: line 1: the input could not be read\n"},
        {"right --batch - <&-",             "", 74, "", "mirabo-calc: line 1: the input could not be read\n"},
        {"right --batch --encoding cp932 </", "", 74, "", "mirabo-calc: line 1: the input could not be read\n"},
#endif
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.substr(0, 60));
        const CalcRun run = RunProgram(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    std::filesystem::remove_all(PathOf(folder));
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
        {"LANG=en_US.UTF-8", "right a=3 b=4", 0, kRight345},
        // clang-format on
    };
    for (const auto& c : cases) {
        const CalcRun run = RunProgram(c.args, "", c.locale);
        EXPECT_EQ(run.status, c.status) << c.locale << " " << c.args;
        EXPECT_EQ(run.out, c.out) << c.locale << " " << c.args;
    }
}
#endif

#ifndef _WIN32
// On a terminal the question is asked there, once, and the typed answer
// decides.
TEST(MiraboCalcTest, TheProgramAsksOnATerminalOnce) {
    // As the terminal shows it: each line end as "\r\n".
    const std::string question =
        "正常に表示出来ません。\r\n引数及び結果が無限値、非数、\r\n計算不可値である可能性があります 。\r\n"
        "無視して表示しますか\r\n[y/N] ";
    const struct {
        std::string typed;
        int status;
        std::string out;
        // clang-format off
    } cases[] = {
        {"n\n", 2, "V=1\nI=\nR=0\nP=\n"},
        {"y\n", 0, "V=1.000\nI=∞\nR=0.000\nP=∞\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Conversation program({"ohm", "V=1", "R=0"}, true);
        ASSERT_TRUE(program.Started());
        EXPECT_EQ(program.Shown(question.size()), question);
        ASSERT_TRUE(program.Send(c.typed));
        std::string out;
        EXPECT_EQ(program.Finish(out), c.status);
        EXPECT_EQ(out, c.out);
        // The echo of the answer, and nothing more: the question is not shown again.
        EXPECT_EQ(program.Shown(std::string::npos, 5), c.typed.substr(0, 1) + "\r\n");
    }
}

// Batch mode writes a row's answer as soon as the row is complete: each row
// goes in through a pipe only after the answer to the one before it came out.
TEST(MiraboCalcTest, BatchModeAnswersEachRowBeforeTheNextArrives) {
    const std::string &header = kRightHeader, &row345 = kRightRow345;
    const std::string json345 = kRightJson345 + "}\n";
    const struct {
        std::vector<std::string> args;
        std::vector<std::pair<std::string, std::string>> steps;  // sent, then what comes out
        // clang-format off
    } cases[] = {
        {{"right", "--batch"},         {{"a,b\n", header}, {"3,4\n", row345}, {"1,\r\n", "1,,,,,missing,入力値が不足、 或いはタイプミス\r\n"},
                                        {"\"3\",\"4\"\r\n", row345}}},
        {{"right", "--batch", "--bom"}, {{"a,b\r\n3,4\r\n", "\xEF\xBB\xBF" + header + row345}, {"3,4\n", row345}}},
        {{"right", "--batch", "--json"}, {{"a,b\n3,4\n", json345}, {"3,4\n", json345}}},
        {{"right", "--batch", "--encoding", "cp932"}, {{"a,b\r\n", header}, {"\x82\x52,4\r\n", row345}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Conversation program(c.args);
        ASSERT_TRUE(program.Started());
        for (const auto& [sent, answer] : c.steps) {
            ASSERT_TRUE(program.Send(sent));
            const std::string got = program.Receive(answer.size());
            EXPECT_EQ(got, answer) << "after " << testing::PrintToString(sent);
            if (got != answer) break;  // the rest would only wait as long again
        }
        std::string rest;
        EXPECT_EQ(program.Finish(rest), 0);
        EXPECT_EQ(rest, "");
    }
}
#endif

// The language chosen for the process is the one of every message, in batch
// mode too.
TEST(MiraboCalcTest, BatchRowsCarryTheMessagesInTheProcesssLanguage) {
    SetProgramLanguage(kLanguageEnglish);
    const CalcRun csv = InProcess({"right", "--batch"}, "a,b\r\n3,4\r\n1,\r\n");
    const CalcRun json = InProcess({"ohm", "--batch", "--json"}, "I,P\n0,5\n");
    SetProgramLanguage(kLanguageJapanese);
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out,
              kRightHeader + kRightRow345 + "1,,,,,missing,Missing input or a typing error.\r\n");
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
