// The helpers that every vesk-kit command shares: how texts are quoted, how
// the numbers of command lines and walkthroughs are read, and the temporary
// directory that replays and tests play in.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "kit/tools.hpp"

namespace vesk::kit {
namespace {

TEST(KitTools, QuotesEscapeWhatWouldBreakTheQuotes) {
  EXPECT_EQ(quote_text("rusty key"), "\"rusty key\"");
  EXPECT_EQ(quote_text("say \"hi\" \\ bye"), R"("say \"hi\" \\ bye")");
  EXPECT_EQ(quote_text("dark\r\n\t\x01"), R"("dark\r\n\t\x01")");
  // A line's end is no part of what it says; a line feed inside it is.
  EXPECT_EQ(quote_line("msg hi\n"), "\"msg hi\"");
  EXPECT_EQ(quote_line("a\nb\n"), R"("a\nb")");
  EXPECT_EQ(quote_line(""), "\"\"");
}

TEST(KitTools, WholeNumbersOnlyAndInRange) {
  std::uint32_t seed = 7;
  EXPECT_TRUE(whole_number("4294967295", seed));
  EXPECT_EQ(seed, 4294967295U);
  for (const char* bad : {"4294967296", "-1", "", "+", "12a", " 5", "99999999999999999999999"}) {
    SCOPED_TRACE(bad);
    seed = 7;
    EXPECT_FALSE(whole_number(bad, seed));
    EXPECT_EQ(seed, 7U);
  }
  std::int64_t clock = 0;
  EXPECT_TRUE(whole_number("-9223372036854775808", clock));
  EXPECT_EQ(clock, INT64_MIN);
  EXPECT_FALSE(whole_number("9223372036854775808", clock));
  EXPECT_TRUE(whole_number("+42", clock));
  EXPECT_EQ(clock, 42);
}

TEST(KitTools, ATemporaryDirectoryGoesWithEverythingInIt) {
  std::filesystem::path kept;
  {
    const TemporaryDirectory first;
    const TemporaryDirectory second;
    EXPECT_NE(first.path(), second.path());
    kept = first.path();
    ASSERT_TRUE(write_file(kept / "area1.txt", "Hall.\n"));
    std::filesystem::create_directory(kept / "saves");
    ASSERT_TRUE(write_file(kept / "saves" / "s1", "x"));
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace vesk::kit
