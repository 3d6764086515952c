#include "content/text.hpp"
#include <gtest/gtest.h>
TEST(Text, Placeholder) { EXPECT_TRUE(vesk::is_integer_text("-0")); }
