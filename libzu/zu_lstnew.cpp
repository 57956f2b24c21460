#include "libzu.h"

#include <stdlib.h>

zu_list_node *zu_lstnew(void *content)
{
    zu_list_node *node = static_cast<zu_list_node *>(malloc(sizeof(zu_list_node)));
    if (node == nullptr)
        return nullptr;

    node->content = content;
    node->next = nullptr;
    return node;
}
