// Every allocation of every runner is failed in turn, once and from then on,
// until a run completes with none failed. Each run must exit with 0, leave
// nothing behind (the sanitizers' leak check, where built with them) and
// print the documented line for what could not be had.
//
// Two allocators: the runners' own objects linked again with the wrapping
// test allocator see the program's and the library's allocations; the
// normal programs with it preloaded also see the C library's stream buffer.
#include "run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using zu_test::Output;
using zu_test::run_program;

struct Script {
    const char *program;
    const char *heading; // the one line through stdio, if the rest goes straight out
    // Line k (from 1) of the normal output when its allocation failed; "" for
    // a line that allocates nothing.
    std::vector<std::string> failure_lines;
    // For the nth allocation failed once, and failed from then on: the lines
    // that show a failure, as a string of line numbers.
    std::vector<std::string> failed_once;
    std::vector<std::string> failed_from;
};

const Script scripts[] = {
    {"substr_runner",
     nullptr,
     {"Result 1: '(null)'", "Result 2: '(null)'", "Result 3: '(null)'", "", "Result 5: '(null)'"},
     {"1", "2", "3", "5"},
     {"1235", "235", "35", "5"}},
    {"lstnew_runner",
     nullptr,
     {"Failed to create Node 1", "Failed to create Node 2", "Failed to create Node 3"},
     // payload 1, node 1, payload 2, node 2, node 3
     {"1", "1", "2", "2", "3"},
     {"123", "123", "23", "23", "3"}},
    {"calloc_runner",
     nullptr,
     {"Pointer returned by calloc with zero elements is NULL."},
     {"1"},
     {"1"}},
    {"putnbr_runner", "Testing my zu_putnbr_fd:", {}, {}, {}},
    {"putendl_runner", "Testing my zu_putendl_fd:", {}, {}, {}},
    {"putstr_runner", "Testing my zu_putstr:", {}, {}, {}},
};

std::vector<std::string> split_lines(const std::string &text)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::string join_lines(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + '\n';
    return text;
}

std::string normal_output(const Script &script)
{
    return zu_test::read_file(std::string(ZU_EXPECTED_DIR) + "/" + script.program + ".txt");
}

std::string output_with_failures(const Script &script, const std::string &failed)
{
    std::vector<std::string> lines = split_lines(normal_output(script));
    for (char line : failed)
        lines.at(static_cast<size_t>(line - '1')) =
            script.failure_lines.at(static_cast<size_t>(line - '1'));
    return join_lines(lines);
}

// Whether out is a and b merged, each keeping its own order.
bool is_interleaving(const std::string &out, const std::string &a, const std::string &b)
{
    if (out.size() != a.size() + b.size())
        return false;
    // reachable[j]: out[0, i + j) can be a[0, i) merged with b[0, j)
    std::vector<bool> reachable(b.size() + 1);
    for (size_t i = 0; i <= a.size(); i++) {
        for (size_t j = 0; j <= b.size(); j++) {
            if (i == 0 && j == 0)
                reachable[j] = true;
            else
                reachable[j] = (i > 0 && reachable[j] && a[i - 1] == out[i + j - 1]) ||
                               (j > 0 && reachable[j - 1] && b[j - 1] == out[i + j - 1]);
        }
    }
    return reachable[b.size()];
}

// What a run under the preloaded allocator may print. Every script step still
// prints, either its normal line or its failure line; a runner with two paths
// delivers all of each path's bytes in order, however they interleave.
void expect_whole_output(const Script &script, const std::string &out)
{
    const std::string normal = normal_output(script);
    if (script.heading != nullptr) {
        const std::string stdio_text = std::string(script.heading) + '\n';
        const std::string direct_text = normal.substr(0, normal.size() - stdio_text.size());
        EXPECT_TRUE(is_interleaving(out, stdio_text, direct_text)) << out;
        return;
    }
    const std::vector<std::string> normal_lines = split_lines(normal);
    const std::vector<std::string> lines = split_lines(out);
    EXPECT_EQ(lines.size(), normal_lines.size()) << out;
    for (size_t i = 0; i < std::min(lines.size(), normal_lines.size()); i++) {
        if (lines[i] != normal_lines[i]) {
            EXPECT_EQ(lines[i], script.failure_lines.at(i));
        }
    }
}

struct Injection {
    zu_test::Run run;
    size_t failed; // allocations made to fail in the run
};

Injection run_failing(const std::string &path, const std::string &setting,
                      const std::vector<std::string> &env = {})
{
    char report[] = "/tmp/zu-failed-XXXXXX";
    int fd = mkstemp(report);
    EXPECT_GE(fd, 0);
    std::vector<std::string> full_env = env;
    full_env.push_back("ZU_FAIL_ALLOC=" + setting);
    full_env.push_back(std::string("ZU_FAIL_ALLOC_REPORT=") + report);
    Injection injection{run_program(path, Output::file, {}, full_env), 0};
    injection.failed = zu_test::read_file(report).size();
    close(fd);
    unlink(report);
    return injection;
}

TEST(RunnerAllocationFailure, ProgramAndLibraryAllocations)
{
    size_t injected = 0;
    for (const Script &script : scripts) {
        const std::string path = std::string(ZU_FAILALLOC_DIR) + "/" + script.program;
        for (const char *mode : {"once", "from"}) {
            const auto &failed_lines =
                std::string(mode) == "once" ? script.failed_once : script.failed_from;
            for (size_t nth = 1;; nth++) {
                const std::string setting = std::string(mode) + ":" + std::to_string(nth);
                SCOPED_TRACE(std::string(script.program) + " " + setting);
                Injection injection = run_failing(path, setting);
                const zu_test::Run &run = injection.run;
                EXPECT_TRUE(run.exited_with(0)) << run.describe();
                EXPECT_EQ(run.err, "");
                if (injection.failed == 0) {
                    EXPECT_EQ(nth, failed_lines.size() + 1) << "allocations made";
                    EXPECT_EQ(run.out, normal_output(script));
                    break;
                }
                injected++;
                ASSERT_LE(nth, failed_lines.size()) << "more allocations than expected";
                EXPECT_EQ(run.out, output_with_failures(script, failed_lines[nth - 1]));
            }
        }
    }
    printf("injected allocation failures (runners, linked allocator): %zu\n", injected);
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZU_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZU_SANITIZED 1
#endif

// The preloaded allocator also fails the stream's buffer, after which the C
// library writes unbuffered: the heading of a descriptor-output runner then
// no longer waits for the end.
TEST(RunnerAllocationFailure, AllAllocationsOfTheProcess)
{
#ifdef ZU_SANITIZED
    GTEST_SKIP() << "a preloaded allocator cannot run under AddressSanitizer";
#endif
    size_t injected = 0;
    for (const Script &script : scripts) {
        const std::string path = std::string(ZU_RUNTIME_DIR) + "/" + script.program;
        for (const char *mode : {"once", "from"}) {
            for (size_t nth = 1;; nth++) {
                const std::string setting = std::string(mode) + ":" + std::to_string(nth);
                SCOPED_TRACE(std::string(script.program) + " " + setting);
                Injection injection =
                    run_failing(path, setting, {std::string("LD_PRELOAD=") + ZU_PRELOAD_SHIM});
                const zu_test::Run &run = injection.run;
                EXPECT_TRUE(run.exited_with(0)) << run.describe();
                EXPECT_EQ(run.err, "");
                expect_whole_output(script, run.out);
                if (injection.failed == 0)
                    break;
                injected++;
                ASSERT_LT(nth, 100U) << "the allocator never stopped failing";
            }
        }
    }
    printf("injected allocation failures (runners, preloaded allocator): %zu\n", injected);
}

} // namespace
