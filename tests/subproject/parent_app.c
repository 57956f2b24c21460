/* The parent project's own program, using libzu built alongside it. */
#include <libzu/libzu.h>

#include <stdlib.h>
#include <string.h>

int main(void)
{
    char *word = zu_substr("Hello, World!", 7, 5);
    int ok = word != NULL && strcmp(word, "World") == 0;

    free(word);
    zu_putendl_fd(ok ? "libzu as a subproject: ok" : "libzu as a subproject: wrong", 1);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
