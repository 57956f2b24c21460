/*
 * libzu: string, descriptor-output, zeroed-allocation and list-node operations.
 *
 * Usable from C and C++; every symbol has C linkage and exactly the name below.
 * Built as libzu.a, and where asked for as libzu.so.1, which exports the nine
 * operations alone, each at the symbol version LIBZU_1.0.
 *
 * Ownership, for the whole library: every pointer an operation returns is a
 * fresh block from malloc() (calloc() for zu_calloc) that the caller owns and
 * releases with free().
 * The library keeps nothing between calls, never frees a pointer it was
 * given, and reports no errors: an allocation that fails gives a null result,
 * and an output error is ignored.
 *
 * The only C library functions it calls are calloc(), fcntl(), malloc(),
 * memcpy(), poll(), strlen(), strnlen() and write() (on Windows _write(), and
 * no fcntl() or poll()), and it reads and sets errno. On 32-bit ARM it also
 * calls libgcc's integer division helper __aeabi_idivmod().
 */
#ifndef LIBZU_LIBZU_H
#define LIBZU_LIBZU_H

#include <stddef.h>

/* The version of this header and of the library it comes with. */
#define LIBZU_VERSION_MAJOR 1
#define LIBZU_VERSION_MINOR 0
#define LIBZU_VERSION_PATCH 0
#define LIBZU_VERSION "1.0.0"

/*
 * Attributes on the allocating operations, for the compiler to check their
 * use where it knows how; each macro is empty elsewhere.
 * - LIBZU_NODISCARD (GCC, clang): the result must be used; dropping a block
 *   leaks it. Diagnosed by default (-Wunused-result).
 * - LIBZU_MALLOC (GCC, clang): the block returned is fresh and holds no
 *   pointer to any live object, so it aliases nothing. A promise to the
 *   optimiser; it checks nothing by itself.
 * - LIBZU_FREED_BY_FREE (GCC 11 and later): the block returned is released
 *   with free(). delete or delete[] on it is diagnosed with -Wall
 *   (-Wmismatched-new-delete), another deallocator by default
 *   (-Wmismatched-dealloc).
 */
/* Every GCC and clang (which defines __GNUC__ too) has the first two, so
 * there is no need of __has_attribute, which some analysers cannot evaluate. */
#ifdef __GNUC__
#define LIBZU_NODISCARD __attribute__((warn_unused_result))
#define LIBZU_MALLOC __attribute__((malloc))
#endif
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 11
#define LIBZU_FREED_BY_FREE __attribute__((malloc(__builtin_free, 1)))
#endif
#ifndef LIBZU_NODISCARD
#define LIBZU_NODISCARD
#endif
#ifndef LIBZU_MALLOC
#define LIBZU_MALLOC
#endif
#ifndef LIBZU_FREED_BY_FREE
#define LIBZU_FREED_BY_FREE
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * One element of a singly linked list. A node does not own its content:
 * freeing a node leaves the content alone.
 */
typedef struct zu_list_node {
    void *content;             /* the caller's payload as given; may be null */
    struct zu_list_node *next; /* the following element; null ends the list */
} zu_list_node;

/* ---- Strings ----------------------------------------------------------- */

/*
 * Number of bytes of s before its terminating zero byte.
 * A null s measures as the empty string: 0.
 */
size_t zu_strlen(const char *s);

/*
 * A copy of s, terminator included, in a fresh block of zu_strlen(s) + 1
 * bytes; free() it. Null if the block can't be allocated. A null s gives
 * null without allocating.
 */
LIBZU_NODISCARD LIBZU_MALLOC LIBZU_FREED_BY_FREE char *zu_strdup(const char *s);

/*
 * At most len bytes of s starting at byte start, in a fresh block of exactly
 * (bytes copied) + 1 bytes; free() it.
 * - len is clamped to the bytes left after start, so any len, SIZE_MAX
 *   included, is safe and allocates only what the result needs.
 * - start at or past the terminator gives a fresh empty string, not null.
 * - A null s gives null. Null also if the block can't be allocated.
 * - No byte at or past s[start + len] is read. Like strndup, it can cut from
 *   a buffer whose terminator, if it has one, lies beyond the cut. The cost
 *   grows with start + len, not with the length of s: the bytes before
 *   start are read too, to prove that start lies inside the string.
 * - start is an unsigned int: no cut starts past byte 4294967295 (UINT_MAX).
 *   A size_t start converts to it and wraps, which -Wconversion warns of.
 *   Within that range the result is exact whatever len is.
 */
LIBZU_NODISCARD LIBZU_MALLOC LIBZU_FREED_BY_FREE char *zu_substr(const char *s, unsigned int start,
                                                                 size_t len);

/* ---- Descriptor output --------------------------------------------------
 *
 * Unbuffered: each byte is one write() of one byte on fd, made during the
 * call, so a string or number of k bytes costs k system calls. Output thus
 * reaches fd ahead of anything still held in a stdio buffer for the same
 * file.
 *
 * On a non-blocking descriptor the writers behave as write() on a blocking
 * one: they finish where it finishes, give a byte up where it fails, and
 * sleep where it sleeps, never spinning. No byte is lost to a signal or to a
 * full non-blocking descriptor:
 * - A write interrupted before it wrote (EINTR) is repeated at once.
 * - One that finds a non-blocking fd full (EAGAIN, EWOULDBLOCK) waits with
 *   poll() for room, for one second at most, and is repeated: whatever
 *   poll() reports, a poll() that fails (ENOMEM) included, the next write
 *   decides. A change that poll() does not report (a peer that shut its
 *   reading down, another file dup2()'d onto fd) is thus seen within a
 *   second. A poll() that answers at once without room (POLLHUP, POLLERR),
 *   or fails, is followed by a pause that doubles, up to one second.
 * - EAGAIN on a blocking fd is its send timeout (SO_SNDTIMEO) running out:
 *   the byte is given up, as is every other failure (closed or invalid fd,
 *   full disk, broken pipe or connection), and the next byte is attempted.
 *   Each byte is one write, so each byte has the whole timeout.
 *
 * Signal dispositions are left alone: writing to a pipe or socket whose
 * reader has gone raises SIGPIPE, which by default ends the process.
 *
 * The four writers are async-signal-safe: they call only write(), poll() and
 * fcntl() and keep no state, so a signal handler may call them. Like write(),
 * they may change errno: a handler saves and restores errno around them, as
 * POSIX asks of any handler that calls such functions.
 *
 * On Windows, fd is a C runtime descriptor and each byte one _write() on it,
 * as that descriptor writes: one in text mode (the default for _open())
 * writes "\n" as "\r\n"; _setmode(fd, _O_BINARY) keeps bytes as they are.
 * There is no SIGPIPE (a pipe without a reader fails the write) and no
 * non-blocking descriptor, so nothing is ever retried: a failed byte is
 * given up. An invalid or closed fd writes nothing and never ends the
 * program, under msvcrt.dll and the Universal CRT alike.
 */

/* Writes the one byte c, the zero byte included. */
void zu_putchar_fd(char c, int fd);

/* Writes the bytes of s before its terminator. "" and null write nothing. */
void zu_putstr_fd(const char *s, int fd);

/* Writes s, then "\n". "" and null write the "\n" alone. */
void zu_putendl_fd(const char *s, int fd);

/*
 * Writes n in decimal, most significant digit first, with a leading '-' when
 * negative; no padding, no '+', no line end. INT_MIN is written in full.
 */
void zu_putnbr_fd(int n, int fd);

/* ---- Allocation --------------------------------------------------------- */

/*
 * A fresh block of count * size bytes, all zero, from calloc(); free() it.
 * Null if calloc fails, and null without allocating if count * size does not
 * fit in size_t; either way errno is ENOMEM, whether or not the C library's
 * calloc says so itself. A zero product gives what
 * calloc(0, size) gives (on the GNU C library a unique pointer that free()
 * accepts).
 */
LIBZU_NODISCARD LIBZU_MALLOC LIBZU_FREED_BY_FREE void *zu_calloc(size_t count, size_t size);

/*
 * A fresh node holding content exactly as given (not copied; null allowed)
 * and a null next; free() it, and its content separately if that needs it.
 * Null if the node can't be allocated. (Not LIBZU_MALLOC: the node holds
 * the caller's pointer.)
 */
LIBZU_NODISCARD LIBZU_FREED_BY_FREE zu_list_node *zu_lstnew(void *content);

#ifdef __cplusplus
}
#endif

#endif /* LIBZU_LIBZU_H */
