#include "run_program.h"

#include "pipes.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace zu_test {
namespace {

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what + ": " + strerror(errno));
}

// An unlinked temporary file, open for reading and writing.
int temporary_file()
{
    std::string name = ZU_SCRATCH_DIR "/run-XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0)
        fail("mkstemp");
    unlink(name.c_str());
    return fd;
}

std::string drain(int fd, size_t chunk = 4096, useconds_t pause = 0)
{
    std::string bytes;
    if (!zu_test::drain(fd, bytes, chunk, pause))
        fail("read");
    return bytes;
}

// Makes the write end of a pipe non-blocking, one page large and full;
// returns the bytes it took to fill it.
size_t fill_nonblocking(int write_end)
{
    if (make_small_and_non_blocking(write_end) < 0)
        fail("fcntl");
    size_t filled = fill(write_end).size();
    if (errno != EAGAIN)
        fail("filling the pipe");
    return filled;
}

std::string rewind_and_drain(int fd)
{
    if (lseek(fd, 0, SEEK_SET) < 0)
        fail("lseek");
    return drain(fd);
}

} // namespace

const char *to_string(Output output)
{
    switch (output) {
    case Output::file:
        return "file";
    case Output::pipe:
        return "pipe";
    case Output::terminal:
        return "terminal";
    case Output::closed:
        return "closed";
    case Output::full:
        return "/dev/full";
    case Output::broken_pipe:
        return "broken pipe";
    case Output::full_nonblocking_pipe:
        return "full non-blocking pipe";
    }
    return "?";
}

bool Run::exited_with(int code) const
{
    return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

bool Run::killed_by(int signal) const
{
    return WIFSIGNALED(status) && WTERMSIG(status) == signal;
}

std::string Run::describe() const
{
    std::string how;
    if (WIFEXITED(status))
        how = "exit status " + std::to_string(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        how = std::string("signal ") + strsignal(WTERMSIG(status));
    else
        how = "status " + std::to_string(status);
    return how + "; stderr: \"" + err + "\"";
}

namespace {

// command[0] is the program and argv[0].
Run run_command(const std::vector<std::string> &command, Output output,
                const std::vector<std::string> &env)
{
    // child_out is what the child gets as descriptor 1 (-1: none);
    // parent_out is where the parent reads it back (-1: nowhere).
    int child_out = -1;
    int parent_out = -1;
    size_t filled = 0; // bytes already in the pipe when the program starts
    switch (output) {
    case Output::file:
        child_out = parent_out = temporary_file();
        break;
    case Output::pipe:
    case Output::broken_pipe:
    case Output::full_nonblocking_pipe: {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) < 0)
            fail("pipe2");
        parent_out = ends[0];
        child_out = ends[1];
        if (output == Output::broken_pipe) {
            close(parent_out);
            parent_out = -1;
        }
        if (output == Output::full_nonblocking_pipe)
            filled = fill_nonblocking(child_out);
        break;
    }
    case Output::terminal: {
        int master = -1;
        int slave = -1;
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) < 0)
            fail("openpty");
        termios settings{};
        tcgetattr(slave, &settings);
        settings.c_oflag &= ~static_cast<tcflag_t>(ONLCR); // keep "\n" as it is written
        tcsetattr(slave, TCSANOW, &settings);
        fcntl(master, F_SETFD, FD_CLOEXEC);
        fcntl(slave, F_SETFD, FD_CLOEXEC);
        parent_out = master;
        child_out = slave;
        break;
    }
    case Output::full:
        child_out = open("/dev/full", O_WRONLY | O_CLOEXEC);
        if (child_out < 0)
            fail("open /dev/full");
        break;
    case Output::closed:
        break;
    }
    int err_file = temporary_file();

    std::vector<char *> argv;
    for (const std::string &arg : command)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0) {
        if (child_out >= 0)
            dup2(child_out, STDOUT_FILENO);
        else
            close(STDOUT_FILENO);
        dup2(err_file, STDERR_FILENO);
        signal(SIGPIPE, SIG_DFL);
        for (const std::string &entry : env)
            putenv(const_cast<char *>(entry.c_str()));
        execv(argv[0], argv.data());
        _exit(127);
    }

    if (child_out >= 0 && child_out != parent_out)
        close(child_out);
    Run run;
    if (output == Output::pipe || output == Output::terminal)
        run.out = drain(parent_out);
    if (output == Output::full_nonblocking_pipe)
        run.out = drain(parent_out, 16, 1000).substr(filled);
    while (waitpid(pid, &run.status, 0) < 0)
        if (errno != EINTR)
            fail("waitpid");
    if (output == Output::file)
        run.out = rewind_and_drain(parent_out);
    if (parent_out >= 0)
        close(parent_out);
    run.err = rewind_and_drain(err_file);
    close(err_file);
    return run;
}

// The emulator's command line, its words separated by '|'; empty for none.
const std::string emulator = ZU_EMULATOR;

} // namespace

std::vector<std::string> target_command(const std::string &path)
{
    std::vector<std::string> command;
    for (size_t start = 0, end = 0; end != std::string::npos && !emulator.empty();
         start = end + 1) {
        end = emulator.find('|', start);
        command.push_back(emulator.substr(start, end - start));
    }
    command.push_back(path);
    return command;
}

Run run_program(const std::string &path, Output output, const std::vector<std::string> &args,
                const std::vector<std::string> &env)
{
    std::vector<std::string> command = target_command(path);
    std::vector<std::string> program_env;
    for (const std::string &entry : env) {
        // qemu's -E sets a variable for the program alone.
        if (!emulator.empty() && entry.rfind("LD_PRELOAD=", 0) == 0)
            command.insert(command.end() - 1, {"-E", entry});
        else
            program_env.push_back(entry);
    }
    command.insert(command.end(), args.begin(), args.end());
    return run_command(command, output, program_env);
}

Run run_host_program(const std::string &path, Output output, const std::vector<std::string> &args,
                     const std::vector<std::string> &env)
{
    std::vector<std::string> command = {path};
    command.insert(command.end(), args.begin(), args.end());
    // The tests read what it prints: untranslated, whatever the user's locale.
    std::vector<std::string> untranslated = {"LC_ALL=C"};
    untranslated.insert(untranslated.end(), env.begin(), env.end());
    return run_command(command, output, untranslated);
}

std::vector<std::string> split_lines(const std::string &text)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TemporaryFile::TemporaryFile()
{
    path_ = ZU_SCRATCH_DIR "/file-XXXXXX";
    int fd = mkstemp(path_.data());
    if (fd < 0)
        fail("mkstemp");
    close(fd);
}

TemporaryFile::~TemporaryFile()
{
    unlink(path_.c_str());
}

std::string read_file(const std::string &path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail("open " + path);
    std::string bytes = drain(fd);
    close(fd);
    return bytes;
}

} // namespace zu_test
