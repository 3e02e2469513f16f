#pragma once

#include <cstdint>
#include <memory>

// The return stack of GOSUB and RETURN: a linked list of return labels, top first.
struct stacknodetype {
    std::int32_t labelno = 0;
    std::unique_ptr<stacknodetype> next;
};

using labelstackptr = std::unique_ptr<stacknodetype>;

// The stack becomes empty; entries still on it are released.
void clearstack(labelstackptr &stack);
void pushlabel(std::int32_t label, labelstackptr &stack);
// Pops the top label into label. An empty stack is a RETURN without GOSUB: it raises a run error
// that ends the run with a message.
void poplabel(std::int32_t &label, labelstackptr &stack);
