// Differential fuzzing of the string operations against std::string_view.
//
// Input: 4 bytes of start, 8 bytes of length (native order), then the text,
// cut at its first zero byte. The text is placed in a block of exactly its
// length + 1, so reading one byte past its terminator is caught; a cut that
// lies inside the text is also taken from a copy with no terminator at all.
#include <libzu/libzu.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The result must be a fresh block holding exactly expected.
void check_fresh(char *result, std::string_view expected, const char *input)
{
    check(result != nullptr);
    check(result != input);
    check(std::string_view(result) == expected);
    free(result);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    unsigned int start = 0;
    uint64_t len = 0;
    if (size < sizeof start + sizeof len)
        return 0;
    memcpy(&start, data, sizeof start);
    memcpy(&len, data + sizeof start, sizeof len);
    const auto *rest = reinterpret_cast<const char *>(data + sizeof start + sizeof len);
    const size_t rest_size = size - sizeof start - sizeof len;
    const std::string_view text(rest, strnlen(rest, rest_size));

    auto *s = static_cast<char *>(malloc(text.size() + 1));
    check(s != nullptr);
    memcpy(s, text.data(), text.size());
    s[text.size()] = '\0';

    check(zu_strlen(s) == text.size());
    check_fresh(zu_strdup(s), text, s);
    const std::string_view expected =
        start < text.size() ? text.substr(start, len) : std::string_view();
    check_fresh(zu_substr(s, start, len), expected, s);

    if (start <= text.size() && len <= text.size() - start) {
        // Exactly the text's bytes: the byte after them lies outside the block.
        auto *unterminated = static_cast<char *>(malloc(text.size()));
        check(unterminated != nullptr);
        memcpy(unterminated, text.data(), text.size());
        check_fresh(zu_substr(unterminated, start, len), expected, unterminated);
        free(unterminated);
    }

    free(s);
    return 0;
}
