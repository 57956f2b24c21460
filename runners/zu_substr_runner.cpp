// substr_runner: five cuts of zu_substr, from a clamped length to a null string.

#include <libzu/libzu.h>

#include <stdio.h>
#include <stdlib.h>

#include "standard_output.h"

// Prints one case's result and releases it. A null result (a null string, or
// an allocation that failed) gets the case's own '(null)' line: handing a
// null pointer to %s is undefined.
static void report(const char *format, const char *null_line, char *result)
{
    if (result == nullptr)
        puts(null_line);
    else
        printf(format, result);
    free(result);
}

int main()
{
    set_up_standard_output();

    report("Result 1: '%s'\n", "Result 1: '(null)'", zu_substr("Hello, World!", 7, 5));
    report("Result 2: '%s'\n", "Result 2: '(null)'", zu_substr("Hello, World!", 20, 5));
    report("Result 3: '%s'\n", "Result 3: '(null)'", zu_substr("Hello, World!", 7, 20));
    report("Result 4: '%s'\n", "Result 4: '(null)'", zu_substr(nullptr, 0, 5));
    report("Result 5: '%s'\n", "Result 5: '(null)'", zu_substr("", 0, 5));
    return 0;
}
