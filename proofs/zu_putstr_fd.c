// zu_putstr_fd: a string of up to 16 bytes is written as exactly its bytes,
// one write() each, in order; null writes nothing.
#include "c_library.h"

int main(void)
{
    zu_putstr_fd(NULL, 1);
    __CPROVER_assert(zu_writes == 0, "null writes nothing");
    size_t length;
    char *s = zu_any_string(&length);
    __CPROVER_assume(s != NULL);
    zu_putstr_fd(s, 1);
    __CPROVER_assert(zu_writes == length && zu_written == length,
                     "one byte a write, no terminator");
    for (size_t i = 0; i < length; i++)
        __CPROVER_assert(zu_output[i] == s[i], "the bytes in order");
    free(s);
    return 0;
}
