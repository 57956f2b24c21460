#include "libzu.h"

#include <limits.h>

void zu_putnbr_fd(int n, int fd)
{
    if (n == INT_MIN) {
        // -INT_MIN does not fit in an int: write its first digit here.
        zu_putchar_fd('-', fd);
        zu_putchar_fd('2', fd);
        zu_putnbr_fd(147483648, fd);
        return;
    }
    if (n < 0) {
        zu_putchar_fd('-', fd);
        n = -n;
    }
    if (n > 9)
        zu_putnbr_fd(n / 10, fd);
    zu_putchar_fd(static_cast<char>('0' + (n % 10)), fd);
}
