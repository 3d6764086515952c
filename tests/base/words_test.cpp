// Words and numbers in texts: splitting, joining, replacing and reading numbers
// as every file, script and command does.
#include "base/words.hpp"

#include <gtest/gtest.h>

#include <string>

#include "base/numbers.hpp"

using vesk::Words;

TEST(SplitWords, CutsAtSpacesAndAt127CharactersAndDropsOneLineFeed) {
  EXPECT_EQ(vesk::split_words("a  b"), (Words{"a", "b"}));
  EXPECT_EQ(vesk::split_words(" a b "), (Words{"a", "b"}));
  EXPECT_TRUE(vesk::split_words("   ").empty());
  EXPECT_TRUE(vesk::split_words("").empty());
  EXPECT_EQ(vesk::split_words("a,b;;c", ",;"), (Words{"a", "b", "c"}));
  EXPECT_EQ(vesk::split_words("sword 5\n"), (Words{"sword", "5"}));
  EXPECT_EQ(vesk::split_words("\n"), (Words{""}));
  EXPECT_EQ(vesk::split_words("a\n b\n\n"), (Words{"a\n", "b\n"}));
  // The carriage return before the line feed is part of the word.
  EXPECT_EQ(vesk::split_words("\r\n"), (Words{"\r"}));
  EXPECT_EQ(vesk::split_words("go \r\n"), (Words{"go", "\r"}));
  // Long words are cut before the line feed is looked for.
  const std::string long_word(200, 'x');
  EXPECT_EQ(vesk::split_words("a " + long_word + " b"), (Words{"a", std::string(127, 'x'), "b"}));
  // The line feed lies beyond the cut, so the last word keeps all 127 letters.
  EXPECT_EQ(vesk::split_words(long_word + "\n"), (Words{std::string(127, 'x')}));
  EXPECT_EQ(vesk::split_words(std::string(126, 'x') + "\n"), (Words{std::string(126, 'x')}));
}

TEST(JoinWords, JoinsARangeWithSingleSpaces) {
  const Words words = vesk::split_words("go  to the hall");
  EXPECT_EQ(vesk::join_words(words, 1, 3), "to the hall");
  EXPECT_EQ(vesk::join_words(words, 0, 0), "go");
  EXPECT_EQ(vesk::join_words(words, 2, 1), "");
  EXPECT_EQ(vesk::join_words(words, -2, 1), "go to");
  EXPECT_EQ(vesk::join_words(words, 2, 10), "the hall");
  EXPECT_EQ(vesk::join_words(Words{}, 0, -1), "");

  const Words many(10, std::string(100, 'w'));
  const std::string joined = vesk::join_words(many, 0, 9);
  EXPECT_EQ(joined.size(), 254u);
  EXPECT_EQ(joined.substr(0, 102), std::string(100, 'w') + " w");
}

TEST(ReplaceWord, ReplacesWholeWordsAndLeadsWithASpace) {
  EXPECT_EQ(vesk::replace_word("a b c", "b", "X"), " a X c");
  EXPECT_EQ(vesk::replace_word("a  b   c", "z", "X"), " a b c");
  EXPECT_EQ(vesk::replace_word("bb b abc", "b", "the key"), " bb the key abc");
  EXPECT_EQ(vesk::replace_word("", "b", "X"), "");
  std::string many;
  for (int k = 0; k < 80; ++k) many += "word ";
  EXPECT_EQ(vesk::replace_word(many, "word", "X").substr(0, 6), " X X X");
  EXPECT_EQ(vesk::replace_word(many, "z", "X").size(), 254u);
}

TEST(IntegerText, AcceptsDigitsWithOneLeadingSign) {
  for (const char* text : {"0", "-0", "+7", "123", "", "+", "-"}) EXPECT_TRUE(vesk::is_integer_text(text)) << text;
  for (const char* text : {" 12", "12 ", "12a", "1.5", "7-", "+-1", "--1", "x"}) {
    EXPECT_FALSE(vesk::is_integer_text(text)) << text;
  }
}

TEST(ToInt, ReadsLeadingDecimalNumberLikeCAndSaturates) {
  EXPECT_EQ(vesk::to_int("  \t-17"), -17);
  EXPECT_EQ(vesk::to_int("+8x"), 8);
  EXPECT_EQ(vesk::to_int("30 hit points\n"), 30);
  for (const char* zero : {"x", "", "-", "- 5"}) EXPECT_EQ(vesk::to_int(zero), 0) << zero;
  for (const char* high : {"2147483647", "2147483648", "123456789012345678901234567890"}) {
    EXPECT_EQ(vesk::to_int(high), 2147483647) << high;
  }
  for (const char* low : {"-2147483648", "-99999999999"}) EXPECT_EQ(vesk::to_int(low), -2147483647 - 1) << low;
}
