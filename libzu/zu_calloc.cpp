#include "libzu.h"

#include <errno.h>
#include <stdint.h>
#include <stdlib.h>

void *zu_calloc(size_t count, size_t size)
{
    // A product that wrapped would give a block smaller than the caller thinks.
    // Refused as calloc refuses what it cannot allocate.
    if (size != 0 && count > SIZE_MAX / size) {
        errno = ENOMEM;
        return nullptr;
    }

    // calloc clears the block, and skips the clearing where it knows the
    // memory is fresh from the kernel and zero already: a large block then
    // costs no pass over its bytes.
    void *block = calloc(count, size);
    // Not every C library's calloc says why it failed (wine's msvcrt leaves
    // errno alone): every refusal is ENOMEM here.
    if (block == nullptr)
        errno = ENOMEM;
    return block;
}
