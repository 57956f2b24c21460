// The six runner programs, and what the tests know of each.
#ifndef ZU_TESTS_RUNNER_PROGRAMS_H
#define ZU_TESTS_RUNNER_PROGRAMS_H

#include "run_program.h"

#include <string>
#include <vector>

namespace zu_test {

struct RunnerProgram {
    const char *name;
    // The one line printed through stdio when everything else goes straight
    // to descriptor 1: it comes first on a terminal and last elsewhere.
    const char *heading;
    // Line k (from 1) of the normal output when its allocation failed; "" for
    // a line that allocates nothing.
    std::vector<std::string> failure_lines;
    // With the nth allocation failed once, and failed from then on: the lines
    // that show a failure, as a string of line numbers.
    std::vector<std::string> failed_once;
    std::vector<std::string> failed_from;
};

inline const RunnerProgram runner_programs[] = {
    {"substr_runner",
     nullptr,
     {"Result 1: '(null)'", "Result 2: '(null)'", "Result 3: '(null)'", "", "Result 5: '(null)'"},
     {"1", "2", "3", "5"},
     {"1235", "235", "35", "5"}},
    {"putnbr_runner", "Testing my zu_putnbr_fd:", {}, {}, {}},
    {"putendl_runner", "Testing my zu_putendl_fd:", {}, {}, {}},
    {"putstr_runner", "Testing my zu_putstr:", {}, {}, {}},
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
};

inline std::string program_path(const RunnerProgram &program)
{
    return std::string(ZU_RUNTIME_DIR) + "/" + program.name + ZU_PROGRAM_SUFFIX;
}

// The expected bytes in a file or a pipe, kept in tests/expected/<name>.txt.
inline std::string expected_output(const RunnerProgram &program)
{
    return read_file(std::string(ZU_EXPECTED_DIR) + "/" + program.name + ".txt");
}

// For a program with a heading: the bytes the library writes straight to
// descriptor 1, which is its output in a file without the heading at the end.
inline std::string direct_output(const RunnerProgram &program)
{
    const std::string output = expected_output(program);
    return output.substr(0, output.size() - std::string(program.heading).size() - 1);
}

// The expected bytes on output: on a terminal, where stdout is line-buffered,
// a heading leaves at once and comes before the direct writes.
inline std::string expected_output(const RunnerProgram &program, Output output)
{
    if (program.heading != nullptr && output == Output::terminal)
        return std::string(program.heading) + "\n" + direct_output(program);
    return expected_output(program);
}

} // namespace zu_test

#endif
