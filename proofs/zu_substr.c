// zu_substr: for every start and len, from every buffer of up to 17 bytes,
// terminated or not: a block of exactly min(len, bytes left) + 1 bytes with
// those bytes and a terminator, or null only where malloc failed; nothing
// read at or past s[start + len], nor past the terminator.
#include "../libzu/libzu.h"
#include "c_library.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

int main(void)
{
    size_t size = nondet_size_t();
    char *s = zu_any_buffer(size);
    __CPROVER_assume(s != NULL);
    unsigned start = nondet_unsigned();
    size_t len = nondet_size_t();
    // The string: up to its terminator, else up to where the cut ends, which
    // must lie inside the buffer.
    size_t total = 0;
    while (total < size && s[total] != '\0')
        total++;
    size_t end = len > SIZE_MAX - start ? SIZE_MAX : start + len;
    __CPROVER_assume(total < size || end <= size);

    char *sub = zu_substr(s, start, len);
    __CPROVER_assert(sub != NULL || zu_malloc_may_fail, "null only where malloc failed");
    if (sub != NULL) {
        size_t kept = start >= total ? 0 : (len < total - start ? len : total - start);
        __CPROVER_assert(__CPROVER_OBJECT_SIZE(sub) == kept + 1,
                         "exactly the bytes kept and a terminator");
        for (size_t i = 0; i < kept; i++)
            __CPROVER_assert(sub[i] == s[start + i], "the bytes from start on");
        __CPROVER_assert(sub[kept] == '\0', "terminated");
    }
    free(sub);
    free(s);
    __CPROVER_assert(zu_substr(NULL, start, len) == NULL, "null gives null");
    return 0;
}
