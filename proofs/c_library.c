// Stubs of what CBMC has no model of (strnlen, poll, fcntl) or models without
// errno (write), from POSIX's description, not from libzu's use of them. What
// a stub reads or writes is checked first, so that it hides no access out of bounds.
#include "c_library.h"

#include <poll.h>
#include <unistd.h>

unsigned zu_failures_left;
int zu_fd_flags;
size_t zu_writes, zu_written, zu_write_failures;
char zu_output[ZU_PROOF_LENGTH + 2];
int zu_write_errors[ZU_PROOF_FAILURES];

char *zu_any_string(size_t *length)
{
    size_t size = nondet_size_t();
    __CPROVER_assume(size >= 1 && size <= ZU_PROOF_LENGTH + 1);
    char *s = malloc(size); // CBMC's malloc: any content, or null
    __CPROVER_assume(s == NULL || s[size - 1] == '\0');
    for (*length = 0; s != NULL && s[*length] != '\0';)
        ++*length;
    return s;
}

// Whether this call fails, with any errno, while the harness allows it.
static bool fails(void)
{
    if (zu_failures_left == 0 || nondet_bool())
        return false;
    zu_failures_left--;
    errno = nondet_int();
    __CPROVER_assume(errno > 0);
    return true;
}

size_t strnlen(const char *s, size_t maxlen)
{
    size_t n = 0;
    for (; n < maxlen; n++) {
        __CPROVER_assert(__CPROVER_r_ok(s + n, 1), "strnlen reads inside the object");
        if (s[n] == '\0')
            break;
    }
    return n;
}

// Fails with any errno (EINTR and EAGAIN among them), writing nothing, or
// writes all count bytes: the outcomes of a write of one byte.
ssize_t write(int fd, const void *buf, size_t count)
{
    zu_writes++;
    __CPROVER_assert(__CPROVER_r_ok(buf, count), "write reads count bytes of buf");
    if (fails()) {
        zu_write_errors[zu_write_failures++] = errno;
        return -1;
    }
    for (size_t i = 0; i < count; i++, zu_written++)
        if (zu_written < sizeof zu_output)
            zu_output[zu_written] = ((const char *)buf)[i];
    return (ssize_t)count;
}

// Fails with any errno (EINTR among them), times out, or reports any events
// of nfds descriptors. Its timeout is libzu's promise: 0 to 1000 ms.
int poll(struct pollfd *fds, nfds_t nfds, int timeout)
{
    __CPROVER_assert(timeout >= 0 && timeout <= 1000, "poll waits between 0 and 1000 ms");
    __CPROVER_assert(nfds <= 1 && (nfds == 0 || __CPROVER_w_ok(fds, sizeof *fds)),
                     "one fds to write");
    if (fails())
        return -1;
    int ready = nondet_int();
    __CPROVER_assume(ready >= 0 && (nfds_t)ready <= nfds);
    if (nfds == 1)
        fds[0].revents = nondet_short();
    return ready;
}

// F_GETFL alone: the flags the harness set, or -1 with EBADF.
int fcntl(int fd, int cmd, ...)
{
    __CPROVER_assert(cmd == F_GETFL, "fcntl is asked for the flags alone");
    if (zu_fd_flags < 0)
        errno = EBADF;
    return zu_fd_flags;
}
