// The descriptor-output contract, seen through a recording write(): one call
// of count 1 per byte, on the descriptor given, at the moment of the call; and
// on a full non-blocking descriptor, a bounded poll() for room before a byte is
// tried again, never a busy loop.
// The recorder defines write(), poll() and fcntl() of its own: none of them
// may be an inline fortified version.
#undef _FORTIFY_SOURCE

#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include "pipes.h"
#include <dlfcn.h>

#include <linux/net_tstamp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// The longest a wait for room may last, and the longest pause, in ms.
constexpr int longest_wait_ms = 1000;

struct WriteCall {
    int fd;
    size_t count;
    char byte; // the first byte handed over
};

// A scripted write error that is no error: the write returns 0, with errno
// still EINTR from some earlier call.
constexpr int wrote_nothing = -1;

#ifdef _WIN32
// Windows has no poll() and no non-blocking descriptors: the writers never
// wait there, and a scripted wait or F_GETFL stands for nothing.
struct pollfd {
    int fd;
    short events;
    short revents;
};
constexpr short POLLOUT = 0x4;
constexpr int O_NONBLOCK = 0;
#endif

// What one poll() for room does: fail with error, or report revents (none:
// its time ran out).
struct Wait {
    int error;
    short revents;
};
constexpr Wait room = {0, POLLOUT};
#ifndef _WIN32
constexpr Wait interrupted = {EINTR, 0};
constexpr Wait poll_failed = {ENOMEM, 0};
constexpr Wait timed_out = {0, 0};
constexpr Wait hung_up = {0, POLLHUP};
constexpr Wait error_queued = {0, POLLERR};
constexpr Wait invalid = {0, POLLNVAL};
#endif

// While recording, write(), poll() and fcntl() keep each call and act as
// scripted; otherwise calls go to the real ones.
struct Recorder {
    bool recording = false;
    std::vector<WriteCall> calls;
    std::deque<int> scripted_errors;   // errno of each write in turn; 0 lets it succeed
    std::vector<pollfd> waits;         // polls for room
    std::deque<Wait> scripted_waits;   // room, once they run out
    std::vector<int> pauses;           // polls on no descriptor: sleeps, in ms
    int flags = O_WRONLY | O_NONBLOCK; // what F_GETFL reports; -1 fails
};
Recorder recorder;

struct Recording {
    explicit Recording(std::deque<int> errors = {}, std::deque<Wait> waits = {},
                       int flags = O_WRONLY | O_NONBLOCK)
    {
        recorder = Recorder{true, {}, std::move(errors), {}, std::move(waits), {}, flags};
    }
    ~Recording()
    {
        recorder.recording = false;
    }
    Recording(const Recording &) = delete;
    Recording &operator=(const Recording &) = delete;
};

// What a writer in a child process did, kept in memory it shares with the
// parent: its calls, counted as it makes them, and whether and when it
// returned.
struct Outcome {
    long writes;
    long written; // bytes the writes took
    long polls;
    bool returned;
    double seconds;
};
Outcome *counting = nullptr;

// A recorded write(): real is the C library's.
template <typename RealWrite>
ssize_t record_write(int fd, const void *buffer, size_t count, RealWrite real)
{
    if (counting != nullptr)
        counting->writes++;
    if (!recorder.recording) {
        const auto written = real(fd, buffer, count);
        if (counting != nullptr && written > 0)
            counting->written += written;
        return written;
    }
    recorder.calls.push_back({fd, count, count > 0 ? *static_cast<const char *>(buffer) : '\0'});
    std::deque<int> &errors = recorder.scripted_errors;
    const int error = errors.empty() ? 0 : errors.front();
    if (!errors.empty())
        errors.pop_front();
    if (error == wrote_nothing) {
        errno = EINTR;
        return 0;
    }
    errno = error;
    return error == 0 ? static_cast<ssize_t>(count) : -1;
}

} // namespace

// Linked with --wrap, the calls of the program's own objects (libzu.a's among
// them) to write() reach __wrap_write, and __real_write is the C library's
// (on Windows, _write() and __wrap__write). Against libzu.so, the program
// defines write() itself, which the library's calls find first, and the C
// library's comes next.
#if defined(_WIN32)
// The C runtime's _write() is a DLL's, called through its import pointer
// __imp__write: wrapped, that pointer is this one, and __real___imp__write
// the C runtime's.
using Write = int (*)(int fd, const void *buffer, unsigned int count);
extern "C" Write __real___imp__write;
namespace {
int recorded_write(int fd, const void *buffer, unsigned int count)
{
    return static_cast<int>(
        record_write(fd, buffer, count, [](int to, const void *bytes, size_t n) {
            return __real___imp__write(to, bytes, static_cast<unsigned int>(n));
        }));
}
} // namespace
extern "C" {
Write __wrap___imp__write = recorded_write;
}
#else
#ifdef ZU_TEST_SHARED_LIBRARY
#define ZU_WRAPPED(name) name
#define ZU_REAL(name) (reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)))
#else
#define ZU_WRAPPED(name) __wrap_##name
#define ZU_REAL(name) __real_##name
extern "C" ssize_t __real_write(int fd, const void *buffer, size_t count);
extern "C" int __real_poll(pollfd *fds, nfds_t count, int timeout);
extern "C" int __real_fcntl(int fd, int command, ...);
#endif

extern "C" ssize_t ZU_WRAPPED(write)(int fd, const void *buffer, size_t count)
{
    return record_write(fd, buffer, count, ZU_REAL(write));
}

extern "C" int ZU_WRAPPED(poll)(pollfd *fds, nfds_t count, int timeout)
{
    if (counting != nullptr)
        counting->polls++;
    if (!recorder.recording)
        return ZU_REAL(poll)(fds, count, timeout);
    if (count == 0) {
        recorder.pauses.push_back(timeout);
        return 0;
    }
    EXPECT_EQ(count, 1U);
    EXPECT_GT(timeout, 0) << "a wait for room ends";
    EXPECT_LE(timeout, longest_wait_ms);
    recorder.waits.push_back(fds[0]);
    std::deque<Wait> &waits = recorder.scripted_waits;
    const Wait wait = waits.empty() ? room : waits.front();
    if (!waits.empty())
        waits.pop_front();
    if (wait.error != 0) {
        errno = wait.error;
        return -1;
    }
    fds[0].revents = wait.revents;
    return wait.revents != 0 ? 1 : 0;
}

// fcntl() takes its third argument, where there is one, as the C library
// itself does.
extern "C" int ZU_WRAPPED(fcntl)(int fd, int command, ...)
{
    va_list rest;
    va_start(rest, command);
    void *argument = va_arg(rest, void *);
    va_end(rest);
    if (!recorder.recording)
        return ZU_REAL(fcntl)(fd, command, argument);
    EXPECT_EQ(command, F_GETFL);
    if (recorder.flags < 0)
        errno = EBADF;
    return recorder.flags;
}
#endif

namespace {

// What a sequence of library calls hands to write() on fd, one recorded byte
// per call, with the writes, the waits for room and F_GETFL acting as
// scripted; fails the test if any call is not a single byte on fd, any poll
// not a wait for room on fd, or the pauses do not grow.
std::string bytes_written(int fd, const std::function<void()> &output, std::deque<int> errors = {},
                          std::deque<Wait> waits = {}, int flags = O_WRONLY | O_NONBLOCK)
{
    Recording recording(std::move(errors), std::move(waits), flags);
    output();
    std::string bytes;
    for (const WriteCall &call : recorder.calls) {
        EXPECT_EQ(call.fd, fd);
        EXPECT_EQ(call.count, 1U);
        bytes += call.byte;
    }
    for (const pollfd &waited : recorder.waits) {
        EXPECT_EQ(waited.fd, fd);
        EXPECT_EQ(waited.events, POLLOUT);
    }
    for (size_t i = 0; i < recorder.pauses.size(); i++) {
        EXPECT_GT(recorder.pauses[i], 0);
        EXPECT_LE(recorder.pauses[i], longest_wait_ms);
        if (i > 0) {
            EXPECT_GE(recorder.pauses[i], recorder.pauses[i - 1]) << "pause " << i;
        }
    }
    return bytes;
}

TEST(FdOutput, OneWriteOfOneBytePerByte)
{
    const int fd = 7; // never opened: nothing reaches a real descriptor
    const struct {
        const char *name;
        std::function<void()> output;
        std::string expected; // one write per byte
    } cases[] = {
        {"putchar 'a'", [] { zu_putchar_fd('a', fd); }, "a"},
        {"putchar of the zero byte", [] { zu_putchar_fd('\0', fd); }, std::string(1, '\0')},
        {"putchar of byte 0xff", [] { zu_putchar_fd('\xff', fd); }, "\xff"},
        {"putstr \"Hello\"", [] { zu_putstr_fd("Hello", fd); }, "Hello"},
        {"putstr \"\" makes no call", [] { zu_putstr_fd("", fd); }, ""},
        {"putstr null makes no call", [] { zu_putstr_fd(nullptr, fd); }, ""},
        {"putendl \"ab\"", [] { zu_putendl_fd("ab", fd); }, "ab\n"},
        {"putendl \"\"", [] { zu_putendl_fd("", fd); }, "\n"},
        {"putendl null", [] { zu_putendl_fd(nullptr, fd); }, "\n"},
        {"putnbr -7", [] { zu_putnbr_fd(-7, fd); }, "-7"},
        {"putnbr 10", [] { zu_putnbr_fd(10, fd); }, "10"},
        {"putnbr smallest int", [] { zu_putnbr_fd(INT_MIN, fd); }, "-2147483648"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytes_written(fd, c.output), c.expected);
    }
}

std::string putnbr(int n)
{
    return bytes_written(1, [n] { zu_putnbr_fd(n, 1); });
}

std::string printf_d(int n)
{
    char text[16];
    snprintf(text, sizeof text, "%d", n);
    return text;
}

TEST(FdOutput, PutnbrAgreesWithPrintf)
{
    for (int n : {0, 1, -1, 9, -9, 10, -10, 99, 100, -100, INT_MAX, INT_MIN, INT_MIN + 1}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(putnbr(n), printf_d(n));
    }
    // Every 9973rd int, from the smallest to the largest: 430665 values.
    size_t mismatches = 0;
    for (long long n = INT_MIN; n <= INT_MAX; n += 9973)
        mismatches += putnbr(static_cast<int>(n)) != printf_d(static_cast<int>(n));
    EXPECT_EQ(mismatches, 0U);
}

#ifndef _WIN32
TEST(FdOutput, AnInterruptedOrBlockedWriteIsRepeatedAndNoOtherFailureIs)
{
    const struct {
        const char *name;
        std::function<void()> output;
        std::deque<int> errors; // errno of each write in turn; 0 lets it succeed
        std::string attempts;   // the byte each write was handed
        size_t waits;           // polls for room before a write was tried again
        std::deque<Wait> scripted_waits = {};
        size_t pauses = 0; // sleeps after a wait that ended at once without room
        int flags = O_WRONLY | O_NONBLOCK;
    } cases[] = {
        {"EINTR", [] { zu_putstr_fd("ab", 4); }, {EINTR}, "aab", 0},
        {"EINTR twice", [] { zu_putstr_fd("ab", 4); }, {EINTR, EINTR}, "aaab", 0},
        {"EINTR on the line end", [] { zu_putendl_fd("a", 4); }, {0, EINTR}, "a\n\n", 0},
        {"EINTR on a digit", [] { zu_putnbr_fd(-7, 4); }, {0, EINTR}, "-77", 0},
        {"returns 0, errno still EINTR", [] { zu_putchar_fd('a', 4); }, {wrote_nothing}, "a", 0},
        {"EAGAIN", [] { zu_putchar_fd('a', 4); }, {EAGAIN}, "aa", 1},
        {"EAGAIN x3", [] { zu_putstr_fd("ab", 4); }, {EAGAIN, EAGAIN, EAGAIN}, "aaaab", 3},
        {"EAGAIN on the line end", [] { zu_putendl_fd("a", 4); }, {0, EAGAIN}, "a\n\n", 1},
        {"EAGAIN on a digit", [] { zu_putnbr_fd(-7, 4); }, {0, EAGAIN, EAGAIN}, "-777", 2},
        {"EAGAIN, then EINTR", [] { zu_putstr_fd("ab", 4); }, {EAGAIN, EINTR}, "aaab", 1},
        {"EAGAIN, then returns 0", [] { zu_putchar_fd('a', 4); }, {EAGAIN, wrote_nothing}, "aa", 1},
        {"EAGAIN, wait interrupted",
         [] { zu_putstr_fd("ab", 4); },
         {EAGAIN},
         "aab",
         2,
         {interrupted}},
        {"EAGAIN, wait fails: a pause, then the write decides",
         [] { zu_putstr_fd("ab", 4); },
         {EAGAIN},
         "aab",
         1,
         {poll_failed},
         1},
        {"EAGAIN, wait times out",
         [] { zu_putchar_fd('a', 4); },
         {EAGAIN, EAGAIN},
         "aaa",
         2,
         {timed_out}},
        {"EAGAIN, waits end at once without room",
         [] { zu_putchar_fd('a', 4); },
         {EAGAIN, EAGAIN, EAGAIN, EAGAIN},
         "aaaaa",
         4,
         {hung_up, error_queued, invalid, room},
         3},
        {"EAGAIN on a blocking fd: its send timeout ran out",
         [] { zu_putstr_fd("ab", 4); },
         {EAGAIN},
         "ab",
         0,
         {},
         0,
         O_WRONLY},
        {"EAGAIN, F_GETFL fails", [] { zu_putstr_fd("ab", 4); }, {EAGAIN}, "ab", 0, {}, 0, -1},
        {"EBADF", [] { zu_putstr_fd("ab", 4); }, {EBADF}, "ab", 0},
        {"ENOSPC", [] { zu_putstr_fd("ab", 4); }, {ENOSPC}, "ab", 0},
        {"EPIPE", [] { zu_putstr_fd("ab", 4); }, {EPIPE}, "ab", 0},
        {"EIO", [] { zu_putstr_fd("ab", 4); }, {EIO}, "ab", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytes_written(4, c.output, c.errors, c.scripted_waits, c.flags), c.attempts);
        EXPECT_EQ(recorder.waits.size(), c.waits);
        EXPECT_EQ(recorder.pauses.size(), c.pauses);
    }

    // A descriptor that stays unwritable is tried ever more rarely, until
    // once per longest wait.
    EXPECT_EQ(bytes_written(
                  4, [] { zu_putchar_fd('a', 4); }, std::deque<int>(13, EAGAIN),
                  std::deque<Wait>(12, hung_up)),
              std::string(14, 'a'));
    ASSERT_EQ(recorder.pauses.size(), 12U);
    EXPECT_EQ(recorder.pauses.back(), longest_wait_ms);
}

#endif

#ifdef _WIN32
int make_pipe(int ends[2])
{
    return _pipe(ends, 4096, _O_BINARY);
}
const char *const null_device = "NUL";
#else
int make_pipe(int ends[2])
{
    return pipe(ends);
}
const char *const null_device = "/dev/null";
#endif

// Real descriptors: the bytes arrive as written and in order, in a pipe and
// in a file, and a closed or invalid descriptor is no obstacle.
TEST(FdOutput, RealDescriptors)
{
    const auto write_to = [](int fd) {
        zu_putnbr_fd(INT_MIN, fd);
        zu_putendl_fd("ok", fd);
    };
    const std::string expected = "-2147483648ok\n";
    char text[32] = {};
    int ends[2];
    ASSERT_EQ(make_pipe(ends), 0);
    write_to(ends[1]);
    close(ends[1]);
    EXPECT_EQ(read(ends[0], text, sizeof text), 14);
    EXPECT_EQ(text, expected);
    close(ends[0]);

    FILE *file = tmpfile();
    ASSERT_NE(file, nullptr);
    write_to(fileno(file));
    EXPECT_EQ(lseek(fileno(file), 0, SEEK_SET), 0);
    EXPECT_EQ(read(fileno(file), text, sizeof text), 14);
    EXPECT_EQ(text, expected);
    fclose(file);

    int closed = open(null_device, O_WRONLY);
    ASSERT_GE(closed, 0);
    close(closed);
    for (int nowhere : {closed, -1}) {
        zu_putendl_fd("into nothing", nowhere);
        zu_putnbr_fd(-1, nowhere);
    }
}

#ifndef _WIN32
using zu_test::fill;

// Fills fd until it has taken nothing more for a tenth of a second.
void fill_for_good(int fd)
{
    while (!fill(fd).empty())
        usleep(100000);
}

// A thread that reads fd to its end into text, pausing after each read.
std::thread read_to_end(int fd, std::string &text, useconds_t pause = 0)
{
    return std::thread([fd, &text, pause] { zu_test::drain(fd, text, 512, pause); });
}

// Gives a pipe one page and a non-blocking write end; returns that end.
int make_small_and_non_blocking(const int ends[2])
{
    const int write_end = zu_test::make_small_and_non_blocking(ends[1]);
    EXPECT_EQ(write_end, ends[1]) << "a small, non-blocking pipe";
    return write_end;
}

// A non-blocking pipe that is full, drained by a reader slower than the
// writer: every byte arrives, once and in order.
TEST(FdOutput, NothingIsLostOnAFullNonBlockingPipe)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::string expected = fill(make_small_and_non_blocking(ends));
    ASSERT_EQ(errno, EAGAIN) << "the pipe was filled";

    std::string arrived;
    std::thread reader = read_to_end(ends[0], arrived, 1000);
    std::string text(65536, '\0');
    for (size_t i = 0; i < text.size(); i++)
        text[i] = static_cast<char>('a' + i % 26);
    zu_putstr_fd(text.c_str(), ends[1]);
    expected += text;
    for (long long n = INT_MIN; n <= INT_MAX; n += 12345679) {
        zu_putnbr_fd(static_cast<int>(n), ends[1]);
        zu_putchar_fd(' ', ends[1]);
        expected += printf_d(static_cast<int>(n)) + ' ';
    }
    close(ends[1]);
    reader.join();
    close(ends[0]);

    EXPECT_EQ(arrived.size(), expected.size());
    const auto wrong =
        std::mismatch(arrived.begin(), arrived.end(), expected.begin(), expected.end());
    EXPECT_EQ(wrong.first, arrived.end())
        << "first wrong byte at " << wrong.first - arrived.begin();
}

// A descriptor in a state that write(2) meets, set up in the parent for a
// writer in a child process.
struct Scene {
    int fd = -1;                          // where the child writes; -1: not to be had here
    std::vector<int> descriptors;         // closed in the parent once the child runs
    std::function<void()> meanwhile = {}; // in the child, 100 ms into the writing
    int drained = -1;                     // read in the parent to its end meanwhile
    std::string filler = {};              // what drained held before
};

double seconds_since(const timespec &start)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) +
           static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e9;
}

Scene socket_whose_peer_stops_reading()
{
    int ends[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    EXPECT_EQ(fcntl(ends[0], F_SETFL, O_NONBLOCK), 0);
    fill(ends[0]);
    const int peer = ends[1];
    return {ends[0], {ends[0], ends[1]}, [peer] { shutdown(peer, SHUT_RD); }};
}

Scene pty_master_with_slave_closed()
{
    int master = -1;
    int slave = -1;
    EXPECT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0) << strerror(errno);
    // Raw: a line discipline in canonical mode would drop what does not fit.
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave, TCSANOW, &settings);
    EXPECT_EQ(fcntl(master, F_SETFL, O_NONBLOCK), 0);
    close(slave);
    fill_for_good(master); // the input is dropped some time after the close
    return {master, {master}};
}

Scene tcp_socket_with_transmit_timestamps()
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int small = 4096;
    setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    setsockopt(client, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto *name = reinterpret_cast<sockaddr *>(&address);
    EXPECT_EQ(bind(listener, name, length), 0);
    EXPECT_EQ(listen(listener, 1), 0);
    EXPECT_EQ(getsockname(listener, name, &length), 0);
    EXPECT_EQ(connect(client, name, length), 0);
    const int peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    const int stamps = SOF_TIMESTAMPING_TX_SOFTWARE | SOF_TIMESTAMPING_SOFTWARE;
    // qemu-user does not know the option (ENOPROTOOPT): no such socket there.
    const bool stamped =
        setsockopt(client, SOL_SOCKET, SO_TIMESTAMPING, &stamps, sizeof stamps) == 0;
    EXPECT_TRUE(stamped || errno == ENOPROTOOPT) << strerror(errno);
    EXPECT_EQ(fcntl(client, F_SETFL, O_NONBLOCK), 0);
    if (stamped)
        fill_for_good(client); // once what was sent has filled the peer's window too
    return {stamped ? client : -1, {listener, client, peer}};
}

Scene blocking_socket_with_send_timeout()
{
    int ends[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    const timeval timeout = {0, 200000};
    EXPECT_EQ(setsockopt(ends[0], SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout), 0);
    while (send(ends[0], "f", 1, MSG_DONTWAIT) == 1) {}
    return {ends[0], {ends[0], ends[1]}};
}

Scene pipe_replaced_by_dup2()
{
    int first[2];
    int second[2];
    EXPECT_EQ(pipe2(first, O_CLOEXEC), 0);
    EXPECT_EQ(pipe2(second, O_CLOEXEC), 0);
    fill(make_small_and_non_blocking(first));
    std::string filler = fill(make_small_and_non_blocking(second));
    const int from = second[1];
    const int onto = first[1];
    return {onto,
            {first[0], first[1], second[1]},
            [from, onto] { dup2(from, onto); },
            second[0],
            std::move(filler)};
}

// Each situation where a blocking write(2) fails, sleeps or finishes: the
// writer, on the same descriptor in non-blocking mode, must return where
// write(2) returns, and sleep where it sleeps, never giving a byte up there:
// watched until it has waited three times, it has made a few attempts, each
// after a wait, not a busy loop. Nothing is timed: a loaded machine makes
// every state come later, never another one. SIGPIPE is ignored, so that a
// broken connection is a failed write as with MSG_NOSIGNAL.
TEST(FdOutput, WaitsAsABlockingWriteWouldAndNeverSpins)
{
    // Far beyond any state's coming, however loaded the machine: the test's
    // own time limit, not a measure of the writer.
    const double ceiling = 30.0;
    const long waits_watched = 3;
    const char *const text = "xyz";
    const struct {
        const char *name;
        Scene (*set_up)();
        bool returns; // as a blocking write(2) does
    } cases[] = {
        {"AF_UNIX socket, peer shuts its reading down: EPIPE", socket_whose_peer_stops_reading,
         true},
        {"pty master, slave closed: sleeps (POLLHUP at once)", pty_master_with_slave_closed, false},
        {"TCP, transmit timestamps, peer not reading: sleeps (POLLERR at once)",
         tcp_socket_with_transmit_timestamps, false},
        {"blocking socket, SO_SNDTIMEO 200 ms: EAGAIN", blocking_socket_with_send_timeout, true},
        {"full pipe, another full pipe dup2'd over it and drained: finishes there",
         pipe_replaced_by_dup2, true},
    };
    struct Child {
        Scene scene;
        pid_t pid;
        std::string drained;
        std::thread reader;
    };
    auto *outcomes =
        static_cast<Outcome *>(mmap(nullptr, sizeof(Outcome) * std::size(cases),
                                    PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(outcomes, MAP_FAILED);
    // The children write side by side; readers start once there is no fork
    // left to make.
    std::vector<Child> children(std::size(cases));
    for (size_t i = 0; i < std::size(cases); i++) {
        Child &child = children[i];
        child.scene = cases[i].set_up();
        outcomes[i] = {};
        fflush(nullptr);
        child.pid = child.scene.fd >= 0 ? fork() : -1;
        if (child.pid == 0) {
            signal(SIGPIPE, SIG_IGN);
            if (child.scene.meanwhile) {
                std::thread([&child] {
                    usleep(100000);
                    child.scene.meanwhile();
                }).detach();
            }
            timespec began{};
            clock_gettime(CLOCK_MONOTONIC, &began);
            counting = &outcomes[i];
            zu_putstr_fd(text, child.scene.fd);
            counting = nullptr;
            outcomes[i].seconds = seconds_since(began);
            outcomes[i].returned = true;
            _exit(0);
        }
        for (int fd : child.scene.descriptors)
            close(fd);
    }
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (Child &child : children) {
        if (child.scene.drained >= 0)
            child.reader = read_to_end(child.scene.drained, child.drained);
    }
    for (size_t i = 0; i < std::size(cases); i++) {
        SCOPED_TRACE(cases[i].name);
        Child &child = children[i];
        if (child.pid < 0) {
            printf("waits as write(2): %s: cannot be set up here\n", cases[i].name);
            continue;
        }
        // A writer that sleeps is watched until it has waited waits_watched
        // times; one that returns, until it has.
        const auto waiting = [&] {
            return !cases[i].returns &&
                   __atomic_load_n(&outcomes[i].polls, __ATOMIC_RELAXED) >= waits_watched;
        };
        int status = 0;
        while (waitpid(child.pid, &status, WNOHANG) == 0 && !waiting() &&
               seconds_since(start) < ceiling)
            usleep(5000);
        if (!outcomes[i].returned && kill(child.pid, SIGKILL) == 0)
            waitpid(child.pid, &status, 0);
        if (child.reader.joinable()) {
            child.reader.join();
            close(child.scene.drained);
        }
        const Outcome &outcome = outcomes[i];
        printf("waits as write(2): %s: %s; %ld writes, %ld polls\n", cases[i].name,
               outcome.returned ? ("returned in " + std::to_string(outcome.seconds) + " s").c_str()
                                : "still writing when stopped",
               outcome.writes, outcome.polls);
        const long bytes = static_cast<long>(strlen(text));
        if (cases[i].returns) {
            EXPECT_TRUE(outcome.returned);
        } else if (outcome.returned) {
            // Room came after all (a pty drops a closed slave's input some
            // time after the close): every byte went, as with write(2).
            EXPECT_EQ(outcome.written, bytes) << "a byte was given up";
        }
        if (outcome.returned) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        // Every write that fails is followed by a wait, which a byte that
        // goes through or is given up ends.
        EXPECT_LE(outcome.writes, outcome.polls + bytes + 1) << "writes without a wait";
        EXPECT_LE(outcome.polls, 2 * outcome.writes) << "polls without a write";
        if (child.scene.drained >= 0) {
            EXPECT_EQ(child.drained, child.scene.filler + text);
        }
    }
    munmap(outcomes, sizeof(Outcome) * std::size(cases));
}

#endif

} // namespace
