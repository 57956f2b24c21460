// The runner programs, run as a user runs them: exact bytes on standard
// output in a file, a pipe and on a terminal; nothing on standard error; exit
// status 0; and nothing needed at run time but the C library.
#include "run_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using zu_test::Output;
using zu_test::run_program;

struct Runner {
    const char *program;
    const char *expected;          // output in a file or a pipe
    const char *expected_terminal; // output on a terminal
    const char *heading;           // its one line through stdio, if the rest is not
};

// The descriptor-output runners print their heading through stdio and the
// rest straight to descriptor 1, so the heading leaves with its line end on a
// terminal and only at exit elsewhere.
const Runner runners[] = {
    {"substr_runner", "substr_runner.txt", "substr_runner.txt", nullptr},
    {"putnbr_runner", "putnbr_runner.txt", "putnbr_runner.terminal.txt",
     "Testing my zu_putnbr_fd:"},
    {"putendl_runner", "putendl_runner.txt", "putendl_runner.terminal.txt",
     "Testing my zu_putendl_fd:"},
    {"putstr_runner", "putstr_runner.txt", "putstr_runner.terminal.txt", "Testing my zu_putstr:"},
    {"lstnew_runner", "lstnew_runner.txt", "lstnew_runner.txt", nullptr},
    {"calloc_runner", "calloc_runner.txt", "calloc_runner.txt", nullptr},
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

// Output that goes nowhere is ignored; a pipe whose reader has gone raises
// SIGPIPE, whose default action ends the program (not a crash).
TEST(Runners, SurviveOutputThatFails)
{
    for (const Runner &runner : runners) {
        for (Output output : {Output::closed, Output::full, Output::broken_pipe}) {
            SCOPED_TRACE(std::string(runner.program) + " to " + to_string(output));
            zu_test::Run run = run_program(program_path(runner.program), output);
            if (output == Output::broken_pipe)
                EXPECT_TRUE(run.killed_by(SIGPIPE)) << run.describe();
            else
                EXPECT_TRUE(run.exited_with(0)) << run.describe();
            EXPECT_EQ(run.err, "");
        }
    }
}

// Sizes of the write(2) calls on descriptor 1, in order, as strace saw them.
std::vector<size_t> traced_writes(const std::string &program)
{
    char trace[] = "/tmp/zu-trace-XXXXXX";
    int fd = mkstemp(trace);
    EXPECT_GE(fd, 0);
    close(fd);
    // LeakSanitizer cannot work under ptrace; the other tests check for leaks.
    zu_test::Run run = run_program("/usr/bin/strace", Output::file,
                                   {"-qq", "-e", "trace=write", "-o", trace, program},
                                   {"ASAN_OPTIONS=detect_leaks=0"});
    EXPECT_TRUE(run.exited_with(0)) << run.describe();
    std::string lines = zu_test::read_file(trace);
    unlink(trace);

    std::vector<size_t> sizes;
    for (size_t start = 0, end; start < lines.size(); start = end + 1) {
        end = lines.find('\n', start);
        std::string line = lines.substr(start, end - start);
        // write(1, "...", COUNT)    = RESULT
        size_t result = line.rfind(" = ");
        if (line.rfind("write(1, ", 0) != 0 || result == std::string::npos)
            continue;
        size_t close = line.rfind(')', result);
        size_t count = line.rfind(", ", close) + 2;
        sizes.push_back(std::stoul(line.substr(count, close - count)));
    }
    return sizes;
}

// In a file: each byte from the library is a write of its own, then stdio
// flushes what it held (the heading, or everything) in one write at exit.
TEST(Runners, WriteEveryLibraryByteWithASystemCallOfItsOwn)
{
    if (access("/usr/bin/strace", X_OK) != 0)
        GTEST_SKIP() << "strace is not installed";
    for (const Runner &runner : runners) {
        SCOPED_TRACE(runner.program);
        size_t total = expected_output(runner.expected).size();
        size_t buffered = runner.heading != nullptr ? strlen(runner.heading) + 1 : total;
        std::vector<size_t> expected(total - buffered, 1);
        expected.push_back(buffered);
        EXPECT_EQ(traced_writes(program_path(runner.program)), expected);
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
