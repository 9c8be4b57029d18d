#include "fd_buffer.h"

#include <unistd.h>

#include <cerrno>
#include <ios>

namespace tolvu::cli {

FdBuffer::int_type FdBuffer::underflow()
{
    if (error_ != 0) return traits_type::eof();
    if (!in_) in_ = std::make_unique<char[]>(kReadSize);
    ssize_t got;
    do
        got = ::read(fd_, in_.get(), kReadSize);
    while (got < 0 && errno == EINTR);
    if (got < 0) error_ = errno;
    if (got <= 0) return traits_type::eof();
    setg(in_.get(), in_.get(), in_.get() + got);
    return traits_type::to_int_type(*gptr());
}

std::streamsize FdBuffer::xsputn(const char* s, std::streamsize n)
{
    std::streamsize done = 0;
    while (done < n && error_ == 0) {
        const ssize_t put = ::write(fd_, s + done, static_cast<std::size_t>(n - done));
        if (put > 0)
            done += put;
        else if (put == 0)
            error_ = EIO; // nothing written and no reason given: retrying could spin for ever
        else if (errno != EINTR)
            error_ = errno;
    }
    return done;
}

FdBuffer::int_type FdBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

int streamError(const std::ios& stream) noexcept
{
    const auto* buffer = dynamic_cast<const FdBuffer*>(stream.rdbuf());
    return buffer ? buffer->error() : 0;
}

} // namespace tolvu::cli
