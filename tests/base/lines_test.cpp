// The piece reader that every content file and saved game goes through (the
// console's is played in transcripts).
#include "base/lines.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

TEST(SplitLines, KeepsLineEndsFoldsCrLfAndCutsAt254Characters) {
  EXPECT_TRUE(vesk::split_lines("").empty());
  EXPECT_EQ(vesk::split_lines("a\n\nb"), (vesk::Lines{"a\n", "\n", "b"}));
  EXPECT_EQ(vesk::split_lines("abc\r\n\r\n"), (vesk::Lines{"abc\n", "\n"}));
  EXPECT_EQ(vesk::split_lines("a\rb\n\r"), (vesk::Lines{"a\rb\n", "\r"}));

  EXPECT_EQ(vesk::split_lines(std::string(300, 'a') + "\nnext\n"),
            (vesk::Lines{std::string(254, 'a'), std::string(46, 'a') + "\n", "next\n"}));
  // The line feed only fits when the line is shorter than the capacity.
  EXPECT_EQ(vesk::split_lines(std::string(254, 'b') + "\n"), (vesk::Lines{std::string(254, 'b'), "\n"}));
  EXPECT_EQ(vesk::split_lines(std::string(253, 'c') + "\n"), (vesk::Lines{std::string(253, 'c') + "\n"}));
  // A CR LF pair straddling the cut still reads as one line feed.
  EXPECT_EQ(vesk::split_lines(std::string(254, 'd') + "\r\n"), (vesk::Lines{std::string(254, 'd'), "\n"}));
  EXPECT_EQ(vesk::split_lines(std::string(253, 'e') + "\r\n"), (vesk::Lines{std::string(253, 'e') + "\n"}));
}

// A file is split into the pieces that the console reader gives.
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
    // The views of a large file's load: the same pieces, without copies.
    std::string normalised = content;
    const vesk::LineViews views = vesk::split_line_views(normalised);
    EXPECT_EQ(vesk::Lines(views.begin(), views.end()), read) << "round " << round;
  }
}

TEST(TextLines, HoldLinesAsOneText) {
  vesk::TextLines lines = {"first\n", "", "third"};
  lines.push_back("fourth\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "first\n");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "third");
  EXPECT_EQ(lines.back(), "fourth\n");
  EXPECT_EQ(std::vector<std::string_view>(lines.begin(), lines.end()),
            (std::vector<std::string_view>{"first\n", "", "third", "fourth\n"}));
  EXPECT_TRUE(vesk::TextLines().empty());
}

TEST(ReadLines, ReadsAFileInPiecesAndReportsAMissingOne) {
  const std::string content = "first\r\n" + std::string(300, 'z') + "\nlast";
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "vesk_text_test_lines.txt";
  std::ofstream(file, std::ios::binary) << content;
  const auto lines = vesk::read_lines(file);
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(*lines, (vesk::Lines{"first\n", std::string(254, 'z'), std::string(46, 'z') + "\n", "last"}));
  std::filesystem::remove(file);

  EXPECT_FALSE(vesk::read_lines(file).has_value());
}

// The front ends see a typed line whole, every byte as typed, before the
// game's reader cuts it into pieces.
TEST(ReadWholeLine, KeepsEveryByteUpToTheLineFeed) {
  const std::string long_line(300, 'a');
  std::istringstream in(std::string("ab\r\n\r\n", 6) + long_line + "\n" + std::string("x\0y", 3));
  std::string line;
  std::vector<std::string> read;
  while (vesk::read_whole_line(in, line)) read.push_back(line);
  EXPECT_EQ(read, (std::vector<std::string>{"ab\r\n", "\r\n", long_line + "\n", std::string("x\0y", 3)}));
  EXPECT_FALSE(vesk::read_whole_line(in, line));
  EXPECT_EQ(line, "");

  // A stream whose reads fail is at its end.
  std::istream broken(nullptr);
  EXPECT_FALSE(vesk::read_whole_line(broken, line));
}
