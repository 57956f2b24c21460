// Descriptors filled and emptied: what the writers' tests and the runner
// tests share (POSIX).
#ifndef ZU_TESTS_PIPES_H
#define ZU_TESTS_PIPES_H

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace zu_test {

// Gives a pipe one page and a non-blocking write end; returns that end, or
// -1 if it cannot.
inline int make_small_and_non_blocking(int write_end)
{
    if (fcntl(write_end, F_SETPIPE_SZ, 4096) <= 0 ||
        fcntl(write_end, F_SETFL, fcntl(write_end, F_GETFL) | O_NONBLOCK) < 0)
        return -1;
    return write_end;
}

// Writes to fd until it takes no more, a page at a time, then byte by byte;
// returns the bytes, and errno says why it stopped.
inline std::string fill(int fd)
{
    const std::string page(4096, 'f');
    std::string filler;
    for (size_t size : {page.size(), size_t{1}}) {
        while (write(fd, page.data(), size) == static_cast<ssize_t>(size))
            filler.append(page, 0, size);
    }
    return filler;
}

// Reads fd to its end into bytes, at most chunk bytes at a time, pausing
// after each read as long as asked. A pseudo-terminal's master reports EIO
// once the slave side is closed everywhere: that is its end of file. False,
// with errno, where a read fails otherwise.
inline bool drain(int fd, std::string &bytes, size_t chunk = 4096, useconds_t pause = 0)
{
    char buffer[4096];
    for (;;) {
        ssize_t n = read(fd, buffer, chunk < sizeof buffer ? chunk : sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<size_t>(n));
            usleep(pause);
        } else if (n == 0 || errno == EIO) {
            return true;
        } else if (errno != EINTR) {
            return false;
        }
    }
}

} // namespace zu_test

#endif
