#include <gtest/gtest.h>
TEST(tts5, placeholder) {}
