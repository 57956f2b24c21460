// Every allocation a library operation makes is failed in turn, once and from
// then on, until a call goes through with nothing failed. Whenever one failed,
// the operation must return null holding no block of its own.
#include "alloc_shim.h"
#include "fail_in_turn.h"

#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

using zu_test::FailMode;

TEST(AllocationFailure, EveryAllocatingOperationReturnsNullAndKeepsNothing)
{
    const struct {
        const char *name;
        void *(*call)();
    } operations[] = {
        {"zu_strdup \"abc\"", [] { return static_cast<void *>(zu_strdup("abc")); }},
        {"zu_strdup \"\"", [] { return static_cast<void *>(zu_strdup("")); }},
        {"zu_substr inside", [] { return static_cast<void *>(zu_substr("Hello", 1, 3)); }},
        {"zu_substr length 0", [] { return static_cast<void *>(zu_substr("Hello", 1, 0)); }},
        {"zu_substr past the end", [] { return static_cast<void *>(zu_substr("Hello", 9, 3)); }},
        {"zu_calloc 3 x 4", [] { return zu_calloc(3, 4); }},
        {"zu_calloc 0 x 4", [] { return zu_calloc(0, 4); }},
        {"zu_lstnew", [] { return static_cast<void *>(zu_lstnew(nullptr)); }},
    };

    size_t injected = 0;
    for (const auto &operation : operations) {
        injected +=
            zu_test::fail_each_allocation_in_turn(operation.name, [&](bool once, size_t nth) {
                zu_test::alloc_fail(once ? FailMode::once : FailMode::from, nth);
                void *result = operation.call();
                zu_test::AllocStats stats = zu_test::alloc_stats();
                zu_test::alloc_reset();
                if (stats.failures == 0) {
                    EXPECT_NE(result, nullptr);
                    free(result);
                } else {
                    EXPECT_EQ(result, nullptr);
                    EXPECT_EQ(stats.live_blocks, 0U);
                }
                return stats.failures;
            });
    }
    printf("injected allocation failures (library): %zu\n", injected);
    RecordProperty("injected", static_cast<int>(injected));
}

} // namespace
