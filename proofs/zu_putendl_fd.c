// zu_putendl_fd: a string of up to 16 bytes, or null, is written as its
// bytes (none for null), one write() each, then "\n".
#include "c_library.h"

int main(void)
{
    size_t length;
    char *s = zu_any_string(&length); // null where malloc failed: that case too
    zu_putendl_fd(s, 1);
    __CPROVER_assert(zu_writes == length + 1 && zu_written == length + 1, "one byte a write");
    for (size_t i = 0; i < length; i++)
        __CPROVER_assert(zu_output[i] == s[i], "the bytes in order");
    __CPROVER_assert(zu_output[length] == '\n', "then the line end");
    free(s);
    return 0;
}
