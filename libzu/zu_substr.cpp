#include "libzu.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

char *zu_substr(const char *s, unsigned int start, size_t len)
{
    if (s == nullptr)
        return nullptr;

    // Nothing at or past s[start + len] is read: the string is measured only
    // as far as the cut could reach. The end is saturated so that it cannot
    // wrap around for a huge len.
    size_t first = start;
    size_t end = len > SIZE_MAX - first ? SIZE_MAX : first + len;
    size_t total = strnlen(s, end);
    if (first >= total)
        return zu_strdup("");

    // total stops at the terminator or at the end of the cut, whichever comes
    // first, so this is len clamped to what is left; len + 1 cannot wrap.
    len = total - first;
    char *sub = static_cast<char *>(malloc(len + 1));
    if (sub == nullptr)
        return nullptr;
    memcpy(sub, s + first, len);
    sub[len] = '\0';
    return sub;
}
