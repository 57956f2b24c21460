// Runs a program with its standard output sent to a chosen kind of file and
// collects what it printed and how it ended.
#ifndef ZU_TESTS_RUN_PROGRAM_H
#define ZU_TESTS_RUN_PROGRAM_H

#include <string>
#include <vector>

namespace zu_test {

enum class Output {
    file,        // a regular file
    pipe,        // a pipe read to its end
    terminal,    // a pseudo-terminal, with "\n" left untranslated
    closed,      // descriptor 1 closed
    full,        // /dev/full: every write fails with ENOSPC
    broken_pipe, // a pipe whose reader has already gone
};

const char *to_string(Output output);

struct Run {
    std::string out; // bytes written to standard output (empty where unreadable)
    std::string err; // bytes written to standard error
    int status = -1; // as from waitpid
    bool exited_with(int code) const;
    bool killed_by(int signal) const;
    std::string describe() const; // how it ended, for failure messages
};

// Runs path with args (argv[0] is path) and the current environment plus env
// ("NAME=value" entries). SIGPIPE is reset to its default in the child.
Run run_program(const std::string &path, Output output, const std::vector<std::string> &args = {},
                const std::vector<std::string> &env = {});

std::string read_file(const std::string &path);

} // namespace zu_test

#endif
