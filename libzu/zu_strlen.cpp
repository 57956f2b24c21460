#include "libzu.h"

#include <string.h>

size_t zu_strlen(const char *s)
{
    if (s == nullptr)
        return 0;

    return strlen(s);
}
