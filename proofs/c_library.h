// The stubs of the C library (c_library.c): what a harness sets, and what they record.
#pragma once

#include "../libzu/libzu.h"

#include <errno.h>
#include <fcntl.h>
#include <stdbool.h>
#include <stdlib.h>

// Strings of up to 16 bytes in buffers one byte longer: every length, every place of the
// terminator (or none), every byte value. The operations treat all non-zero bytes alike and
// branch on no length but "zero or not": a longer string takes no path that these do not.
#define ZU_PROOF_LENGTH 16
// A pause doubled from 1 ms without a cap first passes 1000 ms at the 11th: 12 failures.
#define ZU_PROOF_FAILURES 12

// Set: how many write() and poll() calls may still fail (none unless set), what fcntl(fd,
// F_GETFL) gives (-1: it fails). Recorded: write() calls, bytes written and the first of
// them, the errno of each failed write in order.
extern unsigned zu_failures_left;
extern int zu_fd_flags;
extern size_t zu_writes, zu_written, zu_write_failures;
extern char zu_output[ZU_PROOF_LENGTH + 2];
extern int zu_write_errors[ZU_PROOF_FAILURES];

// "Null only where malloc failed": a second run, built so, where malloc cannot fail.
#ifdef ZU_PROOF_MALLOC_CANNOT_FAIL
#define zu_malloc_may_fail 0
#else
#define zu_malloc_may_fail 1
#endif

// Any value: what CBMC gives for a function without a body.
bool nondet_bool(void);
char nondet_char(void);
short nondet_short(void);
int nondet_int(void);
unsigned nondet_unsigned(void);
size_t nondet_size_t(void);
void *nondet_pointer(void);

// A heap buffer of 1 to ZU_PROOF_LENGTH + 1 bytes ending in a zero byte, any content before
// it, nothing readable past it; the length of its string in *length; null where malloc failed.
char *zu_any_string(size_t *length);
