#include "cli/cp932_source.h"

#include <cstring>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#include "calc/conversions.h"

namespace mirabo {
namespace {

constexpr const char* kNotCp932 = "bytes that are not CP932 text";

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

#ifndef _WIN32
iconv_t Converter(void* converter) { return static_cast<iconv_t>(converter); }
#endif

}  // namespace

std::size_t Cp932WholePrefix(std::span<const char> bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + length > bytes.size()) {
            break;
        }
        i += length;
    }
    return i;
}

bool Cp932Source::Available() {
#ifdef _WIN32
    return true;
#else
    const iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    iconv_close(converter);
    return true;
#endif
}

Cp932Source::Cp932Source(ByteSource& raw) : raw_(raw), rawBytes_(MakeBufferForOverwrite<char>(kBufferSize)) {
#ifndef _WIN32
    const iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        failure_ = Failure::Unreadable;
        problem_ = "this system has no converter for CP932 text";
    } else {
        converter_ = converter;
    }
#endif
}

Cp932Source::~Cp932Source() {
#ifndef _WIN32
    if (converter_ != nullptr) {
        iconv_close(Converter(converter_));
    }
#endif
}

void Cp932Source::Malformed(std::string problem) {
    failure_ = Failure::Malformed;
    problem_ = std::move(problem);
}

std::size_t Cp932Source::Read(std::span<char> into) {
    while (failure_ == Failure::None) {
        if (start_ < end_ && !cut_) {
            if (const std::size_t n = Convert(into); n > 0) {
                return n;
            }
            continue;
        }
        if (rawEnded_) {
            if (start_ < end_) {
                Malformed("the input ends inside a CP932 character");
            }
            break;
        }
        // Keep the start of a character cut by the last read, and read on.
        std::memmove(rawBytes_.get(), rawBytes_.get() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
        cut_ = false;
        const std::size_t read = raw_.Read({rawBytes_.get() + end_, kBufferSize - end_});
        if (read == 0) {
            rawEnded_ = true;
            if (raw_.Failed() != Failure::None) {
                failure_ = raw_.Failed();
                problem_ = raw_.Problem();
            }
        }
        end_ += read;
    }
    return 0;
}

#ifdef _WIN32

std::size_t Cp932Source::Convert(std::span<char> into) {
    const char* in = rawBytes_.get() + start_;
    const std::size_t available = end_ - start_;
    // One CP932 byte gives at most three UTF-8 bytes, and a pair at most three.
    std::size_t take = into.size() / 3;
    take = take < 2 ? 2 : take;
    take = take < available ? take : available;
    const std::size_t whole = Cp932WholePrefix({in, take});
    if (whole == 0) {
        cut_ = true;
        return 0;
    }
    // Every CP932 character is one UTF-16 unit.
    if (wideSize_ < whole) {
        wide_ = MakeBufferForOverwrite<wchar_t>(whole);
        wideSize_ = whole;
    }
    wchar_t* const wide = wide_.get();
    int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, static_cast<int>(whole), wide,
                                    static_cast<int>(whole));
    std::size_t used = whole;
    if (units == 0) {
        // Convert the characters before the first that is no CP932.
        std::size_t good = 0;
        for (wchar_t one[2]; good < whole;) {
            const std::size_t length = Cp932WholePrefix({in + good, IsLeadByte(in[good]) ? 2u : 1u});
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in + good, static_cast<int>(length), one, 2) ==
                0) {
                break;
            }
            good += length;
        }
        Malformed(kNotCp932);
        used = good;
        units = good == 0
                    ? 0
                    : MultiByteToWideChar(932, 0, in, static_cast<int>(good), wide, static_cast<int>(whole));
    }
    start_ += used;
    if (units == 0) {
        return 0;
    }
    return static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide, units, into.data(),
                                                        static_cast<int>(into.size()), nullptr, nullptr));
}

#else

std::size_t Cp932Source::Convert(std::span<char> into) {
    char* in = rawBytes_.get() + start_;
    std::size_t inLeft = end_ - start_;
    char* out = into.data();
    std::size_t outLeft = into.size();
    const std::size_t converted = iconv(Converter(converter_), &in, &inLeft, &out, &outLeft);
    start_ = static_cast<std::size_t>(in - rawBytes_.get());
    if (converted == static_cast<std::size_t>(-1)) {
        if (errno == EILSEQ) {
            Malformed(kNotCp932);
        } else if (errno == EINVAL) {
            cut_ = true;
        }
    }
    return static_cast<std::size_t>(out - into.data());
}

#endif

}  // namespace mirabo
