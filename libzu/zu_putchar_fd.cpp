#include "libzu.h"

#ifdef _WIN32

#include <io.h>
#include <stdlib.h>

// Windows: the C runtime's descriptors, written with _write(). Nothing there
// fails for a while and then passes: there are no non-blocking descriptors
// and no signal interrupts a write. So each byte is one call, and a failure
// (a bad descriptor, a full disk, a pipe without a reader) gives it up.
//
// A bad descriptor is an invalid parameter to the C runtime. msvcrt.dll, the
// runtime MinGW-w64 builds against by default, reports it as EBADF and
// returns. The Universal CRT hands it to a handler that by default ends the
// process: there this thread's handler ignores it during the call, and is
// put back afterwards.

#ifdef _UCRT
extern "C" _invalid_parameter_handler __cdecl _set_thread_local_invalid_parameter_handler(
    _invalid_parameter_handler handler);

static void ignore_invalid_parameter(const wchar_t *, const wchar_t *, const wchar_t *,
                                     unsigned int, uintptr_t)
{
}

#endif

void zu_putchar_fd(char c, int fd)
{
#ifdef _UCRT
    _invalid_parameter_handler previous =
        _set_thread_local_invalid_parameter_handler(ignore_invalid_parameter);
#endif
    (void)_write(fd, &c, 1);
#ifdef _UCRT
    _set_thread_local_invalid_parameter_handler(previous);
#endif
}

#else // POSIX

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// The longest a byte waits for room in one go, and the longest pause between
// two attempts, in milliseconds. A wait that nothing ends (a peer that shut
// its reading down, a dup2() onto fd) lasts no longer than this before the
// next write tells how things stand.
static const int longest_wait_ms = 1000;

// A descriptor in non-blocking mode that cannot take the byte yet. POSIX lets
// EWOULDBLOCK differ from EAGAIN; on Linux they are one value.
static bool would_block(int error)
{
#if EWOULDBLOCK != EAGAIN
    if (error == EWOULDBLOCK)
        return true;
#endif
    return error == EAGAIN;
}

// EAGAIN from a descriptor in blocking mode is its send timeout
// (SO_SNDTIMEO) running out: the caller's own limit, not a full buffer.
static bool non_blocking(int fd)
{
    int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

// Waits until fd may have room, for longest_wait_ms at most. A wait that
// ends without room (POLLHUP, POLLERR, POLLNVAL: poll() answers at once while
// write() still cannot go on), or a poll() that fails (ENOMEM: it may pass
// later), is followed by a pause, doubled each time up to longest_wait_ms, so
// that a descriptor that stays unwritable costs no CPU. Whatever poll()
// reports, the next write decides.
static void wait_for_room(int fd, int &pause_ms)
{
    pollfd room = {fd, POLLOUT, 0};
    int ready = 0;
    do
        ready = poll(&room, 1, longest_wait_ms);
    while (ready < 0 && errno == EINTR);
    if (ready < 0 || (ready > 0 && (room.revents & POLLOUT) == 0)) {
        poll(nullptr, 0, pause_ms); // a sleep that is still async-signal-safe
        pause_ms = pause_ms < longest_wait_ms / 2 ? 2 * pause_ms : longest_wait_ms;
    }
}

// Writes c again after a write() that failed: at once after EINTR, and after
// EAGAIN on a non-blocking descriptor once it may have room. Every other
// failure gives the byte up, as does EAGAIN on a blocking descriptor. Kept
// out of line, so that a write that succeeds costs nothing more.
__attribute__((cold, noinline)) static void write_again(char c, int fd)
{
    int pause_ms = 1;
    do {
        if (errno == EINTR)
            continue;
        if (!would_block(errno) || !non_blocking(fd))
            return;
        wait_for_room(fd, pause_ms);
    } while (write(fd, &c, 1) < 0);
}

void zu_putchar_fd(char c, int fd)
{
    if (write(fd, &c, 1) < 0)
        write_again(c, fd);
}

#endif
