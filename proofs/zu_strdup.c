// zu_strdup: null gives null; any string of up to 16 bytes gives a block of
// exactly its length + 1 bytes holding it and its terminator, or null where
// malloc failed.
#include "../libzu/libzu.h"
#include "c_library.h"

#include <stdlib.h>

int main(void)
{
    __CPROVER_assert(zu_strdup(NULL) == NULL, "null gives null");

    size_t size = nondet_size_t();
    char *s = zu_any_buffer(size);
    __CPROVER_assume(s != NULL && s[size - 1] == '\0');
    size_t n = 0;
    while (s[n] != '\0')
        n++;

    char *copy = zu_strdup(s);
    __CPROVER_assert(copy != NULL || zu_malloc_may_fail, "null only where malloc failed");
    if (copy != NULL) {
        __CPROVER_assert(__CPROVER_OBJECT_SIZE(copy) == n + 1, "exactly length + 1 bytes");
        for (size_t i = 0; i <= n; i++)
            __CPROVER_assert(copy[i] == s[i], "the string and its terminator");
    }
    free(copy);
    free(s);
    return 0;
}
