#include "libzu.h"

#include <cerrno>
#include <unistd.h>

void zu_putchar_fd(char c, int fd)
{
    // EINTR means nothing was written yet: try again rather than lose the
    // byte. Every other failure is ignored.
    while (write(fd, &c, 1) < 0 && errno == EINTR) {}
}
