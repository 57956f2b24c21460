// zu_putstr_fd: any string of up to 16 bytes is written as exactly its
// bytes, one write() each, in order; null writes nothing.
#include "../libzu/libzu.h"
#include "c_library.h"

#include <stdlib.h>

int main(void)
{
    zu_putstr_fd(NULL, 1);
    __CPROVER_assert(zu_writes == 0, "null writes nothing");

    size_t size = nondet_size_t();
    char *s = zu_any_buffer(size);
    __CPROVER_assume(s != NULL && s[size - 1] == '\0');
    zu_putstr_fd(s, 1);
    size_t n = 0;
    while (s[n] != '\0')
        n++;
    __CPROVER_assert(zu_writes == n && zu_written == n,
                     "one byte per write, the terminator not written");
    for (size_t i = 0; i < n; i++)
        __CPROVER_assert(zu_output[i] == s[i], "the bytes in order");
    free(s);
    return 0;
}
