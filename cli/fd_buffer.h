// A stream buffer straight over a file descriptor. The standard streams
// forget why a read or write failed; this one keeps the errno of the failed
// call itself, so a message can give the reason.
#pragma once

#include <memory>
#include <streambuf>

namespace tolvu::cli {

class FdBuffer : public std::streambuf {
public:
    explicit FdBuffer(int fd) noexcept : fd_(fd) {}

    // The errno of the first failed read or write; 0 while none failed.
    int error() const noexcept { return error_; }

protected:
    // Reading fills a buffer of its own, so the get area runs dry exactly
    // when the next read may wait for input.
    int_type underflow() override;
    // Writing is unbuffered: callers hand over large pieces already.
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int_type overflow(int_type c) override;

private:
    static constexpr std::size_t kReadSize = 64 * 1024;
    int fd_;
    int error_ = 0;
    std::unique_ptr<char[]> in_;
};

// The errno kept by the stream's buffer when it is an FdBuffer; 0 otherwise.
int streamError(const std::ios& stream) noexcept;

} // namespace tolvu::cli
