// zu_strdup: null gives null; a string of up to 16 bytes, a block of exactly its length + 1
// bytes holding it and its terminator, or null where malloc failed.
#include "c_library.h"

int main(void)
{
    __CPROVER_assert(zu_strdup(NULL) == NULL, "null gives null");
    size_t length;
    char *s = zu_any_string(&length);
    __CPROVER_assume(s != NULL);
    char *copy = zu_strdup(s);
    __CPROVER_assert(copy != NULL || zu_malloc_may_fail, "null only where malloc failed");
    if (copy != NULL) {
        __CPROVER_assert(__CPROVER_OBJECT_SIZE(copy) == length + 1, "exactly length + 1 bytes");
        for (size_t i = 0; i <= length; i++)
            __CPROVER_assert(copy[i] == s[i], "the string and its terminator");
    }
    free(copy);
    free(s);
    return 0;
}
