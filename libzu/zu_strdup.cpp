#include "libzu.h"

#include <cstdlib>
#include <cstring>

char *zu_strdup(const char *s)
{
    if (s == nullptr)
        return nullptr;

    auto *copy = static_cast<char *>(malloc(zu_strlen(s) + 1));
    if (copy == nullptr)
        return nullptr;
    return strcpy(copy, s);
}
