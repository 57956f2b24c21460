// putstr_runner: zu_putstr_fd on descriptor 1; each line end is a string of
// its own.
//
// The heading goes through buffered stdio, the text straight to the
// descriptor: on a terminal the heading comes first, in a pipe or file last.

#include <libzu/libzu.h>

#include <stdio.h>

#include "standard_output.h"

int main()
{
    set_up_standard_output();

    const char *const pieces[] = {
        "Hello, World!", "\n", "This is a test of zu_putstr.", "\n", "Goodbye!", "\n",
    };

    puts("Testing my zu_putstr:");
    for (const char *piece : pieces)
        zu_putstr_fd(piece, 1);
    return 0;
}
