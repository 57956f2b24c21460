// The runner programs, run as a user runs them: exact bytes on standard
// output in a file, a pipe and on a terminal; nothing on standard error; exit
// status 0; and nothing needed at run time but the C library.
//
// The programs may be built for another C library than the tests: linked
// statically (ZU_STATIC_PROGRAMS, musl), or for Windows and run under wine
// (ZU_WINDOWS_PROGRAMS), where only files and pipes are theirs to compare:
// wine's console is no terminal of this machine, and Windows has no signals
// or non-blocking pipes.
#include "runner_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using zu_test::Output;
using zu_test::run_program;
using zu_test::runner_programs;

TEST(Runners, PrintExactlyTheirLinesWhereverOutputGoes)
{
    const std::vector<std::string> argument_lists[] = {{}, {"--help", "-", "extra argument"}};
    for (const auto &program : runner_programs) {
#if ZU_WINDOWS_PROGRAMS
        for (Output output : {Output::file, Output::pipe}) {
#else
        for (Output output : {Output::file, Output::pipe, Output::terminal}) {
#endif
            for (const auto &args : argument_lists) {
                SCOPED_TRACE(std::string(program.name) + " to a " + to_string(output) + " with " +
                             std::to_string(args.size()) + " arguments");
                zu_test::Run run = run_program(program_path(program), output, args);
                EXPECT_TRUE(run.exited_with(0)) << run.describe();
                EXPECT_EQ(run.err, "");
                EXPECT_EQ(run.out, expected_output(program, output));
            }
        }
    }
}

#if !ZU_WINDOWS_PROGRAMS
// Output that goes nowhere is ignored; a pipe whose reader has gone raises
// SIGPIPE, whose default action ends the program (not a crash).
TEST(Runners, SurviveOutputThatFails)
{
    for (const auto &program : runner_programs) {
        for (Output output : {Output::closed, Output::full, Output::broken_pipe}) {
            SCOPED_TRACE(std::string(program.name) + " to " + to_string(output));
            zu_test::Run run = run_program(program_path(program), output);
            if (output == Output::broken_pipe)
                EXPECT_TRUE(run.killed_by(SIGPIPE)) << run.describe();
            else
                EXPECT_TRUE(run.exited_with(0)) << run.describe();
            EXPECT_EQ(run.err, "");
        }
    }
}

// Into a full non-blocking pipe with a slow reader, every byte the library
// writes arrives. The heading goes through stdio, which gives up on such a
// pipe: it may be missing.
TEST(Runners, DeliverEveryLibraryByteIntoAFullNonBlockingPipe)
{
    for (const auto &program : runner_programs) {
        if (program.heading == nullptr)
            continue;
        SCOPED_TRACE(program.name);
        zu_test::Run run = run_program(program_path(program), Output::full_nonblocking_pipe);
        EXPECT_TRUE(run.exited_with(0)) << run.describe();
        EXPECT_EQ(run.err, "");
        if (run.out != expected_output(program)) {
            EXPECT_EQ(run.out, direct_output(program));
        }
    }
}

// Sizes of the write(2) calls on descriptor 1, in order, as strace saw them:
// the bytes written by each call, where stdio flushes with writev(2).
std::vector<size_t> traced_writes(const std::string &path)
{
    zu_test::TemporaryFile trace;
    // LeakSanitizer cannot work under ptrace; the other tests check for leaks.
    std::vector<std::string> args = {"-qq", "-e", "trace=write,writev", "-o", trace.path()};
    const std::vector<std::string> command = zu_test::target_command(path);
    args.insert(args.end(), command.begin(), command.end());
    zu_test::Run run = zu_test::run_host_program("/usr/bin/strace", Output::file, args,
                                                 {"ASAN_OPTIONS=detect_leaks=0"});
    EXPECT_TRUE(run.exited_with(0)) << run.describe();

    std::vector<size_t> sizes;
    for (const std::string &line : zu_test::split_lines(trace.contents())) {
        // write(1, "...", COUNT)    = RESULT
        // writev(1, [{iov_base="...", iov_len=N}, ...], 2) = RESULT
        size_t result = line.rfind(" = ");
        if (result == std::string::npos)
            continue;
        if (line.rfind("writev(1, ", 0) == 0) {
            sizes.push_back(std::stoul(line.substr(result + 3)));
        } else if (line.rfind("write(1, ", 0) == 0) {
            size_t close = line.rfind(')', result);
            size_t count = line.rfind(", ", close) + 2;
            sizes.push_back(std::stoul(line.substr(count, close - count)));
        }
    }
    return sizes;
}

// In a file: each byte from the library is a write of its own, then stdio
// flushes what it held (the heading, or everything) in one write at exit.
TEST(Runners, WriteEveryLibraryByteWithASystemCallOfItsOwn)
{
    if (access("/usr/bin/strace", X_OK) != 0)
        GTEST_SKIP() << "strace is not installed";
    for (const auto &program : runner_programs) {
        SCOPED_TRACE(program.name);
        size_t total = expected_output(program).size();
        size_t buffered = program.heading != nullptr ? strlen(program.heading) + 1 : total;
        std::vector<size_t> expected(total - buffered, 1);
        expected.push_back(buffered);
        EXPECT_EQ(traced_writes(program_path(program)), expected);
    }
}

#if ZU_STATIC_PROGRAMS
// Linked statically against another C library: nothing is loaded at run time,
// and nothing of the GNU C library (its stdio's _IO_ objects) is inside.
TEST(Runners, NeedNothingAtRunTime)
{
    for (const auto &program : runner_programs) {
        SCOPED_TRACE(program.name);
        zu_test::Run run = zu_test::run_host_program(
            "/usr/bin/readelf", Output::pipe,
            {"--dynamic", "--program-headers", "--syms", "--wide", program_path(program)});
        ASSERT_TRUE(run.exited_with(0)) << run.describe();
        EXPECT_NE(run.out.find("There is no dynamic section"), std::string::npos);
        EXPECT_EQ(run.out.find("INTERP"), std::string::npos);
        EXPECT_EQ(run.out.find(" _IO_"), std::string::npos);
        EXPECT_EQ(run.out.find("GLIBC"), std::string::npos);
    }
}
#else
// Where the C library keeps the stack protector's guard in its dynamic loader
// (32-bit and 64-bit ARM, RISC-V), the loader is needed too: it is part of
// the C library and starts every program anyway.
TEST(Runners, NeedOnlyTheCLibraryAtRunTime)
{
    if (zu_test::sanitized)
        GTEST_SKIP() << "a sanitized program carries the sanitizer's runtime";
    for (const auto &program : runner_programs) {
        SCOPED_TRACE(program.name);
        zu_test::Run run = zu_test::run_host_program(
            "/usr/bin/readelf", Output::pipe,
            {"--dynamic", "--program-headers", "--wide", program_path(program)});
        ASSERT_TRUE(run.exited_with(0)) << run.describe();
        // "[Requesting program interpreter: /lib/ld-linux-armhf.so.3]"
        const size_t interpreter_end = run.out.find(']', run.out.find("program interpreter: "));
        const size_t interpreter = run.out.rfind('/', interpreter_end) + 1;
        const std::string loader = run.out.substr(interpreter, interpreter_end - interpreter);
        std::vector<std::string> needed;
        const std::string marker = "Shared library: [";
        for (size_t at = run.out.find(marker); at != std::string::npos;
             at = run.out.find(marker, at)) {
            at += marker.size();
            needed.push_back(run.out.substr(at, run.out.find(']', at) - at));
        }
        const std::vector<std::string> libc_alone = {"libc.so.6"};
        const std::vector<std::string> libc_and_loader = {"libc.so.6", loader};
        EXPECT_TRUE(needed == libc_alone || needed == libc_and_loader)
            << testing::PrintToString(needed) << "; the loader is " << loader;
    }
}

// calloc_runner's output cannot tell the C library's calloc from zu_calloc,
// so look at the program: it must import calloc and hold no zu_calloc.
TEST(Runners, CallocRunnerProbesTheCLibrarysCalloc)
{
    zu_test::Run run = zu_test::run_host_program(
        "/usr/bin/readelf", Output::pipe, {"--syms", "--wide", ZU_RUNTIME_DIR "/calloc_runner"});
    ASSERT_TRUE(run.exited_with(0)) << run.describe();
    bool imports_calloc = false;
    for (const std::string &line : zu_test::split_lines(run.out)) {
        // "Num: Value Size Type Bind Vis Ndx Name", where some CPUs add a
        // field before Ndx: the name is the last field, UND one of the others.
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;)
            fields.push_back(word);
        if (fields.size() < 2)
            continue;
        const std::string name = fields.back().substr(0, fields.back().find('@'));
        EXPECT_NE(name, "zu_calloc") << line;
        imports_calloc |=
            name == "calloc" && std::find(fields.begin(), fields.end(), "UND") != fields.end();
    }
    // A sanitizer's runtime brings its own calloc, which calls the C library's.
    if (!zu_test::sanitized) {
        EXPECT_TRUE(imports_calloc) << run.out;
    }
}

#endif
#endif

} // namespace
