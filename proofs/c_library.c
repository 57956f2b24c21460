// Stubs of the C library functions that CBMC has no model of (strnlen, poll)
// or whose model says too little (write sets no errno; fcntl has none), each
// written from POSIX's description of the function, not from libzu's use of
// it. Every argument a function reads or writes is checked to be readable or
// writable first, so that a stub never hides an access out of bounds.
#include "c_library.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

unsigned zu_failures_left;
int zu_fd_flags;
size_t zu_writes;
size_t zu_written;
char zu_output[ZU_PROOF_LENGTH + 2];
size_t zu_write_failures;
int zu_write_errors[ZU_PROOF_FAILURES];

char *zu_any_buffer(size_t size)
{
    __CPROVER_assume(size >= 1 && size <= ZU_PROOF_LENGTH + 1);
    return malloc(size); // CBMC's malloc: arbitrary contents, or null
}

// Fails with an arbitrary errno where the harness lets it; true then.
static bool fails(void)
{
    if (zu_failures_left == 0 || nondet_bool())
        return false;
    zu_failures_left--;
    errno = nondet_int();
    __CPROVER_assume(errno > 0);
    return true;
}

// The number of bytes before the first zero byte among the first maxlen of s.
size_t strnlen(const char *s, size_t maxlen)
{
    size_t n = 0;
    while (n < maxlen) {
        __CPROVER_assert(__CPROVER_r_ok(s + n, 1), "strnlen reads inside the object");
        if (s[n] == '\0')
            break;
        n++;
    }
    return n;
}

// Either fails, writing nothing, with any errno (EINTR and EAGAIN among
// them), or writes all count bytes: a write of one byte cannot be partial.
ssize_t write(int fd, const void *buf, size_t count)
{
    (void)fd;
    zu_writes++;
    __CPROVER_assert(__CPROVER_r_ok(buf, count), "write reads count bytes of buf");
    if (fails()) {
        if (zu_write_failures < ZU_PROOF_FAILURES)
            zu_write_errors[zu_write_failures] = errno;
        zu_write_failures++;
        return -1;
    }
    for (size_t i = 0; i < count; i++, zu_written++) {
        if (zu_written < sizeof zu_output)
            zu_output[zu_written] = ((const char *)buf)[i];
    }
    return (ssize_t)count;
}

// Any outcome: fails (EINTR among the errors), times out, or reports any
// events of nfds descriptors at most. The wait it is asked for is one second
// at most, never infinite (negative): libzu promises that much.
int poll(struct pollfd *fds, nfds_t nfds, int timeout)
{
    __CPROVER_assert(timeout >= 0 && timeout <= 1000, "poll waits between 0 and 1000 ms");
    __CPROVER_assert(nfds <= 1, "poll is given one descriptor at most");
    __CPROVER_assert(nfds == 0 || __CPROVER_w_ok(fds, sizeof *fds), "poll may write revents");
    if (fails())
        return -1;
    int ready = nondet_int();
    __CPROVER_assume(ready >= 0 && (nfds_t)ready <= nfds);
    if (nfds == 1)
        fds[0].revents = nondet_short();
    return ready;
}

// F_GETFL alone: the descriptor's flags as the harness set them, or a
// failure (EBADF) where it set -1.
int fcntl(int fd, int cmd, ...)
{
    (void)fd;
    __CPROVER_assert(cmd == F_GETFL, "fcntl is asked for the flags alone");
    if (zu_fd_flags < 0)
        errno = EBADF;
    return zu_fd_flags;
}
