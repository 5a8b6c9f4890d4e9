// Where batch mode reads its bytes from and writes them to: files, standard
// streams and in-memory text, behind two small interfaces.
#pragma once

#include <cstddef>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace mirabo {

class ByteSource {
public:
    // Why a source stopped before its end.
    enum class Failure {
        None,
        Unreadable,  // the system could not read it
        Malformed,   // the bytes are not text in the source's encoding
    };

    virtual ~ByteSource() = default;
    // Fills the front of `into` and gives how many bytes it holds; 0 only at the
    // end of the input or after a failure.
    virtual std::size_t Read(std::span<char> into) = 0;
    virtual Failure Failed() const { return Failure::None; }
    // What went wrong, for the user; empty when nothing did.
    virtual std::string Problem() const { return {}; }
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be written.
    virtual bool Write(std::span<const char> bytes) = 0;
};

// Reads an input stream opened in binary mode.
class StreamSource : public ByteSource {
public:
    explicit StreamSource(std::istream& in) : in_(in) {}
    std::size_t Read(std::span<char> into) override;
    Failure Failed() const override;
    std::string Problem() const override;

private:
    std::istream& in_;
};

// Reads a file descriptor of the system (standard input) as its bytes arrive:
// a read gives what is there, waiting only when nothing is, and a failed read
// (a folder, a closed descriptor) is told from the end.
class DescriptorSource : public ByteSource {
public:
    explicit DescriptorSource(int descriptor) : descriptor_(descriptor) {}
    std::size_t Read(std::span<char> into) override;
    Failure Failed() const override { return failed_ ? Failure::Unreadable : Failure::None; }
    std::string Problem() const override { return failed_ ? "the input could not be read" : ""; }

private:
    int descriptor_;
    bool failed_ = false;
};

// Writes to an output stream, each piece flushed, so that a failed write is
// seen when it happens.
class StreamSink : public ByteSink {
public:
    explicit StreamSink(std::ostream& out) : out_(out) {}
    bool Write(std::span<const char> bytes) override;

private:
    std::ostream& out_;
};

// Collects what is written into an output buffer of fixed size and hands it to
// the sink whole, so that rows cost no call of their own.
class BufferedWriter {
public:
    explicit BufferedWriter(ByteSink& sink);
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;
    ~BufferedWriter();

    // Room for at least `bytes` more bytes; flushes when the buffer lacks it.
    // `bytes` must be at most kCapacity.
    char* Reserve(std::size_t bytes) {
        if (static_cast<std::size_t>(end_ - next_) < bytes) {
            Flush();
        }
        return next_;
    }
    // After Reserve: the bytes up to `end` are now written.
    void Commit(char* end) { next_ = end; }
    void Put(char c) { *Reserve(1) = c, ++next_; }
    void Put(std::string_view bytes) {
        if (bytes.size() <= static_cast<std::size_t>(end_ - next_)) {
            std::memcpy(next_, bytes.data(), bytes.size());
            next_ += bytes.size();
        } else {
            PutInPieces(bytes);
        }
    }
    // Hands the buffered bytes to the sink; false once any write has failed.
    bool Flush();
    bool Failed() const { return failed_; }

    static constexpr std::size_t kCapacity = 64 * 1024;

private:
    void PutInPieces(std::string_view bytes);

    ByteSink& sink_;
    std::unique_ptr<char[]> storage_;
    char* begin_;
    char* next_;
    char* end_;
    bool failed_ = false;
};

}  // namespace mirabo
