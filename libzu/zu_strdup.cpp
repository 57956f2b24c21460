#include "libzu.h"

#include <stdlib.h>
#include <string.h>

char *zu_strdup(const char *s)
{
    if (s == nullptr)
        return nullptr;

    size_t size = zu_strlen(s) + 1;
    char *copy = static_cast<char *>(malloc(size));
    if (copy == nullptr)
        return nullptr;
    // The length is known: copy it and the terminator without looking again.
    return static_cast<char *>(memcpy(copy, s, size));
}
