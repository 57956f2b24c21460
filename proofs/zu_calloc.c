// zu_calloc: for every count and size, null with errno ENOMEM, or a block of
// exactly count * size bytes, every one of them zero.
#include "c_library.h"

int main(void)
{
    size_t count = nondet_size_t(), size = nondet_size_t();
    errno = 0;
    unsigned char *block = zu_calloc(count, size);
    if (block == NULL) {
        __CPROVER_assert(errno == ENOMEM, "null means ENOMEM");
    } else {
        size_t total = 0, i = nondet_size_t();
        __CPROVER_assert(!__builtin_mul_overflow(count, size, &total),
                         "only for a product that fits");
        __CPROVER_assert(__CPROVER_OBJECT_SIZE(block) == total, "exactly count * size bytes");
        __CPROVER_assume(i < total);
        __CPROVER_assert(block[i] == 0, "every byte zero");
    }
    free(block);
    return 0;
}
