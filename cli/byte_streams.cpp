#include "cli/byte_streams.h"

#ifdef _WIN32
#include <io.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <climits>
#include <cstring>
#include <istream>
#include <ostream>

#include "calc/conversions.h"

namespace mirabo {

std::size_t StreamSource::Read(std::span<char> into) {
    if (!in_.good()) {
        return 0;
    }
    in_.read(into.data(), static_cast<std::streamsize>(into.size()));
    return static_cast<std::size_t>(in_.gcount());
}

ByteSource::Failure StreamSource::Failed() const { return in_.bad() ? Failure::Unreadable : Failure::None; }

std::string StreamSource::Problem() const { return in_.bad() ? "the input could not be read" : ""; }

std::size_t DescriptorSource::Read(std::span<char> into) {
    if (failed_) {
        return 0;
    }
    for (;;) {
#ifdef _WIN32
        const int n = _read(descriptor_, into.data(),
                            static_cast<unsigned>(into.size() < INT_MAX ? into.size() : INT_MAX));
#else
        const ssize_t n = read(descriptor_, into.data(), into.size());
#endif
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
#ifndef _WIN32
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // A descriptor left non-blocking by whoever shares it: wait for bytes.
            pollfd ready{descriptor_, POLLIN, 0};
            if (poll(&ready, 1, -1) >= 0 || errno == EINTR) {
                continue;
            }
        }
#endif
        if (errno != EINTR) {
            failed_ = true;
            return 0;
        }
    }
}

bool StreamSink::Write(std::span<const char> bytes) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.flush();
    return out_.good();
}

BufferedWriter::BufferedWriter(ByteSink& sink)
    : sink_(sink),
      storage_(MakeBufferForOverwrite<char>(kCapacity)),
      begin_(storage_.get()),
      next_(begin_),
      end_(begin_ + kCapacity) {}

BufferedWriter::~BufferedWriter() { Flush(); }

void BufferedWriter::PutInPieces(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t room = static_cast<std::size_t>(end_ - next_);
        if (room == 0) {
            Flush();
            continue;
        }
        const std::size_t n = bytes.size() < room ? bytes.size() : room;
        std::memcpy(next_, bytes.data(), n);
        next_ += n;
        bytes.remove_prefix(n);
    }
}

bool BufferedWriter::Flush() {
    if (next_ != begin_) {
        if (!failed_ && !sink_.Write({begin_, static_cast<std::size_t>(next_ - begin_)})) {
            failed_ = true;
        }
        next_ = begin_;
    }
    return !failed_;
}

}  // namespace mirabo
