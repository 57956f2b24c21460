// The runner programs, run as a user runs them: exact bytes on standard
// output in a file, a pipe and on a terminal; nothing on standard error; exit
// status 0; and nothing needed at run time but the C library.
#include "run_program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zu_test::Output;
using zu_test::run_program;

struct Runner {
    const char *program;
    const char *expected;          // output in a file or a pipe
    const char *expected_terminal; // output on a terminal
};

// The three descriptor-output runners print their heading through stdio and
// the rest straight to descriptor 1, so the heading leaves with the first line
// end on a terminal and only at exit elsewhere.
const Runner runners[] = {
    {"substr_runner", "substr_runner.txt", "substr_runner.txt"},
};

std::string program_path(const char *program)
{
    return std::string(ZU_RUNTIME_DIR) + "/" + program;
}

std::string expected_output(const char *file)
{
    return zu_test::read_file(std::string(ZU_EXPECTED_DIR) + "/" + file);
}

TEST(Runners, PrintExactlyTheirLinesWhereverOutputGoes)
{
    const std::vector<std::string> argument_lists[] = {{}, {"--help", "-", "extra argument"}};
    for (const Runner &runner : runners) {
        for (Output output : {Output::file, Output::pipe, Output::terminal}) {
            for (const auto &args : argument_lists) {
                SCOPED_TRACE(std::string(runner.program) + " to a " + to_string(output) + " with " +
                             std::to_string(args.size()) + " arguments");
                zu_test::Run run = run_program(program_path(runner.program), output, args);
                EXPECT_TRUE(run.exited_with(0)) << run.describe();
                EXPECT_EQ(run.err, "");
                EXPECT_EQ(run.out,
                          expected_output(output == Output::terminal ? runner.expected_terminal
                                                                     : runner.expected));
            }
        }
    }
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZU_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZU_SANITIZED 1
#endif

TEST(Runners, NeedOnlyTheCLibraryAtRunTime)
{
#ifdef ZU_SANITIZED
    GTEST_SKIP() << "a sanitized program carries the sanitizer's runtime";
#endif
    for (const Runner &runner : runners) {
        SCOPED_TRACE(runner.program);
        zu_test::Run run = run_program("/usr/bin/readelf", Output::pipe,
                                       {"--dynamic", "--wide", program_path(runner.program)});
        ASSERT_TRUE(run.exited_with(0)) << run.describe();
        std::vector<std::string> needed;
        const std::string marker = "Shared library: [";
        for (size_t at = run.out.find(marker); at != std::string::npos;
             at = run.out.find(marker, at)) {
            at += marker.size();
            needed.push_back(run.out.substr(at, run.out.find(']', at) - at));
        }
        EXPECT_EQ(needed, std::vector<std::string>{"libc.so.6"});
    }
}

} // namespace
