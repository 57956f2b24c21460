#include "libzu.h"

#include <cstdlib>

char *zu_substr(const char *s, unsigned int start, size_t len)
{
    if (s == nullptr)
        return nullptr;

    size_t total = zu_strlen(s);
    size_t first = start;
    if (first >= total)
        return zu_strdup("");

    // Clamping first keeps len + 1 from wrapping, whatever the caller asked for.
    if (len > total - first)
        len = total - first;

    auto *sub = static_cast<char *>(malloc(len + 1));
    if (sub == nullptr)
        return nullptr;
    for (size_t i = 0; i < len; i++)
        sub[i] = s[first + i];
    sub[len] = '\0';
    return sub;
}
