// putnbr_runner: zu_putnbr_fd on descriptor 1, from 42 to the smallest int.
//
// The heading goes through buffered stdio, the numbers straight to the
// descriptor: on a terminal the heading comes first, in a pipe or file last.

#include <libzu/libzu.h>

#include <limits.h>
#include <stdio.h>

#include "standard_output.h"

int main()
{
    set_up_standard_output();

    const int numbers[] = {42, -123, 0, INT_MAX, INT_MIN};

    puts("Testing my zu_putnbr_fd:");
    for (int n : numbers) {
        zu_putnbr_fd(n, 1);
        zu_putchar_fd('\n', 1);
    }
    return 0;
}
