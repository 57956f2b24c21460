#include "libzu.h"

void zu_putstr_fd(const char *s, int fd)
{
    if (s == nullptr)
        return;

    for (size_t i = 0; s[i] != '\0'; i++)
        zu_putchar_fd(s[i], fd);
}
