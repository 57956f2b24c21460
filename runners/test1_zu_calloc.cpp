// calloc_runner: asks the C library's calloc (not zu_calloc) for zero
// elements and says whether the answer is a null pointer.

#include <stdio.h>
#include <stdlib.h>

#include "standard_output.h"

int main()
{
    set_up_standard_output();

    void *block = calloc(0, 4);
    puts(block != nullptr ? "Pointer returned by calloc with zero elements is not NULL."
                          : "Pointer returned by calloc with zero elements is NULL.");
    free(block);
    return 0;
}
