// lstnew_runner: three list nodes from zu_lstnew, two around int payloads and
// one around null; each is reported, then everything is released.

#include <libzu/libzu.h>

#include <stdio.h>
#include <stdlib.h>

#include "standard_output.h"

// Node of a fresh int payload holding value, reported with created_format
// (filled with the int read back through the node) or failure_line. When no
// node comes of it, no payload is left behind either.
static zu_list_node *make_int_node(int value, const char *created_format, const char *failure_line)
{
    zu_list_node *node = nullptr;
    auto *payload = static_cast<int *>(malloc(sizeof(int)));
    if (payload != nullptr) {
        *payload = value;
        node = zu_lstnew(payload);
        if (node == nullptr)
            free(payload);
    }
    if (node == nullptr) {
        puts(failure_line);
        return nullptr;
    }
    printf(created_format, *static_cast<int *>(node->content));
    return node;
}

// Releases a node made by make_int_node, payload first.
static void free_int_node(zu_list_node *node)
{
    if (node == nullptr)
        return;
    free(node->content);
    free(node);
}

int main()
{
    set_up_standard_output();

    zu_list_node *node1 =
        make_int_node(42, "Node 1 created with content: %d\n", "Failed to create Node 1");
    zu_list_node *node2 =
        make_int_node(84, "Node 2 created with content: %d\n", "Failed to create Node 2");
    zu_list_node *node3 = zu_lstnew(nullptr);
    puts(node3 != nullptr ? "Node 3 created with NULL content" : "Failed to create Node 3");

    free_int_node(node1);
    free_int_node(node2);
    free(node3); // its payload is null: nothing of its own to release
    return 0;
}
