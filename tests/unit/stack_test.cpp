#include "program/stack.h"
#include "runtime/runerror.h"

#include <gtest/gtest.h>

TEST(stack, lastinfirstout) {
    labelstackptr stack;
    pushlabel(70, stack);
    pushlabel(100130, stack);
    std::int32_t label = 0;
    poplabel(label, stack);
    EXPECT_EQ(label, 100130);
    poplabel(label, stack);
    EXPECT_EQ(label, 70);
    EXPECT_EQ(stack, nullptr);
}

TEST(stack, poponemptyendstherunwithamessage) {
    labelstackptr stack;
    std::int32_t label = 5;
    EXPECT_THROW(poplabel(label, stack), runerror);
    EXPECT_EQ(label, 5);
}

TEST(stack, clearreleaseseventhedeepeststack) {
    labelstackptr stack;
    for (int i = 0; i < 1000000; ++i)
        pushlabel(i, stack);
    clearstack(stack);
    EXPECT_EQ(stack, nullptr);
    std::int32_t label;
    EXPECT_THROW(poplabel(label, stack), runerror);
}
