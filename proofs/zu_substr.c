// zu_substr, every start and len, every buffer of up to 17 bytes holding a zero
// byte or the whole cut: exactly min(len, bytes left) + 1 bytes, those and a zero,
// or null only where malloc failed; nothing read at s[start + len] or later.
#include "c_library.h"

#include <stdint.h>

int main(void)
{
    size_t size = nondet_size_t(), len = nondet_size_t(), total = 0;
    unsigned start = nondet_unsigned();
    __CPROVER_assume(size >= 1 && size <= ZU_PROOF_LENGTH + 1);
    char *s = malloc(size); // any content: terminated anywhere, or nowhere
    __CPROVER_assume(s != NULL);
    while (total < size && s[total] != '\0')
        total++;
    __CPROVER_assume(total < size || (len <= SIZE_MAX - start && start + len <= size));
    char *sub = zu_substr(s, start, len);
    __CPROVER_assert(sub != NULL || zu_malloc_may_fail, "null only where malloc failed");
    if (sub != NULL) {
        size_t kept = start >= total ? 0 : (len < total - start ? len : total - start);
        __CPROVER_assert(__CPROVER_OBJECT_SIZE(sub) == kept + 1, "the bytes kept and a terminator");
        for (size_t i = 0; i < kept; i++)
            __CPROVER_assert(sub[i] == s[start + i], "the bytes from start on");
        __CPROVER_assert(sub[kept] == '\0', "terminated");
    }
    free(sub);
    free(s);
    __CPROVER_assert(zu_substr(NULL, start, len) == NULL, "null gives null");
    return 0;
}
