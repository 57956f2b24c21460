// zu_putchar_fd, up to 12 failed write() and poll() calls, any errno, any poll() outcome:
// after EINTR, and EAGAIN on a non-blocking fd, the byte is written once in the end; after
// any other failure, given up with no write after. Waits: 0 to 1000 ms (the poll() stub).
#include "c_library.h"

static bool tried_again(int error)
{
    return error == EINTR || ((error == EAGAIN || error == EWOULDBLOCK) && zu_fd_flags >= 0 &&
                              (zu_fd_flags & O_NONBLOCK) != 0);
}

int main(void)
{
    char c = nondet_char();
    zu_failures_left = ZU_PROOF_FAILURES;
    zu_fd_flags = nondet_int();
    zu_putchar_fd(c, 1);
    size_t failed = zu_write_failures;
    __CPROVER_assert(zu_writes == failed + zu_written && zu_written <= 1, "each write one byte");
    for (size_t i = 0; i + 1 < failed; i++)
        __CPROVER_assert(tried_again(zu_write_errors[i]),
                         "no write after a failure that gives the byte up");
    if (failed > 0 && !tried_again(zu_write_errors[failed - 1]))
        __CPROVER_assert(zu_written == 0, "given up");
    else
        __CPROVER_assert(zu_written == 1 && zu_output[0] == c, "written once in the end");
    return 0;
}
