#include "alloc_shim.h"

#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using zu_test::alloc_reset;
using zu_test::alloc_stats;

static_assert(offsetof(zu_list_node, content) == 0);
static_assert(offsetof(zu_list_node, next) == sizeof(void *));
static_assert(sizeof(zu_list_node) == 2 * sizeof(void *));

// Keeps the compiler from deleting work on a block it can see is freed unread.
void escape(void *block)
{
    asm volatile("" : : "r"(block) : "memory");
}

TEST(AllocOps, CallocGivesZeroedBlocksOfTheProduct)
{
    const struct {
        size_t count, size;
    } cases[] = {{3, 4}, {1, 1}, {24, 1}, {1000, 8}, {1, 1 << 20}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " x " + std::to_string(c.size));
        const size_t bytes = c.count * c.size;
        // A dirty block of the same size, likely to be handed out again.
        void *dirty = malloc(bytes);
        ASSERT_NE(dirty, nullptr);
        memset(dirty, 0xa5, bytes);
        escape(dirty);
        free(dirty);

        alloc_reset();
        auto *block = static_cast<unsigned char *>(zu_calloc(c.count, c.size));
        zu_test::AllocStats stats = alloc_stats();
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(stats.calls, 1U);
        EXPECT_EQ(stats.last_size, bytes);
        EXPECT_EQ(stats.last_block, block);
        EXPECT_EQ(std::count(block, block + bytes, 0), static_cast<ptrdiff_t>(bytes));
        free(block);
    }
}

TEST(AllocOps, CallocOfNothingIsAFreeableBlock)
{
    const struct {
        size_t count, size;
    } cases[] = {{0, 4}, {4, 0}, {0, 0}, {0, SIZE_MAX}, {SIZE_MAX, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " x " + std::to_string(c.size));
        alloc_reset();
        void *block = zu_calloc(c.count, c.size);
        EXPECT_NE(block, nullptr); // what the GNU C library's malloc(0) gives
        EXPECT_EQ(alloc_stats().last_size, 0U);
        free(block);
    }
}

// A product beyond size_t is refused before anything is asked of malloc; one
// that fits but can't be had is asked for and comes back null. Either way
// errno says ENOMEM, as calloc's own failures do.
TEST(AllocOps, CallocRefusesWhatCannotBeAllocated)
{
    // Squared, it wraps to exactly 0 whatever the width of size_t.
    constexpr size_t root = size_t{1} << (sizeof(size_t) * CHAR_BIT / 2);
    const struct {
        size_t count, size;
        size_t requests;
    } cases[] = {
        {SIZE_MAX, 2, 0},         {2, SIZE_MAX, 0}, {root, root, 0},
        {SIZE_MAX / 2 + 1, 2, 0}, {SIZE_MAX, 1, 1}, {SIZE_MAX / 2, 2, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " x " + std::to_string(c.size));
        alloc_reset();
        errno = 0;
        EXPECT_EQ(zu_calloc(c.count, c.size), nullptr);
        EXPECT_EQ(errno, ENOMEM);
        EXPECT_EQ(alloc_stats().calls, c.requests);
    }
}

TEST(AllocOps, LstnewHoldsTheVeryPayloadGiven)
{
    int answer = 42;
    char text[] = "payload";
    void *const payloads[] = {&answer, text, nullptr};
    for (void *payload : payloads) {
        SCOPED_TRACE(payload == nullptr ? "null" : "non-null");
        alloc_reset();
        zu_list_node *node = zu_lstnew(payload);
        zu_test::AllocStats stats = alloc_stats();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->content, payload);
        EXPECT_EQ(node->next, nullptr);
        EXPECT_EQ(stats.calls, 1U);
        EXPECT_EQ(stats.last_block, node);
        EXPECT_EQ(stats.last_size, sizeof(zu_list_node));
        free(node);
    }
    EXPECT_EQ(answer, 42);
    EXPECT_STREQ(text, "payload");
}

} // namespace
