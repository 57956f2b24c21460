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
    // a non-blocking pipe of one page, full when the program starts and read
    // 16 bytes per millisecond; out holds what came after the filling
    full_nonblocking_pipe,
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

// The command that starts a program built for the target: the program
// itself, or the emulator that runs it when the tests run under one.
std::vector<std::string> target_command(const std::string &path);

// Runs a program built for the target, as target_command starts it, with args
// and the current environment plus env ("NAME=value" entries). Under an
// emulator, LD_PRELOAD goes to the program, not to the emulator's own loader.
// SIGPIPE is reset to its default in the child.
Run run_program(const std::string &path, Output output, const std::vector<std::string> &args = {},
                const std::vector<std::string> &env = {});

// Likewise a program of the machine the tests run on (readelf, strace), in
// the C locale, so that what it prints can be read.
Run run_host_program(const std::string &path, Output output,
                     const std::vector<std::string> &args = {},
                     const std::vector<std::string> &env = {});

std::string read_file(const std::string &path);

std::vector<std::string> split_lines(const std::string &text);

// A new empty file in the build tree, removed again with the object.
class TemporaryFile {
  public:
    TemporaryFile();
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    const std::string &path() const
    {
        return path_;
    }
    std::string contents() const
    {
        return read_file(path_);
    }

  private:
    std::string path_;
};

// Built with AddressSanitizer: programs carry its runtime, and nothing can be
// preloaded ahead of it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool sanitized = true;
#elif defined(__has_feature)
inline constexpr bool sanitized = __has_feature(address_sanitizer);
#else
inline constexpr bool sanitized = false;
#endif

} // namespace zu_test

#endif
