/* The public header used from C: it compiles as C, declares plain C
 * functions and a plain record, and the program links against the library. */
#include <libzu/libzu.h>

#include <stdlib.h>
#include <string.h>

int main(void)
{
    char *world = zu_substr("Hello, World!", 7, 5);
    zu_list_node *node = zu_lstnew(world);
    int ok = world != NULL && strcmp(world, "World") == 0 && zu_strlen(world) == 5 &&
             node != NULL && node->content == world && node->next == NULL;
    free(node);
    free(world);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
