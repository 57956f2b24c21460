// The descriptor-output contract, seen through a recording write(): one call
// of count 1 per byte, on the descriptor given, at the moment of the call.
#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct WriteCall {
    int fd;
    size_t count;
    char byte; // the first byte handed over
};

// While recording, write() keeps each call and pretends to succeed, or fails
// with the next scripted errno (0 lets it succeed); otherwise calls go to the
// real write().
struct Recorder {
    bool recording = false;
    std::vector<WriteCall> calls;
    std::deque<int> scripted_errors;
};
Recorder recorder;

struct Recording {
    explicit Recording(std::deque<int> errors = {})
    {
        recorder = Recorder{true, {}, std::move(errors)};
    }
    ~Recording()
    {
        recorder.recording = false;
    }
    Recording(const Recording &) = delete;
    Recording &operator=(const Recording &) = delete;
};

} // namespace

extern "C" ssize_t __real_write(int fd, const void *buffer, size_t count);
extern "C" ssize_t __wrap_write(int fd, const void *buffer, size_t count)
{
    if (!recorder.recording)
        return __real_write(fd, buffer, count);
    recorder.calls.push_back({fd, count, count > 0 ? *static_cast<const char *>(buffer) : '\0'});
    if (!recorder.scripted_errors.empty()) {
        const int error = recorder.scripted_errors.front();
        recorder.scripted_errors.pop_front();
        if (error != 0) {
            errno = error;
            return -1;
        }
    }
    return static_cast<ssize_t>(count);
}

namespace {

// What a sequence of library calls hands to write() on fd, one recorded byte
// per call, with the writes failing as errors script; fails the test if any
// call is not a single byte on fd.
std::string bytes_written(int fd, const std::function<void()> &output, std::deque<int> errors = {})
{
    Recording recording(std::move(errors));
    output();
    std::string bytes;
    for (const WriteCall &call : recorder.calls) {
        EXPECT_EQ(call.fd, fd);
        EXPECT_EQ(call.count, 1U);
        bytes += call.byte;
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

TEST(FdOutput, AnInterruptedWriteIsRepeatedAndNoOtherFailureIs)
{
    const struct {
        const char *name;
        std::function<void()> output;
        std::deque<int> errors; // errno of each write in turn; 0 lets it succeed
        std::string attempts;   // the byte each write was handed
    } cases[] = {
        {"EINTR", [] { zu_putstr_fd("ab", 4); }, {EINTR}, "aab"},
        {"EINTR twice", [] { zu_putstr_fd("ab", 4); }, {EINTR, EINTR}, "aaab"},
        {"EINTR on the line end", [] { zu_putendl_fd("a", 4); }, {0, EINTR}, "a\n\n"},
        {"EINTR on a digit", [] { zu_putnbr_fd(-7, 4); }, {0, EINTR}, "-77"},
        {"EBADF", [] { zu_putstr_fd("ab", 4); }, {EBADF}, "ab"},
        {"ENOSPC", [] { zu_putstr_fd("ab", 4); }, {ENOSPC}, "ab"},
        {"EPIPE", [] { zu_putstr_fd("ab", 4); }, {EPIPE}, "ab"},
        {"EAGAIN", [] { zu_putstr_fd("ab", 4); }, {EAGAIN}, "ab"},
        {"EIO", [] { zu_putstr_fd("ab", 4); }, {EIO}, "ab"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytes_written(4, c.output, c.errors), c.attempts);
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

} // namespace
