// The descriptor-output contract, seen through a recording write(): one call
// of count 1 per byte, on the descriptor given, at the moment of the call; and
// a poll() for room before a byte is tried again on a full descriptor.
#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct WriteCall {
    int fd;
    size_t count;
    char byte; // the first byte handed over
};

// While recording, write() and poll() keep each call and pretend to succeed,
// or fail with the next scripted errno of their own (0 lets one succeed);
// otherwise calls go to the real ones.
struct Recorder {
    bool recording = false;
    std::vector<WriteCall> calls;
    std::deque<int> scripted_errors;
    std::vector<pollfd> polls;
    std::deque<int> scripted_poll_errors;
};
Recorder recorder;

struct Recording {
    explicit Recording(std::deque<int> errors = {}, std::deque<int> poll_errors = {})
    {
        recorder = Recorder{true, {}, std::move(errors), {}, std::move(poll_errors)};
    }
    ~Recording()
    {
        recorder.recording = false;
    }
    Recording(const Recording &) = delete;
    Recording &operator=(const Recording &) = delete;
};

} // namespace

namespace {

// False, with errno set, when the next scripted error is not 0.
bool scripted_success(std::deque<int> &errors)
{
    if (errors.empty())
        return true;
    const int error = errors.front();
    errors.pop_front();
    errno = error;
    return error == 0;
}

} // namespace

extern "C" ssize_t __real_write(int fd, const void *buffer, size_t count);
extern "C" ssize_t __wrap_write(int fd, const void *buffer, size_t count)
{
    if (!recorder.recording)
        return __real_write(fd, buffer, count);
    recorder.calls.push_back({fd, count, count > 0 ? *static_cast<const char *>(buffer) : '\0'});
    return scripted_success(recorder.scripted_errors) ? static_cast<ssize_t>(count) : -1;
}

extern "C" int __real_poll(pollfd *fds, nfds_t count, int timeout);
extern "C" int __wrap_poll(pollfd *fds, nfds_t count, int timeout)
{
    if (!recorder.recording)
        return __real_poll(fds, count, timeout);
    EXPECT_EQ(count, 1U);
    EXPECT_EQ(timeout, -1) << "a wait for room must not time out";
    recorder.polls.push_back(fds[0]);
    if (!scripted_success(recorder.scripted_poll_errors))
        return -1;
    fds[0].revents = POLLOUT;
    return 1;
}

namespace {

// What a sequence of library calls hands to write() on fd, one recorded byte
// per call, with the writes and polls failing as their errors script; fails
// the test if any call is not a single byte on fd, or any poll is not a wait
// for room on fd.
std::string bytes_written(int fd, const std::function<void()> &output, std::deque<int> errors = {},
                          std::deque<int> poll_errors = {})
{
    Recording recording(std::move(errors), std::move(poll_errors));
    output();
    std::string bytes;
    for (const WriteCall &call : recorder.calls) {
        EXPECT_EQ(call.fd, fd);
        EXPECT_EQ(call.count, 1U);
        bytes += call.byte;
    }
    for (const pollfd &waited : recorder.polls) {
        EXPECT_EQ(waited.fd, fd);
        EXPECT_EQ(waited.events, POLLOUT);
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

TEST(FdOutput, AnInterruptedOrBlockedWriteIsRepeatedAndNoOtherFailureIs)
{
    const struct {
        const char *name;
        std::function<void()> output;
        std::deque<int> errors;      // errno of each write in turn; 0 lets it succeed
        std::string attempts;        // the byte each write was handed
        size_t polls;                // waits for room before a write was tried again
        std::deque<int> poll_errors; // errno of each poll in turn
    } cases[] = {
        {"EINTR", [] { zu_putstr_fd("ab", 4); }, {EINTR}, "aab", 0, {}},
        {"EINTR twice", [] { zu_putstr_fd("ab", 4); }, {EINTR, EINTR}, "aaab", 0, {}},
        {"EINTR on the line end", [] { zu_putendl_fd("a", 4); }, {0, EINTR}, "a\n\n", 0, {}},
        {"EINTR on a digit", [] { zu_putnbr_fd(-7, 4); }, {0, EINTR}, "-77", 0, {}},
        {"EAGAIN", [] { zu_putchar_fd('a', 4); }, {EAGAIN}, "aa", 1, {}},
        {"EAGAIN x3", [] { zu_putstr_fd("ab", 4); }, {EAGAIN, EAGAIN, EAGAIN}, "aaaab", 3, {}},
        {"EAGAIN on the line end", [] { zu_putendl_fd("a", 4); }, {0, EAGAIN}, "a\n\n", 1, {}},
        {"EAGAIN on a digit", [] { zu_putnbr_fd(-7, 4); }, {0, EAGAIN, EAGAIN}, "-777", 2, {}},
        {"EAGAIN, then EINTR", [] { zu_putstr_fd("ab", 4); }, {EAGAIN, EINTR}, "aaab", 1, {}},
        {"EAGAIN, poll interrupted", [] { zu_putstr_fd("ab", 4); }, {EAGAIN}, "aab", 2, {EINTR}},
        {"EAGAIN, poll fails", [] { zu_putstr_fd("ab", 4); }, {EAGAIN}, "ab", 1, {ENOMEM}},
        {"EBADF", [] { zu_putstr_fd("ab", 4); }, {EBADF}, "ab", 0, {}},
        {"ENOSPC", [] { zu_putstr_fd("ab", 4); }, {ENOSPC}, "ab", 0, {}},
        {"EPIPE", [] { zu_putstr_fd("ab", 4); }, {EPIPE}, "ab", 0, {}},
        {"EIO", [] { zu_putstr_fd("ab", 4); }, {EIO}, "ab", 0, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytes_written(4, c.output, c.errors, c.poll_errors), c.attempts);
        EXPECT_EQ(recorder.polls.size(), c.polls);
    }
}

// Real descriptors: the bytes arrive in order, and a closed descriptor is no
// obstacle.
TEST(FdOutput, RealDescriptors)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    zu_putnbr_fd(INT_MIN, ends[1]);
    zu_putendl_fd("ok", ends[1]);
    close(ends[1]);
    char text[32] = {};
    EXPECT_EQ(read(ends[0], text, sizeof text), 14);
    EXPECT_STREQ(text, "-2147483648ok\n");
    close(ends[0]);

    int closed = open("/dev/null", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(closed, 0);
    close(closed);
    zu_putendl_fd("into nothing", closed);
    zu_putnbr_fd(-1, closed);
}

// A non-blocking pipe that is full, drained by a reader slower than the
// writer: every byte arrives, once and in order.
TEST(FdOutput, NothingIsLostOnAFullNonBlockingPipe)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_GT(fcntl(ends[1], F_SETPIPE_SZ, 4096), 0);
    ASSERT_EQ(fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
    std::string expected;
    while (write(ends[1], "f", 1) == 1)
        expected += 'f';
    ASSERT_EQ(errno, EAGAIN) << "the pipe was filled";

    std::string arrived;
    std::thread reader([&arrived, from = ends[0]] {
        char chunk[512];
        for (ssize_t n; (n = read(from, chunk, sizeof chunk)) > 0; usleep(1000))
            arrived.append(chunk, static_cast<size_t>(n));
    });
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

} // namespace
