// vesk-kit play with the comforts: wrapping to the terminal, bookmarks kept
// per game in the data directory, recordings with meta words, and --plain.
#include "kit/comforts.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "kit/kit_test_support.hpp"
#include "kit/walk.hpp"
#include "kit/wrap.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

std::string demo_dir() { return (fs::path(VESK_TESTS_DIR) / ".." / "games" / "demo").string(); }

std::string demo_transcript() {
  std::string error;
  const auto walk = kit::parse_walkthrough(read_file(fs::path(demo_dir()) / "walkthrough.walk").value_or(""), error);
  EXPECT_TRUE(walk) << error;
  return walk ? walk->transcript : std::string();
}

std::size_t columns(std::string_view line) {
  std::size_t count = 0;
  for (const char c : line) count += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
  return count;
}

TEST(Wrap, BreaksOnlyAtSpacesAndNeverSplitsAWord) {
  // The sample game's whole transcript, and lines with long words, runs of
  // spaces and UTF-8.
  const std::string text = demo_transcript() +
                           "a hyphenated-and-very-long-word-that-is-wider-than-forty-columns-at-least here\n"
                           "two  spaces   and three, caf\xc3\xa9 cr\xc3\xa8"
                           "me br\xc3\xbb"
                           "l\xc3\xa9"
                           "e " +
                           std::string(30, 'x') + " end \n> ";
  for (const std::size_t width : {40U, 80U, 120U}) {
    SCOPED_TRACE(width);
    const std::string wrapped = kit::wrap_text(text, width);
    // Joined again at its breaks, it is the text itself.
    ASSERT_EQ(wrapped.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (wrapped[i] != text[i]) {
        ASSERT_TRUE(text[i] == ' ' && wrapped[i] == '\n') << "at " << i;
      }
    }
    std::istringstream lines(wrapped);
    for (std::string line; std::getline(lines, line);) {
      // A longer line is one word, which no break can shorten; spaces at
      // its end show nothing.
      line.erase(line.find_last_not_of(' ') + 1);
      const std::size_t first = line.find_first_not_of(' ');
      if (columns(line) > width) {
        EXPECT_EQ(line.find(' ', first), std::string::npos) << line;
      }
    }
    // Given a byte at a time, it wraps the same.
    std::ostringstream screen;
    kit::WrappingOutput wrapping(screen, width);
    std::ostream out(&wrapping);
    for (const char c : text) out.put(c);
    out.flush();
    EXPECT_EQ(screen.str(), wrapped);
  }
  // Text that fits is left alone, and a line typed ends the screen's line.
  EXPECT_EQ(kit::wrap_text("short line\n> ", 80), "short line\n> ");
  std::ostringstream screen;
  kit::WrappingOutput wrapping(screen, 10);
  std::ostream out(&wrapping);
  out << "> " << std::flush;
  wrapping.typed();
  out << "0123456 89 ab\n" << std::flush;
  EXPECT_EQ(screen.str(), "> 0123456 89\nab\n");
}

TEST(Bookmarks, LiveInTheDataDirectoryApartForEachGame) {
  const auto xdg = kit::bookmark_directory("/games/salt", "/data", "/home/p");
  ASSERT_TRUE(xdg);
  EXPECT_EQ(xdg->parent_path(), fs::path("/data/vesk"));
  EXPECT_TRUE(xdg->filename().string().starts_with("salt-"));
  // A relative XDG_DATA_HOME is to be ignored.
  const auto home = kit::bookmark_directory("/games/salt", "data", "/home/p");
  ASSERT_TRUE(home);
  EXPECT_EQ(home->parent_path(), fs::path("/home/p/.local/share/vesk"));
  EXPECT_EQ(home->filename(), xdg->filename());
  EXPECT_NE(kit::bookmark_directory("/other/salt", "/data", nullptr), xdg);
  EXPECT_FALSE(kit::bookmark_directory("/games/salt", nullptr, nullptr));

  const kit::TemporaryDirectory where;
  front::DirectoryShelf shelf(where.path() / "vesk" / "salt-1");
  EXPECT_TRUE(shelf.names().empty());
  std::string error;
  ASSERT_TRUE(shelf.put("b", "first\n", error)) << error;
  ASSERT_TRUE(shelf.put("a", "other\n", error)) << error;
  ASSERT_TRUE(shelf.put("b", "second\n", error)) << error;
  EXPECT_EQ(shelf.get("b"), "second\n");
  EXPECT_FALSE(shelf.get("c"));
  EXPECT_EQ(shelf.names(), (std::vector<std::string>{"a", "b"}));
  // Nothing is left of the temporaries.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(where.path() / "vesk" / "salt-1")) ++files;
  EXPECT_EQ(files, 2U);
  front::DirectoryShelf blocked(where.path() / "vesk" / "salt-1" / "a.bookmark" / "below");
  EXPECT_FALSE(blocked.put("x", "text", error));
  EXPECT_NE(error.find("cannot make"), std::string::npos) << error;
}

// Sets an environment variable for as long as it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(KitPlay, KeepsBookmarksAcrossRunsInTheDataDirectory) {
  const kit::TemporaryDirectory data;
  const ScopedEnvironment xdg("XDG_DATA_HOME", data.path().string());
  const GameFiles game({});
  kit::copy_game(demo_dir(), game.path());
  const KitRun first = run_kit({"play", game.path(), "--seed", "7"}, "path 2\nbookmark cottage\nquit\n");
  EXPECT_NE(first.out.find("Bookmarked as \"cottage\"."), std::string::npos) << first.out;
  // "quit" ended the line, though the two characters read after it met the end.
  EXPECT_TRUE(first.out.ends_with("\n\n> ")) << first.out;
  const KitRun second = run_kit({"play", game.path(), "--seed", "8"}, "bookmarks\nresume cottage\nlook\n");
  EXPECT_NE(second.out.find("> Bookmarks: cottage.\n"), std::string::npos) << second.out;
  EXPECT_NE(second.out.find("Resumed \"cottage\".\n\n01 jan 1970 (thu) 05:33 pm\n"), std::string::npos);
  // The input ended at the prompt: a line end follows it.
  EXPECT_TRUE(second.out.ends_with("> \n"));
  ASSERT_EQ(std::distance(fs::directory_iterator(data.path() / "vesk"), fs::directory_iterator()), 1);
}

TEST(KitPlay, PlainIsTheGameAlone) {
  const GameFiles game({});
  kit::copy_game(demo_dir(), game.path());
  const std::string input = "help\nundo\npath 2\nbookmark x\n";
  const KitRun plain = run_kit({"play", game.path(), "--plain", "--seed", "7"}, input);
  std::istringstream in(input);
  std::ostringstream out;
  play(game.path(), in, out, 7);
  EXPECT_EQ(plain.out, out.str());
  const KitRun comfortable = run_kit({"play", game.path(), "--seed", "7"}, input);
  EXPECT_NE(comfortable.out, plain.out);
  EXPECT_NE(comfortable.out.find("Around the game:"), std::string::npos);
}

TEST(KitPlay, RecordsMetaWordsAsTypedLinesAndReplaysThem) {
  const GameFiles game({});
  kit::copy_game(demo_dir(), game.path());
  const std::string walk = game.file("undo.walk");
  const std::string input =
      "path 2\nbookmark cottage\nfight marsh rat\nundo\nrestart\naction 1\nresume cottage\naction 3\n77\nundo\n"
      "transcript " +
      game.file("t.txt") + "\ntranscript off\npath 1\n";
  for (const bool given : {true, false}) {
    SCOPED_TRACE(given);
    const KitRun recorded = given ? run_kit({"play", game.path(), "--seed", "9", "--record", walk}, input)
                                  : run_kit({"play", game.path(), "--record", walk}, input);
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    std::string error;
    const auto parsed = kit::parse_walkthrough(read_file(walk).value_or(""), error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->comforts, given ? "same-seed" : "new-seed");
    EXPECT_EQ(parsed->typed.size(), 13U);
    EXPECT_EQ(parsed->typed_file_line(0), 6U);
    const KitRun replayed = run_kit({"replay", game.path(), walk});
    EXPECT_EQ(replayed.status, 0) << replayed.out;
    EXPECT_NE(replayed.out.find(": ok (13 typed lines"), std::string::npos) << replayed.out;
  }
}

}  // namespace
}  // namespace vesk::testing
