// zu_putendl_fd: any string of up to 16 bytes, or null, is written as its
// bytes (none for null), one write() each, then "\n".
#include "../libzu/libzu.h"
#include "c_library.h"

#include <stdlib.h>

int main(void)
{
    size_t size = nondet_size_t();
    char *s = zu_any_buffer(size);
    __CPROVER_assume(s == NULL || s[size - 1] == '\0');
    zu_putendl_fd(s, 1);
    size_t n = 0;
    while (s != NULL && s[n] != '\0')
        n++;
    __CPROVER_assert(zu_writes == n + 1 && zu_written == n + 1, "one byte per write");
    for (size_t i = 0; i < n; i++)
        __CPROVER_assert(zu_output[i] == s[i], "the bytes in order");
    __CPROVER_assert(zu_output[n] == '\n', "then the line end");
    free(s);
    return 0;
}
