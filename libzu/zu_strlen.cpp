#include "libzu.h"

size_t zu_strlen(const char *s)
{
    if (s == nullptr)
        return 0;

    size_t length = 0;
    while (s[length] != '\0')
        length++;
    return length;
}
