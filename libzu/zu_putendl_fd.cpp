#include "libzu.h"

void zu_putendl_fd(const char *s, int fd)
{
    zu_putstr_fd(s, fd); // nothing for a null s, which leaves the bare line end
    zu_putchar_fd('\n', fd);
}
