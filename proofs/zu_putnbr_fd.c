// zu_putnbr_fd for every int: no undefined behaviour, 1 to 11 bytes, one a write(), '-'
// first just for a negative n, then digits (which ones: putnbr_every_int.cpp).
#include "c_library.h"

int main(void)
{
    int n = nondet_int();
    zu_putnbr_fd(n, 1);
    __CPROVER_assert(zu_written >= 1 && zu_written <= 11, "1 to 11 bytes");
    __CPROVER_assert(zu_writes == zu_written, "one byte per write");
    __CPROVER_assert((zu_output[0] == '-') == (n < 0), "a sign exactly for a negative n");
    for (size_t i = n < 0 ? 1 : 0; i < zu_written; i++)
        __CPROVER_assert(zu_output[i] >= '0' && zu_output[i] <= '9', "digits after it");
    return 0;
}
