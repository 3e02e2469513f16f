#include "program/stack.h"

#include "runtime/runerror.h"

void clearstack(labelstackptr &stack) {
    // Unlink one node at a time so that a deep stack never recurses through destructors.
    while (stack)
        stack = std::move(stack->next);
}

void pushlabel(std::int32_t label, labelstackptr &stack) {
    auto node = std::make_unique<stacknodetype>();
    node->labelno = label;
    node->next = std::move(stack);
    stack = std::move(node);
}

void poplabel(std::int32_t &label, labelstackptr &stack) {
    if (!stack)
        throw runerror("RETURN without GOSUB");
    label = stack->labelno;
    stack = std::move(stack->next);
}
