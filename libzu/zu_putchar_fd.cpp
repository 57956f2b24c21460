#include "libzu.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

// A descriptor in non-blocking mode that cannot take the byte yet. POSIX lets
// EWOULDBLOCK differ from EAGAIN; on Linux they are one value.
bool would_block(int error)
{
#if EWOULDBLOCK != EAGAIN
    if (error == EWOULDBLOCK)
        return true;
#endif
    return error == EAGAIN;
}

// Whether the write() on fd that just failed should be made again. EINTR and
// EAGAIN both mean that nothing was written yet; after EAGAIN, wait with no
// time limit until fd has room. Whatever poll reports, the next write is
// what decides. Every other failure is given up, as is a poll that fails.
// Kept out of line, so that a write that succeeds costs nothing more.
[[gnu::cold, gnu::noinline]] bool worth_retrying(int fd)
{
    if (errno == EINTR)
        return true;
    if (!would_block(errno))
        return false;
    pollfd room = {fd, POLLOUT, 0};
    while (poll(&room, 1, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

void zu_putchar_fd(char c, int fd)
{
    while (write(fd, &c, 1) < 0 && worth_retrying(fd)) {}
}
