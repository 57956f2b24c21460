// Every allocation of every runner is failed in turn, once and from then on,
// until a run completes with none failed. Each run must exit with 0, leave
// nothing behind (the sanitizers' leak check, where built with them) and
// print the documented line for what could not be had.
//
// Two allocators: the runners' own objects linked again with the wrapping
// test allocator see the program's and the library's allocations; the
// normal programs with it preloaded also see the C library's stream buffer.
#include "fail_in_turn.h"
#include "runner_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using zu_test::Output;
using zu_test::runner_programs;
using zu_test::RunnerProgram;

struct Injection {
    bool once;     // failed once, else failed from the nth on
    size_t nth;    // the first allocation failed
    size_t failed; // allocations the run saw fail
    zu_test::Run run;
};

// Runs path with its nth allocation failed, for n = 1, 2, ... in both modes,
// until a run fails none, and hands every run to check. Returns the number of
// runs with a failure injected.
size_t fail_each_allocation(const RunnerProgram &program, const std::string &path,
                            const std::vector<std::string> &env,
                            const std::function<void(const Injection &)> &check)
{
    return zu_test::fail_each_allocation_in_turn(program.name, [&](bool once, size_t nth) {
        const std::string setting = (once ? "once:" : "from:") + std::to_string(nth);
        zu_test::TemporaryFile report;
        std::vector<std::string> full_env = env;
        full_env.push_back("ZU_FAIL_ALLOC=" + setting);
        full_env.push_back("ZU_FAIL_ALLOC_REPORT=" + report.path());
        Injection injection{once, nth, 0, run_program(path, Output::file, {}, full_env)};
        injection.failed = report.contents().size();

        EXPECT_TRUE(injection.run.exited_with(0)) << injection.run.describe();
        EXPECT_EQ(injection.run.err, "");
        check(injection);
        return injection.failed;
    });
}

// The normal output with the given lines (a string of line numbers) replaced
// by their failure lines.
std::string output_with_failures(const RunnerProgram &program, const std::string &failed)
{
    std::vector<std::string> lines = zu_test::split_lines(expected_output(program));
    for (char line : failed) {
        const auto index = static_cast<size_t>(line - '1');
        lines.at(index) = program.failure_lines.at(index);
    }
    std::string text;
    for (const std::string &line : lines)
        text += line + '\n';
    return text;
}

TEST(RunnerAllocationFailure, ProgramAndLibraryAllocations)
{
    size_t injected = 0;
    for (const auto &program : runner_programs) {
        const std::string path = std::string(ZU_FAILALLOC_DIR) + "/" + program.name;
        injected += fail_each_allocation(program, path, {}, [&](const Injection &injection) {
            const auto &failed_lines = injection.once ? program.failed_once : program.failed_from;
            if (injection.failed == 0) {
                EXPECT_EQ(injection.nth, failed_lines.size() + 1) << "allocations made";
                EXPECT_EQ(injection.run.out, expected_output(program));
                return;
            }
            ASSERT_LE(injection.nth, failed_lines.size()) << "more allocations than expected";
            EXPECT_EQ(injection.run.out,
                      output_with_failures(program, failed_lines[injection.nth - 1]));
        });
    }
    printf("injected allocation failures (runners, linked allocator): %zu\n", injected);
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

// The preloaded allocator also fails the stream's buffer, after which the C
// library writes unbuffered, so a heading no longer waits for the end. Every
// script step still prints, its normal line or its failure line; a runner with
// two paths delivers all of each path's bytes in order, however they merge.
TEST(RunnerAllocationFailure, AllAllocationsOfTheProcess)
{
    if (zu_test::sanitized)
        GTEST_SKIP() << "a preloaded allocator cannot run under AddressSanitizer";
    size_t injected = 0;
    for (const auto &program : runner_programs) {
        const std::string normal = expected_output(program);
        const std::vector<std::string> normal_lines = zu_test::split_lines(normal);
        const std::vector<std::string> env = {std::string("LD_PRELOAD=") + ZU_PRELOAD_SHIM};
        injected += fail_each_allocation(
            program, program_path(program), env, [&](const Injection &injection) {
                const std::string &out = injection.run.out;
                if (program.heading != nullptr) {
                    const std::string stdio_text = std::string(program.heading) + '\n';
                    EXPECT_TRUE(is_interleaving(out, stdio_text, direct_output(program))) << out;
                    return;
                }
                const std::vector<std::string> lines = zu_test::split_lines(out);
                ASSERT_EQ(lines.size(), normal_lines.size()) << out;
                for (size_t i = 0; i < lines.size(); i++) {
                    if (lines[i] != normal_lines[i]) {
                        EXPECT_EQ(lines[i], program.failure_lines.at(i));
                    }
                }
            });
    }
    printf("injected allocation failures (runners, preloaded allocator): %zu\n", injected);
}

} // namespace
