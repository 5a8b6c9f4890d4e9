#include "cli/byte_streams.h"

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

bool StreamSink::Write(std::span<const char> bytes) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
