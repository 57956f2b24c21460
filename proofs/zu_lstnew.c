// zu_lstnew: a node holding the payload as given (null included) and a null
// next, or null where malloc failed. CBMC's malloc gives any content, so a
// field left unset is caught.
#include "c_library.h"

int main(void)
{
    void *content = nondet_bool() ? NULL : nondet_pointer();
    zu_list_node *node = zu_lstnew(content);
    __CPROVER_assert(node != NULL || zu_malloc_may_fail, "null only where malloc failed");
    if (node != NULL) {
        __CPROVER_assert(__CPROVER_OBJECT_SIZE(node) == sizeof *node, "a block of one node");
        __CPROVER_assert(node->content == content, "the payload as given");
        __CPROVER_assert(node->next == NULL, "the end of a list");
    }
    free(node);
    return 0;
}
