// The shim defines C library functions of its own: none of them may be an
// inline fortified version.
#undef _FORTIFY_SOURCE

#include "alloc_shim.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>

#ifdef _WIN32
#include <io.h>
#define O_CLOEXEC 0 // a descriptor is inherited only where that is asked for
#else
#include <unistd.h>
#endif

#ifdef ZU_ALLOC_SHIM_INTERPOSE
// By name: preloaded, or linked into a program whose shared libraries call
// them, this object's functions take the place of the C library's, whose own
// entry points remain reachable under these names.
extern "C" void *__libc_malloc(size_t size);
extern "C" void *__libc_calloc(size_t count, size_t size);
extern "C" void __libc_free(void *block);
#define ZU_SHIM_MALLOC malloc
#define ZU_SHIM_CALLOC calloc
#define ZU_SHIM_FREE free
#define ZU_SHIM_PRINTF printf
#define ZU_SHIM_PRINTF_CHK __printf_chk
#define ZU_REAL_MALLOC __libc_malloc
#define ZU_REAL_CALLOC __libc_calloc
#define ZU_REAL_FREE __libc_free
#else
// Linked with --wrap: calls to malloc arrive at __wrap_malloc, and
// __real_malloc is the C library's.
extern "C" void *__real_malloc(size_t size);
extern "C" void *__real_calloc(size_t count, size_t size);
extern "C" void __real_free(void *block);
#define ZU_SHIM_MALLOC __wrap_malloc
#define ZU_SHIM_CALLOC __wrap_calloc
#define ZU_SHIM_FREE __wrap_free
#define ZU_SHIM_PRINTF __wrap_printf
#define ZU_SHIM_PRINTF_CHK __wrap___printf_chk
#define ZU_REAL_MALLOC __real_malloc
#define ZU_REAL_CALLOC __real_calloc
#define ZU_REAL_FREE __real_free
#endif

namespace zu_test {
namespace {

// The shim keeps the addresses it hands out only in disguise: a plain copy in
// a global would make every leaked block look reachable to a leak checker.
uintptr_t disguise(void *block)
{
    return ~reinterpret_cast<uintptr_t>(block);
}

struct Shim {
    bool environment_read;
    FailMode mode;
    size_t nth;
    const char *report_path;
    size_t calls;
    size_t failures;
    size_t last_size;
    uintptr_t last_block;
    size_t live_blocks;
    uintptr_t live[64]; // the blocks behind live_blocks; a test makes few
};

Shim shim; // test-only state: one process, one thread

// Nothing here may allocate: it runs inside malloc.
void read_environment()
{
    if (shim.environment_read)
        return;
    shim.environment_read = true;

    const char *setting = getenv("ZU_FAIL_ALLOC");
    if (setting == nullptr)
        return;
    FailMode mode = FailMode::never;
    if (strncmp(setting, "once:", 5) == 0)
        mode = FailMode::once;
    else if (strncmp(setting, "from:", 5) == 0)
        mode = FailMode::from;
    else
        return;
    char *end = nullptr;
    unsigned long nth = strtoul(setting + 5, &end, 10);
    if (*end != '\0' || nth == 0 || nth == ULONG_MAX)
        return;
    shim.mode = mode;
    shim.nth = nth;
    shim.report_path = getenv("ZU_FAIL_ALLOC_REPORT");
}

void report_failure()
{
    if (shim.report_path == nullptr)
        return;
    int fd = open(shim.report_path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    (void)!write(fd, "x", 1);
    close(fd);
}

// Counts one call; true when this one is to fail.
bool take_call(size_t size)
{
    read_environment();
    size_t call = ++shim.calls;
    shim.last_size = size;
    shim.last_block = disguise(nullptr);
    bool fail = (shim.mode == FailMode::once && call == shim.nth) ||
                (shim.mode == FailMode::from && call >= shim.nth);
    if (fail) {
        shim.failures++;
        report_failure();
        errno = ENOMEM;
    }
    return fail;
}

void *note(void *block)
{
    shim.last_block = disguise(block);
    if (block != nullptr && shim.live_blocks < std::size(shim.live))
        shim.live[shim.live_blocks++] = disguise(block);
    return block;
}

void forget(void *block)
{
    for (size_t i = 0; i < shim.live_blocks; i++) {
        if (shim.live[i] == disguise(block)) {
            shim.live[i] = shim.live[--shim.live_blocks];
            return;
        }
    }
}

// Aborts where format hands a null pointer to %s. The GNU C library prints
// "(null)" for it, which would pass for a program's own line about a null
// result. Knows the conversions the programs use; stops looking at any other.
void check_strings(const char *format, va_list arguments)
{
    for (const char *at = strchr(format, '%'); at != nullptr; at = strchr(at + 1, '%')) {
        at += 1 + strspn(at + 1, "-+ #0123456789.");
        if (*at == 's' && va_arg(arguments, const char *) == nullptr)
            abort();
        else if (*at == 'd' || *at == 'i' || *at == 'c' || *at == 'u' || *at == 'x')
            va_arg(arguments, int);
        else if (*at != 's' && *at != '%')
            return;
    }
}

int print_checked(const char *format, va_list arguments)
{
    va_list checked;
    va_copy(checked, arguments);
    check_strings(format, checked);
    va_end(checked);
    return vprintf(format, arguments);
}

} // namespace

void alloc_reset()
{
    alloc_fail(FailMode::never, 0);
}

void alloc_fail(FailMode mode, size_t nth)
{
    shim.environment_read = true; // a test's own setting wins over the environment
    shim.mode = mode;
    shim.nth = nth;
    shim.calls = shim.failures = shim.last_size = shim.live_blocks = 0;
    shim.last_block = disguise(nullptr);
}

AllocStats alloc_stats()
{
    return {shim.calls, shim.failures, shim.last_size, reinterpret_cast<void *>(~shim.last_block),
            shim.live_blocks};
}

} // namespace zu_test

// A fresh block is seldom zero in a long-running program, but a fresh heap
// is: every block starts as junk here, so that a field left unset shows.
extern "C" void *ZU_SHIM_MALLOC(size_t size)
{
    if (zu_test::take_call(size))
        return nullptr;
    void *block = ZU_REAL_MALLOC(size);
    if (block != nullptr)
        memset(block, 0xa5, size);
    return zu_test::note(block);
}

extern "C" void *ZU_SHIM_CALLOC(size_t count, size_t size)
{
    size_t bytes = 0;
    if (__builtin_mul_overflow(count, size, &bytes))
        bytes = SIZE_MAX;
    if (zu_test::take_call(bytes))
        return nullptr;
    return zu_test::note(ZU_REAL_CALLOC(count, size));
}

extern "C" void ZU_SHIM_FREE(void *block)
{
    zu_test::forget(block);
    ZU_REAL_FREE(block);
}

// The programs' printf, fortified or not, with its %s arguments checked.
extern "C" int ZU_SHIM_PRINTF(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int printed = zu_test::print_checked(format, arguments);
    va_end(arguments);
    return printed;
}

extern "C" int ZU_SHIM_PRINTF_CHK(int /* flag */, const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int printed = zu_test::print_checked(format, arguments);
    va_end(arguments);
    return printed;
}
