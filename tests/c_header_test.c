/* The public header used from C: it compiles as C, declares plain C
 * functions and a plain record, and the program links against the library.
 * Written in C alone, it is also the test of the operations on a C library
 * that GoogleTest cannot be built for (musl): a table per operation, every
 * failing row named on standard error. */
#define _POSIX_C_SOURCE 200809L /* fileno(), lseek() and read() beside C99 */
#include <libzu/libzu.h>

#include <errno.h>
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

static int failures = 0;

static void check(int ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "FAILED: %s\n", what);
        failures++;
    }
}

/* A node holds the caller's pointer as given, so a write through it reaches
 * the caller's object. The malloc attribute on zu_lstnew, which tells the
 * compiler that a fresh block holds no pointer to anything, would let an
 * optimising compiler drop that write. */
static int writes_through_a_node_arrive(void)
{
    int x = 1;
    int *through_node = NULL;
    zu_list_node *node = zu_lstnew(&x);
    if (node == NULL)
        return 0;
    through_node = node->content;
    x = 3;
    *through_node = 2;
    free(node);
    return x == 2;
}

static void strings(void)
{
    static const struct {
        const char *name, *s;
        unsigned int start;
        size_t len;
        const char *expected; /* NULL: a null result */
    } cuts[] = {
        {"substr inside", "Hello, World!", 7, 5, "World"},
        {"substr past the end", "Hello, World!", 20, 5, ""},
        {"substr clamped", "Hello, World!", 7, 20, "World!"},
        {"substr at the terminator", "Hello, World!", 13, 1, ""},
        {"substr of length 0", "Hello, World!", 0, 0, ""},
        {"substr of the largest length", "Hello, World!", 3, SIZE_MAX, "lo, World!"},
        {"substr of \"\"", "", 0, 5, ""},
        {"substr of null", NULL, 0, 5, NULL},
    };
    size_t i;
    for (i = 0; i < sizeof cuts / sizeof cuts[0]; i++) {
        char *cut = zu_substr(cuts[i].s, cuts[i].start, cuts[i].len);
        check(cuts[i].expected == NULL ? cut == NULL
                                       : cut != NULL && strcmp(cut, cuts[i].expected) == 0,
              cuts[i].name);
        free(cut);
    }
    check(zu_strlen(NULL) == 0 && zu_strlen("") == 0 && zu_strlen("Hello, World!") == 13,
          "strlen of null, \"\" and 13 bytes");
    {
        const char *text = "Hello";
        char *copy = zu_strdup(text);
        check(copy != NULL && copy != text && strcmp(copy, text) == 0, "strdup");
        free(copy);
    }
}

/* The bytes each writer call puts into a file, read back. */
static void descriptor_output(void)
{
    static const struct {
        const char *name;
        int kind; /* 0 putchar, 1 putstr, 2 putendl, 3 putnbr */
        const char *s;
        int n;
        const char *expected;
    } writes[] = {
        {"putchar 'a'", 0, NULL, 'a', "a"},
        {"putstr", 1, "Hello", 0, "Hello"},
        {"putstr \"\"", 1, "", 0, ""},
        {"putendl", 2, "ab", 0, "ab\n"},
        {"putendl null", 2, NULL, 0, "\n"},
        {"putnbr 42", 3, NULL, 42, "42"},
        {"putnbr -123", 3, NULL, -123, "-123"},
        {"putnbr 0", 3, NULL, 0, "0"},
        {"putnbr INT_MAX", 3, NULL, INT_MAX, "2147483647"},
        {"putnbr INT_MIN", 3, NULL, INT_MIN, "-2147483648"},
    };
    size_t i;
    for (i = 0; i < sizeof writes / sizeof writes[0]; i++) {
        FILE *file = tmpfile();
        char text[32] = {0};
        int fd = file != NULL ? fileno(file) : -1;
        switch (writes[i].kind) {
        case 0:
            zu_putchar_fd((char)writes[i].n, fd);
            break;
        case 1:
            zu_putstr_fd(writes[i].s, fd);
            break;
        case 2:
            zu_putendl_fd(writes[i].s, fd);
            break;
        default:
            zu_putnbr_fd(writes[i].n, fd);
        }
        check(file != NULL && lseek(fd, 0, SEEK_SET) == 0 &&
                  read(fd, text, sizeof text - 1) == (int)strlen(writes[i].expected) &&
                  strcmp(text, writes[i].expected) == 0,
              writes[i].name);
        if (file != NULL)
            fclose(file);
    }
}

static void allocation(void)
{
    static const struct {
        const char *name;
        size_t count, size;
        int null; /* refused, with ENOMEM */
    } blocks[] = {
        {"calloc 3 x 4", 3, 4, 0},
        {"calloc 0 x 4", 0, 4, -1 /* whatever calloc(0, 4) gives */},
        {"calloc beyond size_t", SIZE_MAX, 2, 1},
        {"calloc of all memory", SIZE_MAX, 1, 1},
    };
    size_t i;
    for (i = 0; i < sizeof blocks / sizeof blocks[0]; i++) {
        unsigned char *block;
        size_t zero = 0, bytes = blocks[i].count * blocks[i].size;
        errno = 0;
        block = zu_calloc(blocks[i].count, blocks[i].size);
        if (blocks[i].null == 1) {
            check(block == NULL && errno == ENOMEM, blocks[i].name);
            continue;
        }
        while (block != NULL && zero < bytes && block[zero] == 0)
            zero++;
        check(blocks[i].null == -1 || (block != NULL && zero == bytes), blocks[i].name);
        free(block);
    }
    {
        char *world = zu_substr("Hello, World!", 7, 5);
        zu_list_node *node = zu_lstnew(world);
        zu_list_node *empty = zu_lstnew(NULL);
        check(node != NULL && node->content == world && node->next == NULL, "lstnew");
        check(empty != NULL && empty->content == NULL && empty->next == NULL, "lstnew of null");
        free(empty);
        free(node);
        free(world);
    }
    check(writes_through_a_node_arrive(), "a write through a node arrives");
}

int main(void)
{
    strings();
    descriptor_output();
    allocation();
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
