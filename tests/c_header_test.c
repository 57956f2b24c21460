/* The public header used from C: it compiles as C, declares plain C
 * functions and a plain record, and the program links against the library. */
#include <libzu/libzu.h>

#include <stdlib.h>
#include <string.h>

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

int main(void)
{
    char *world = zu_substr("Hello, World!", 7, 5);
    zu_list_node *node = zu_lstnew(world);
    int ok = world != NULL && strcmp(world, "World") == 0 && zu_strlen(world) == 5 &&
             node != NULL && node->content == world && node->next == NULL &&
             writes_through_a_node_arrive();
    free(node);
    free(world);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
