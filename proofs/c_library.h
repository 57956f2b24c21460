// What the stubs of the C library (c_library.c) record, and the knobs a
// harness sets before it calls an operation.
#ifndef ZU_PROOFS_C_LIBRARY_H
#define ZU_PROOFS_C_LIBRARY_H

#include <stdbool.h>
#include <stddef.h>

// Strings are at most this many bytes long, and buffers one byte more: every
// length up to it, every position of the terminator (or none), every byte
// value. Each operation treats all bytes but the zero byte alike and has no
// branch that depends on a length beyond "zero or not", so longer strings
// take no path that these do not.
#define ZU_PROOF_LENGTH 16
// The most write() and poll() calls that fail in one proof, at least 12: a
// pause that doubles from 1 ms without a cap first passes 1000 ms at the
// 11th pause, which takes 11 failed writes.
#define ZU_PROOF_FAILURES 12

// Set by the harness: how many calls of write() and poll() may still fail
// (0 unless set), and what fcntl(fd, F_GETFL) reports of every descriptor
// (-1: it fails).
extern unsigned zu_failures_left;
extern int zu_fd_flags;

// Recorded by the stubs.
extern size_t zu_writes;                       // write() calls
extern size_t zu_written;                      // bytes written
extern char zu_output[ZU_PROOF_LENGTH + 2];    // the first bytes written
extern size_t zu_write_failures;               // write() calls that failed
extern int zu_write_errors[ZU_PROOF_FAILURES]; // their errno values, in order

// Whether malloc() may fail: it may (cbmc --malloc-may-fail), but for a
// second run of the harness built with ZU_PROOF_MALLOC_CANNOT_FAIL (cbmc
// --no-malloc-may-fail), which shows "null only where malloc failed".
#ifdef ZU_PROOF_MALLOC_CANNOT_FAIL
#define zu_malloc_may_fail 0
#else
#define zu_malloc_may_fail 1
#endif

// An arbitrary value, as CBMC gives a function without a body.
bool nondet_bool(void);
int nondet_int(void);
char nondet_char(void);
short nondet_short(void);
size_t nondet_size_t(void);
unsigned nondet_unsigned(void);

// A buffer of size bytes (1 to ZU_PROOF_LENGTH + 1) of arbitrary content on
// the heap, where reading past it is an error: terminated anywhere, or
// nowhere; null where malloc failed.
char *zu_any_buffer(size_t size);

#endif
