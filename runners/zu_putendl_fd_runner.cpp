// putendl_runner: zu_putendl_fd on descriptor 1, down to "" and a null string.
//
// The heading goes through buffered stdio, the lines straight to the
// descriptor: on a terminal the heading comes first, in a pipe or file last.

#include <libzu/libzu.h>

#include <stdio.h>

#include "standard_output.h"

int main()
{
    set_up_standard_output();

    const char *const lines[] = {"Hello, World!", "This is a test.", "Another line.", "", nullptr};

    puts("Testing my zu_putendl_fd:");
    for (const char *line : lines)
        zu_putendl_fd(line, 1);
    return 0;
}
