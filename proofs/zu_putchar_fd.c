// zu_putchar_fd, with up to ZU_PROOF_FAILURES failed write() and poll()
// calls, each with any errno, and any poll() outcome: after EINTR, and after
// EAGAIN on a non-blocking descriptor, the byte is written again until it is
// written once; after any other failure, EAGAIN on a blocking descriptor
// among them, it is given up and write() is not called again. Every wait
// lasts from 0 to 1000 ms (asserted by the poll() stub).
#include "../libzu/libzu.h"
#include "c_library.h"

#include <errno.h>
#include <fcntl.h>

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
