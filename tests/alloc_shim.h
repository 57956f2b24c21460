// Test allocator: counts every malloc and calloc of the code linked with it,
// fails the ones it is told to, fills every block malloc gives with junk (not
// zero), and knows which of its blocks are not freed.
//
// Linked with -Wl,--wrap=malloc,--wrap=calloc,--wrap=free it sees the calls
// of the library's and the program's own objects (not the C library's
// internal ones). Built with ZU_ALLOC_SHIM_INTERPOSE, it takes the C
// library's place by name and sees every call in the process: preloaded, or
// linked into a program whose shared libraries (libzu.so) call them.
//
// In the programs it is linked into or preloaded in, it also checks printf
// (and its fortified __printf_chk; linked, with --wrap=printf,--wrap=__printf_chk)
// and aborts where a %s would be handed a null pointer.
//
// A test arms it with alloc_fail(); a program that cannot be told directly is
// armed from its environment:
//   ZU_FAIL_ALLOC=once:N   fail the Nth call only
//   ZU_FAIL_ALLOC=from:N   fail the Nth call and every later one
//   ZU_FAIL_ALLOC_REPORT=path   one byte is appended there per failed call
#ifndef ZU_TESTS_ALLOC_SHIM_H
#define ZU_TESTS_ALLOC_SHIM_H

#include <cstddef>

namespace zu_test {

enum class FailMode { never, once, from };

struct AllocStats {
    size_t calls;       // malloc and calloc calls since the last reset
    size_t failures;    // of those, the ones made to fail
    size_t last_size;   // bytes asked for by the last call (count * size for calloc)
    void *last_block;   // what the last call returned
    size_t live_blocks; // blocks returned since the last reset and not yet freed
};

// Zeroes the counters and stops failing.
void alloc_reset();
// Zeroes the counters and fails the nth call from now (1-based) as mode says.
void alloc_fail(FailMode mode, size_t nth);
AllocStats alloc_stats();

} // namespace zu_test

#endif
