// zu_strlen: null measures 0; a string of up to 16 bytes, whatever follows
// its first zero byte, measures as the index of that byte.
#include "c_library.h"

int main(void)
{
    __CPROVER_assert(zu_strlen(NULL) == 0, "null measures as the empty string");
    size_t length;
    char *s = zu_any_string(&length);
    __CPROVER_assume(s != NULL);
    __CPROVER_assert(zu_strlen(s) == length, "the index of the first zero byte");
    free(s);
    return 0;
}
