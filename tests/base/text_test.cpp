// Text utilities: word splitting and joining, number reading and the line reader
// that every content file goes through (the console's is played in transcripts).
#include "base/text.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

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

TEST(Substring, TakesAtLeastOneCharacterAndStopsAtTheEnd) {
  const std::tuple<const char*, long, long, const char*> cases[] = {
      {"hello", 1, 3, "ell"}, {"hello", 3, 10, "lo"}, {"hello", 2, 0, "l"}, {"hello", 5, 1, ""}, {"", 0, 3, ""}};
  for (const auto& [text, start, length, part] : cases) EXPECT_EQ(vesk::substring(text, start, length), part) << text;
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

TEST(SplitLines, KeepsLineEndsFoldsCrLfAndCutsAt254Characters) {
  using Lines = std::vector<std::string>;
  EXPECT_TRUE(vesk::split_lines("").empty());
  EXPECT_EQ(vesk::split_lines("a\n\nb"), (Lines{"a\n", "\n", "b"}));
  EXPECT_EQ(vesk::split_lines("abc\r\n\r\n"), (Lines{"abc\n", "\n"}));
  EXPECT_EQ(vesk::split_lines("a\rb\n\r"), (Lines{"a\rb\n", "\r"}));

  EXPECT_EQ(vesk::split_lines(std::string(300, 'a') + "\nnext\n"),
            (Lines{std::string(254, 'a'), std::string(46, 'a') + "\n", "next\n"}));
  // The line feed only fits when the line is shorter than the capacity.
  EXPECT_EQ(vesk::split_lines(std::string(254, 'b') + "\n"), (Lines{std::string(254, 'b'), "\n"}));
  EXPECT_EQ(vesk::split_lines(std::string(253, 'c') + "\n"), (Lines{std::string(253, 'c') + "\n"}));
  // A CR LF pair straddling the cut still reads as one line feed.
  EXPECT_EQ(vesk::split_lines(std::string(254, 'd') + "\r\n"), (Lines{std::string(254, 'd'), "\n"}));
  EXPECT_EQ(vesk::split_lines(std::string(253, 'e') + "\r\n"), (Lines{std::string(253, 'e') + "\n"}));
}

// Files are split by whole lines where they can be and a character at a time
// where they must; either way the pieces are those the console reader gives.
TEST(SplitLines, GivesThePiecesThatTheConsoleReaderGives) {
  std::mt19937 random(7);
  const std::string alphabet("ab \r\n\0", 6);
  for (int round = 0; round < 500; ++round) {
    std::string content;
    const std::size_t length = random() % 700;
    for (std::size_t k = 0; k < length; ++k) {
      // Runs of letters make long lines; the rest are line ends, CRs and NULs.
      content += random() % 4 == 0 ? alphabet[random() % alphabet.size()] : 'a';
    }
    std::istringstream in(content);
    std::vector<std::string> read;
    std::string piece;
    while (vesk::read_piece(in, piece)) read.push_back(piece);
    EXPECT_EQ(vesk::split_lines(content), read) << "round " << round;
  }
}

TEST(ReadLines, ReadsAFileInPiecesAndReportsAMissingOne) {
  const std::string content = "first\r\n" + std::string(300, 'z') + "\nlast";
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "vesk_text_test_lines.txt";
  std::ofstream(file, std::ios::binary) << content;
  EXPECT_TRUE(vesk::file_exists(file));
  const auto lines = vesk::read_lines(file);
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(lines->copied(),
            (std::vector<std::string>{"first\n", std::string(254, 'z'), std::string(46, 'z') + "\n", "last"}));
  std::filesystem::remove(file);

  EXPECT_FALSE(vesk::file_exists(file));
  EXPECT_FALSE(vesk::read_lines(file).has_value());
}

namespace {

// Words as they were cut before word views existed: one copied text each,
// cut to 127 characters, one line feed taken off the last.
Words reference_split(std::string_view text, char delimiter) {
  Words words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && text[pos] == delimiter) ++pos;
    if (pos == text.size()) break;
    std::size_t end = pos;
    while (end < text.size() && text[end] != delimiter) ++end;
    words.emplace_back(text.substr(pos, std::min<std::size_t>(end - pos, 127)));
    pos = end;
  }
  if (!words.empty() && !words.back().empty() && words.back().back() == '\n') words.back().pop_back();
  return words;
}

Words copied(vesk::WordSpan words) { return Words(words.begin(), words.end()); }

// Texts of short and long words, runs of spaces, line feeds and commas.
std::string random_text(std::mt19937& random, std::size_t length) {
  std::string text;
  for (std::size_t k = 0; k < length; ++k) {
    const unsigned roll = random() % 16;
    text += roll < 4 ? ' ' : roll == 4 ? '\n' : roll == 5 ? ',' : static_cast<char>('a' + roll);
  }
  return text;
}

}  // namespace

TEST(WordViews, CutTheSameWordsAsCopiedWordsWereCut) {
  std::mt19937 random(11);
  vesk::WordViews words;  // one list for every round, as the loaders keep one
  for (int round = 0; round < 400; ++round) {
    // Some texts have more words than the list holds in place.
    const std::string text = random_text(random, random() % 2 == 0 ? random() % 300 : 2000 + random() % 2000);
    vesk::split_words(text, words);
    EXPECT_EQ(copied(words), reference_split(text, ' ')) << "round " << round;
    EXPECT_EQ(copied(vesk::word_views(text, ",")), reference_split(text, ',')) << "round " << round;
  }
  std::string many;
  for (int k = 0; k < 300; ++k) many += "w" + std::to_string(k) + " ";
  const vesk::WordViews spilled = vesk::word_views(many);
  const vesk::WordViews copy = spilled;
  ASSERT_EQ(copy.size(), 300u);
  EXPECT_EQ(copy[0], "w0");
  EXPECT_EQ(copy[299], "w299");
}

// Rejoining gives what joining and splitting again gave, and a file's line
// needs no rejoining at all.
TEST(RejoinWords, GiveTheWordsOfTheirJoin) {
  std::mt19937 random(5);
  vesk::WordViews rejoined;
  for (int round = 0; round < 400; ++round) {
    const std::string text = random_text(random, random() % 600);
    const vesk::WordViews words = vesk::word_views(text);
    const long count = vesk::word_count(words);
    const long first = count == 0 ? 0 : static_cast<long>(random() % static_cast<unsigned>(count + 1)) - 1;
    const long last = count == 0 ? -1 : static_cast<long>(random() % static_cast<unsigned>(count + 1));
    vesk::rejoin_words(words, first, last, rejoined);
    EXPECT_EQ(copied(rejoined), reference_split(vesk::join_words(words, first, last), ' ')) << "round " << round;
  }
  // "\n" alone is left an empty word, which the rejoin drops.
  const vesk::WordViews with_empty = vesk::word_views("a b \n");
  EXPECT_FALSE(vesk::rejoins_as_is(with_empty));
  vesk::rejoin_words(with_empty, 1, 2, rejoined);
  EXPECT_EQ(copied(rejoined), Words{"b"});
  EXPECT_TRUE(vesk::rejoins_as_is(vesk::word_views("0 msg It is dark.\n")));
  EXPECT_FALSE(vesk::rejoins_as_is(vesk::word_views(std::string(127, 'x') + " " + std::string(127, 'y') + " zz")));
}

// Words that stand together in their text are joined in one copy; the join
// is the same however the words stood.
TEST(JoinWords, WordsThatStandTogetherJoinAsOneCopy) {
  const vesk::WordViews close = vesk::word_views("go to the hall\n");
  const vesk::WordViews apart = vesk::word_views("go  to   the hall\n");
  EXPECT_EQ(vesk::join_words(close, 1, 3), "to the hall");
  EXPECT_EQ(vesk::join_words(apart, 1, 3), "to the hall");
  EXPECT_EQ(vesk::joined_text(close, 1, 3), "to the hall");
  EXPECT_EQ(vesk::joined_text(apart, 0, 1), "go to");
  EXPECT_TRUE(vesk::joined_text(close, 3, 2).empty());
  // Words joined by commas are no join by spaces.
  EXPECT_EQ(vesk::join_words(vesk::word_views("a,b", ","), 0, 1), "a b");
  const std::string long_text = std::string(127, 'x') + " " + std::string(127, 'y') + " " + std::string(10, 'z');
  EXPECT_EQ(vesk::join_words(vesk::word_views(long_text), 0, 2).size(), 254u);
  EXPECT_EQ(vesk::joined_text(vesk::word_views(long_text), 0, 2).view(), long_text.substr(0, 254));
}

TEST(RareText, KeepsNothingForTheEmptyTextAndCopiesWhole) {
  const vesk::RareText none;
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(none.view(), "");
  EXPECT_STREQ(none.c_str(), "");
  EXPECT_TRUE(vesk::RareText(std::string()).empty());
  const vesk::RareText bow("long bow");
  vesk::RareText copy = bow;
  EXPECT_EQ(copy, "long bow");
  EXPECT_NE(copy.c_str(), bow.c_str());
  EXPECT_STREQ(copy.c_str(), "long bow");
  copy = none;
  EXPECT_TRUE(copy.empty());
  EXPECT_EQ(bow.str(), "long bow");
}

// The lines point into the list's own buffer, which stays put when the list
// is moved, and the buffer is changed only where a CR LF became a line feed.
TEST(TextLines, KeepTheirPiecesWhenMoved) {
  vesk::TextLines lines(std::string("first\r\nsecond\0hidden\nthird", 26));
  std::vector<vesk::TextLines> kept;
  kept.push_back(std::move(lines));
  kept.emplace_back("x");
  EXPECT_EQ(kept[0].copied(), (std::vector<std::string>{"first\n", "second", "third"}));
  EXPECT_EQ(kept[1].copied(), std::vector<std::string>{"x"});
  EXPECT_TRUE(vesk::TextLines("").empty());
}
