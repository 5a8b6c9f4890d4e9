// CP932 text, as a Japanese spreadsheet saves CSV by default (Shift_JIS with
// the Windows extensions), read from another source as UTF-8.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "cli/byte_streams.h"

namespace mirabo {

class Cp932Source : public ByteSource {
public:
    explicit Cp932Source(ByteSource& raw);
    Cp932Source(const Cp932Source&) = delete;
    Cp932Source& operator=(const Cp932Source&) = delete;
    ~Cp932Source() override;

    // `into` must hold at least one character: 4 bytes.
    std::size_t Read(std::span<char> into) override;
    Failure Failed() const override { return failure_; }
    std::string Problem() const override { return problem_; }

    static constexpr std::size_t kBufferSize = 32 * 1024;

    // False where the system has no converter for CP932 (musl's iconv, as in
    // the WebAssembly build): such a system refuses --encoding cp932.
    static bool Available();

private:
    // Converts what it can of the raw bytes in hand into `into`; stops early at
    // a character cut by the end of the raw bytes, or at one that is no CP932.
    std::size_t Convert(std::span<char> into);
    void Malformed(std::string problem);

    ByteSource& raw_;
    std::unique_ptr<char[]> rawBytes_;
    std::size_t start_ = 0;  // the raw bytes not yet converted
    std::size_t end_ = 0;
    bool rawEnded_ = false;
    bool cut_ = false;  // the raw bytes in hand end inside a character
    Failure failure_ = Failure::None;
    std::string problem_;
    void* converter_ = nullptr;  // the system's converter, where it needs one
    // Where the system's converter wants UTF-16 on the way, made once at the
    // largest size a conversion has needed, so that rows cost no allocation.
    std::unique_ptr<wchar_t[]> wide_;
    std::size_t wideSize_ = 0;
};

// How many of the bytes are whole CP932 characters, reading from the first: a
// lead byte (0x81 to 0x9F, 0xE0 to 0xFC) as the last byte starts a character
// the bytes cut.
std::size_t Cp932WholePrefix(std::span<const char> bytes);

}  // namespace mirabo
