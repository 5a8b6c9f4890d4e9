// mirabo-calc on Windows: the arguments arrive as UTF-16 through wmain, so a
// field typed in any script reaches the calculator unchanged. Output is the
// same UTF-8 bytes as everywhere, with "\n" line ends, when it goes to a file
// or a pipe; on a console it is written as wide characters, which the console
// shows whatever its code page.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/run_calc.h"
#include "resfile/program_resources.h"
#include "resfile/resource_language.h"
#include "text/utf8.h"

namespace {

// The length of the longest prefix of `bytes` that ends on a whole UTF-8
// sequence; the rest waits for the bytes that complete it.
std::size_t CompleteUtf8Prefix(const std::string& bytes) {
    std::size_t end = bytes.size();
    std::size_t back = 0;
    while (back < 3 && back < end && (static_cast<unsigned char>(bytes[end - 1 - back]) & 0xC0) == 0x80) {
        ++back;
    }
    if (back == end) return end;
    const auto lead = static_cast<unsigned char>(bytes[end - 1 - back]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > back + 1 ? end - 1 - back : end;
}

// A stream buffer over one of the process's standard handles.
class StandardOutput : public std::streambuf {
public:
    StandardOutput(DWORD which, FILE* file) : handle_(GetStdHandle(which)), file_(file) {
        DWORD mode = 0;
        console_ = handle_ != INVALID_HANDLE_VALUE && handle_ != NULL && GetConsoleMode(handle_, &mode);
        // No translation of "\n" into "\r\n": the bytes are the program's.
        _setmode(_fileno(file_), _O_BINARY);
    }
    ~StandardOutput() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            pending_.push_back(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<std::size_t>(n));
        return n;
    }
    int sync() override {
        const std::size_t ready = console_ ? CompleteUtf8Prefix(pending_) : pending_.size();
        if (ready == 0) return 0;
        bool ok = true;
        if (console_) {
            const std::wstring text = mirabo::WideFromUtf8(std::string_view(pending_).substr(0, ready));
            DWORD written = 0;
            ok = WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, NULL) != 0;
        } else {
            ok = std::fwrite(pending_.data(), 1, ready, file_) == ready && std::fflush(file_) == 0;
        }
        pending_.erase(0, ready);
        return ok ? 0 : -1;
    }

private:
    static constexpr std::size_t kPiece = 65536;
    HANDLE handle_;
    FILE* file_;
    bool console_ = false;
    std::string pending_;
};

bool StandardInputIsConsole() {
    DWORD mode = 0;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    return input != INVALID_HANDLE_VALUE && input != NULL && GetConsoleMode(input, &mode);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The calculators' messages in the user's language, as the program's.
    mirabo::SetProgramLanguage(mirabo::LanguageOfUiLanguage(GetUserDefaultUILanguage()));
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(mirabo::Utf8FromWide(argv[i]));

    int status = 0;
    {
        StandardOutput outBuffer(STD_OUTPUT_HANDLE, stdout);
        StandardOutput errBuffer(STD_ERROR_HANDLE, stderr);
        std::ostream out(&outBuffer);
        std::ostream err(&errBuffer);
        // Batch mode reads the table's bytes as they stand, line ends included.
        if (!StandardInputIsConsole()) _setmode(_fileno(stdin), _O_BINARY);
        mirabo::CliEnvironment env{out, err, nullptr, &std::cin, _fileno(stdin)};
        if (StandardInputIsConsole()) {
            env.ask = [&err](const std::string& question) {
                err << question << "\n[y/N] " << std::flush;
                std::string line;
                return std::getline(std::cin, line) && !line.empty() && (line[0] == 'y' || line[0] == 'Y');
            };
        }
        status = mirabo::RunCalc(args, env);
        // Whatever is left goes out; a failed write is never success.
        if (!out.flush() && status != mirabo::kExitIoError) {
            err << mirabo::kOutputFailed;
            status = mirabo::kExitIoError;
        }
        err.flush();
    }
    return status;
}
