#include "libzu.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

void *zu_calloc(size_t count, size_t size)
{
    // A product that wrapped would give a block smaller than the caller thinks.
    if (size != 0 && count > SIZE_MAX / size)
        return nullptr;

    size_t bytes = count * size;
    void *block = malloc(bytes);
    if (block == nullptr)
        return nullptr;
    return memset(block, 0, bytes);
}
