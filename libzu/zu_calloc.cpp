#include "libzu.h"

#include <cstdint>
#include <cstdlib>

void *zu_calloc(size_t count, size_t size)
{
    // A product that wrapped would give a block smaller than the caller thinks.
    if (size != 0 && count > SIZE_MAX / size)
        return nullptr;

    // calloc clears the block, and skips the clearing where it knows the
    // memory is fresh from the kernel and zero already: a large block then
    // costs no pass over its bytes.
    return calloc(count, size);
}
