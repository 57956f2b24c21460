#include "alloc_shim.h"

#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX // std::min, not a macro
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

using zu_test::alloc_reset;
using zu_test::alloc_stats;

// Checks that result is a fresh block holding exactly expected: the block the
// one allocation of the call returned, of expected.size() + 1 bytes, not the
// input. Releases it.
void expect_fresh_string(char *result, std::string_view expected, const char *input)
{
    zu_test::AllocStats stats = alloc_stats();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(std::string_view(result), expected);
    EXPECT_EQ(stats.calls, 1U);
    EXPECT_EQ(stats.last_block, result);
    EXPECT_EQ(stats.last_size, expected.size() + 1);
    EXPECT_EQ(stats.live_blocks, 1U);
    EXPECT_NE(result, input);
    free(result);
}

TEST(StringOps, StrlenCountsBytesBeforeTheTerminator)
{
    const std::string long_text(100000, 'x');
    const struct {
        const char *name;
        const char *s;
        size_t expected;
    } cases[] = {
        {"null", nullptr, 0},
        {"empty", "", 0},
        {"one byte", "a", 1},
        {"greeting", "Hello, World!", 13},
        {"bytes above 127 are characters", "\xff\x80\x01", 3},
        {"stops at the first zero byte", "ab\0cd", 2},
        {"100000 bytes", long_text.c_str(), 100000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(zu_strlen(c.s), c.expected);
    }
}

TEST(StringOps, StrdupCopiesIntoAFreshBlock)
{
    const char *cases[] = {"", "a", "Hello, World!", "\xff\x80\x01"};
    for (const char *s : cases) {
        SCOPED_TRACE(s);
        alloc_reset();
        expect_fresh_string(zu_strdup(s), s, s);
    }
}

TEST(StringOps, StrdupOfNullIsNullWithoutAllocating)
{
    alloc_reset();
    EXPECT_EQ(zu_strdup(nullptr), nullptr);
    EXPECT_EQ(alloc_stats().calls, 0U);
}

TEST(StringOps, SubstrEdges)
{
    const char *greeting = "Hello, World!";
    const struct {
        const char *name;
        const char *s;
        unsigned int start;
        size_t len;
        std::optional<std::string_view> expected; // nullopt: a null result
    } cases[] = {
        {"inside", greeting, 7, 5, "World"},
        {"length clamped to what is left", greeting, 7, 20, "World!"},
        {"start past the end", greeting, 20, 5, ""},
        {"start at the terminator", greeting, 13, 1, ""},
        {"last byte", greeting, 12, 1, "!"},
        {"length 0 inside the string", greeting, 0, 0, ""},
        {"empty string", "", 0, 5, ""},
        {"largest size_t length", greeting, 3, SIZE_MAX, "lo, World!"},
        {"largest unsigned int start", greeting, UINT_MAX, 5, ""},
        {"bytes above 127", "\xff\x80\x01", 1, 1, "\x80"},
        {"null string", nullptr, 0, 5, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        alloc_reset();
        char *result = zu_substr(c.s, c.start, c.len);
        if (!c.expected) {
            EXPECT_EQ(result, nullptr);
            EXPECT_EQ(alloc_stats().calls, 0U);
            continue;
        }
        expect_fresh_string(result, *c.expected, c.s);
    }
}

// Every start and length around the ends of a few strings, against
// std::string_view: a start at or past the end gives "", a length is clamped.
TEST(StringOps, SubstrAgreesWithStringView)
{
    const char *texts[] = {"", "a", "ab", "Hello, World!"};
    for (const char *text : texts) {
        const std::string_view view(text);
        for (unsigned int start = 0; start <= view.size() + 2; start++) {
            for (size_t len : {size_t{0}, size_t{1}, size_t{2}, view.size(), view.size() + 1,
                               size_t{SIZE_MAX}}) {
                SCOPED_TRACE(std::string(text) + " from " + std::to_string(start) + " for " +
                             std::to_string(len));
                std::string_view expected =
                    start < view.size() ? view.substr(start, len) : std::string_view();
                alloc_reset();
                expect_fresh_string(zu_substr(text, start, len), expected, text);
            }
        }
    }
}

// One readable page between two inaccessible pages: reading a byte before
// its first or past its last faults, with or without a sanitizer.
struct GuardedPage {
    size_t size = 0;
    char *begin = nullptr;
    char *end = nullptr;
    bool ok = false;

    GuardedPage()
    {
#ifdef _WIN32
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        size = system.dwPageSize;
        void *map = VirtualAlloc(nullptr, 3 * size, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
        DWORD before = 0;
        begin = static_cast<char *>(map) + size;
        ok = map != nullptr && VirtualProtect(begin, size, PAGE_READWRITE, &before);
#else
        size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void *map = mmap(nullptr, 3 * size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        begin = static_cast<char *>(map) + size;
        ok = map != MAP_FAILED && mprotect(begin, size, PROT_READ | PROT_WRITE) == 0;
#endif
        end = begin + size;
    }
    GuardedPage(const GuardedPage &) = delete;
    GuardedPage &operator=(const GuardedPage &) = delete;
    ~GuardedPage()
    {
#ifdef _WIN32
        VirtualFree(begin - size, 0, MEM_RELEASE);
#else
        munmap(begin - size, 3 * size);
#endif
    }
    // text copied in so that its last byte is the last readable one.
    const char *at_end(std::string_view text) const
    {
        return static_cast<char *>(memcpy(end - text.size(), text.data(), text.size()));
    }
    // text copied in from the first readable byte.
    const char *at_begin(std::string_view text) const
    {
        return static_cast<char *>(memcpy(begin, text.data(), text.size()));
    }
};

// Strings of 0 to 300 bytes right against a guard, after their terminator
// (so their start takes every alignment modulo 64) and before their first
// byte: nothing outside the string is read, and every result is exact.
TEST(StringOps, ReadNoByteOutsideTheString)
{
    GuardedPage page;
    ASSERT_TRUE(page.ok);
    std::string text;
    for (size_t length = 0; length <= 300; length++) {
        const std::string terminated = text + '\0';
        for (const char *s : {page.at_end(terminated), page.at_begin(terminated)}) {
            SCOPED_TRACE(std::to_string(length) + " bytes at " +
                         (s == page.begin ? "the start" : "the end"));
            EXPECT_EQ(zu_strlen(s), length);
            alloc_reset();
            expect_fresh_string(zu_strdup(s), text, s);
            for (unsigned int start = 0; start <= length + 1; start++) {
                const size_t left = length > start ? length - start : 0;
                for (size_t len : {size_t{0}, size_t{1}, size_t{7}, left, left + 1, SIZE_MAX}) {
                    alloc_reset();
                    expect_fresh_string(
                        zu_substr(s, start, len),
                        std::string_view(text).substr(std::min<size_t>(start, length), len), s);
                }
            }
        }
        text += static_cast<char>('a' + length % 26);
    }
}

// A cut reads nothing at or past s[start + len], so it may come from a buffer
// that has no terminator at all: here one that ends at a guard page.
TEST(StringOps, SubstrCutsFromAnUnterminatedBuffer)
{
    GuardedPage page;
    ASSERT_TRUE(page.ok);
    std::string text;
    for (size_t i = 0; i < 300; i++)
        text += static_cast<char>('a' + i % 26);
    const char *s = page.at_end(text);
    for (unsigned int start = 0; start <= text.size(); start++) {
        for (size_t len = 0; start + len <= text.size(); len++) {
            SCOPED_TRACE(std::to_string(start) + " for " + std::to_string(len));
            alloc_reset();
            expect_fresh_string(zu_substr(s, start, len), std::string_view(text).substr(start, len),
                                s);
        }
    }
}

} // namespace
