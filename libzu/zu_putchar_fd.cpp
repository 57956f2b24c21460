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

// Waits until fd can be written, however long that takes. False if poll
// itself fails; whatever it reports, the next write() is what decides.
bool wait_until_writable(int fd)
{
    pollfd writable = {fd, POLLOUT, 0};
    while (poll(&writable, 1, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

void zu_putchar_fd(char c, int fd)
{
    // EINTR and EAGAIN both mean nothing was written yet: try again rather
    // than lose the byte, after waiting for room in the second case. Every
    // other failure is ignored.
    while (write(fd, &c, 1) < 0) {
        if (errno == EINTR)
            continue;
        if (!would_block(errno) || !wait_until_writable(fd))
            return;
    }
}
