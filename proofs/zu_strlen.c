// zu_strlen: null measures 0; any string of up to 16 bytes, whatever follows
// its first zero byte, measures as the index of that byte.
#include "../libzu/libzu.h"
#include "c_library.h"

#include <stdlib.h>

int main(void)
{
    __CPROVER_assert(zu_strlen(NULL) == 0, "null measures as the empty string");

    size_t size = nondet_size_t();
    char *s = zu_any_buffer(size);
    __CPROVER_assume(s != NULL && s[size - 1] == '\0');
    size_t n = zu_strlen(s);
    __CPROVER_assert(n < size && s[n] == '\0', "a zero byte at the index");
    for (size_t i = 0; i < n; i++)
        __CPROVER_assert(s[i] != '\0', "none before it");
    free(s);
    return 0;
}
