// The comforts around a game: undo, restart, bookmarks and transcripts leave
// the game exactly as a run that never used them, and lines that are the
// game's stay the game's.
#include "front/session.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "kit/kit_test_support.hpp"
#include "kit/tools.hpp"
#include "kit/walk.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;
using front::Comforts;
using front::MemoryShelf;
using front::Session;
using Lines = std::vector<std::string>;

// Hands the session one line per read and notes where the output stood then.
class Feeder : public std::streambuf {
 public:
  Feeder(const Lines& lines, const std::ostringstream& out) : lines_(lines), out_(out) {}
  std::vector<std::size_t> marks;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (next_ >= lines_.size()) return traits_type::eof();
    marks.push_back(out_.view().size());
    line_ = lines_[next_++] + "\n";
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  const Lines& lines_;
  const std::ostringstream& out_;
  std::size_t next_ = 0;
  std::string line_;
};

// What a run showed: all of it, and cut at each read, so that `responses[i]`
// is what followed the read of line i (responses[0] precedes the first read).
struct Played {
  std::string shown;
  std::vector<std::string> responses;
  Ending ending = Ending::kNoGame;
};

Played cut_at(const std::string& shown, const std::vector<std::size_t>& marks) {
  Played run{shown, {}, Ending::kNoGame};
  std::size_t from = 0;
  for (const std::size_t mark : marks) {
    run.responses.push_back(shown.substr(from, mark - from));
    from = mark;
  }
  run.responses.push_back(shown.substr(from));
  return run;
}

Played with_session(const fs::path& dir, std::uint32_t seed, const Lines& lines, Comforts comforts = {}) {
  std::ostringstream out;
  Feeder feeder(lines, out);
  std::istream in(&feeder);
  std::optional<World> world = start_game(dir, out);
  EXPECT_TRUE(world);
  Session session(std::make_shared<const World>(std::move(*world)), front::content_digest(dir), in, out, seed, dir,
                  std::move(comforts));
  const Ending ending = session.run();
  Played run = cut_at(out.str(), feeder.marks);
  run.ending = ending;
  return run;
}

Played without_session(const fs::path& dir, std::uint32_t seed, const Lines& lines) {
  std::ostringstream out;
  Feeder feeder(lines, out);
  std::istream in(&feeder);
  const Ending ending = play(dir, in, out, seed);
  Played run = cut_at(out.str(), feeder.marks);
  run.ending = ending;
  return run;
}

// The sample game in a directory of its own, where its saves land.
class DemoCopy {
 public:
  DemoCopy() { kit::copy_game(fs::path(VESK_TESTS_DIR) / ".." / "games" / "demo", dir_.path()); }
  const fs::path& path() const { return dir_.path(); }

 private:
  kit::TemporaryDirectory dir_;
};

// The sample game's walkthrough: fights, a number prompt, a save and a load,
// and an ending by "terminate".
Lines demo_walk() {
  const std::optional<std::string> text = read_file(fs::path(VESK_TESTS_DIR) / ".." / "games/demo/walkthrough.walk");
  std::string error;
  const std::optional<kit::Walkthrough> walk = kit::parse_walkthrough(text.value_or(""), error);
  EXPECT_TRUE(walk) << error;
  return walk ? walk->typed : Lines{};
}
constexpr std::uint32_t kDemoSeed = 111;

std::size_t index_of(const Lines& lines, const std::string& line) {
  return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

Lines joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Lines slice(const Lines& lines, std::size_t from, std::size_t to) {
  return Lines(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.begin() + static_cast<std::ptrdiff_t>(to));
}

// Every response of `run` from `from` on equals the reference's from `reference_from` on, to the end.
void expect_same_from(const Played& run, std::size_t from, const Played& reference, std::size_t reference_from) {
  ASSERT_EQ(run.responses.size() - from, reference.responses.size() - reference_from);
  for (std::size_t i = 0; from + i < run.responses.size(); ++i) {
    ASSERT_EQ(run.responses[from + i], reference.responses[reference_from + i]) << "response " << from + i;
  }
  EXPECT_EQ(run.ending, reference.ending);
}

TEST(Session, GameLinesPlayAsTheGameItselfPlaysThem) {
  const Lines walk = demo_walk();
  const DemoCopy plain_dir, session_dir;
  const Played plain = without_session(plain_dir.path(), kDemoSeed, walk);
  const Played session = with_session(session_dir.path(), kDemoSeed, joined({walk, {"quit", "xy"}}));
  // The game ends by "terminate": where vesk waits for two characters, the
  // session offers its choices first.
  ASSERT_TRUE(session.shown.starts_with(plain.shown));
  EXPECT_TRUE(plain.shown.ends_with("\n\n"));
  EXPECT_EQ(session.shown.substr(plain.shown.size()), "The game is over. Type undo, restart, resume NAME or quit.\n> ");
  EXPECT_EQ(session.ending, Ending::kGameOver);
  EXPECT_EQ(read_file(session_dir.path() / "wt-logbook.txt"), read_file(plain_dir.path() / "wt-logbook.txt"));
}

TEST(Session, UndoReturnsTheGameToTheEarlierPromptByteForByte) {
  const Lines walk = demo_walk();
  const DemoCopy reference_dir;
  const Played reference = with_session(reference_dir.path(), kDemoSeed, joined({walk, {"quit"}}));
  // A fight (the dice and the enemy's health), the number prompt and a use.
  for (const auto& [first, count] :
       {std::pair{index_of(walk, "fight conger eel"), 1UL}, std::pair{index_of(walk, "action 3"), 2UL},
        std::pair{index_of(walk, "use ship's biscuit"), 1UL}}) {
    SCOPED_TRACE(walk[first]);
    const DemoCopy dir;
    const Lines lines = joined({slice(walk, 0, first + count), {"undo"}, slice(walk, first, walk.size()), {"quit"}});
    const Played run = with_session(dir.path(), kDemoSeed, lines);
    const std::size_t undo = first + count + 1;  // the response to "undo"
    EXPECT_TRUE(run.responses[undo].starts_with("Undone: \"" + walk[first] + "\".\n\n")) << run.responses[undo];
    EXPECT_TRUE(run.responses[undo].ends_with("> "));
    expect_same_from(run, undo + 1, reference, first + 1);
  }
}

// A ship that fills with water: the second turn under water drowns the player.
constexpr const char* kDrowningGame = "water-drowning-death";

TEST(Session, UndoAfterDeathGoesBackBeforeTheFatalStep) {
  const fs::path game = fs::path(VESK_TESTS_DIR) / "core" / "transcripts" / kDrowningGame / "game";
  const Played never = with_session(game, 3, {"action 1", "look", "quit"});
  const Played died = with_session(game, 3, {"action 1", "action 2", "undo", "look", "quit"});
  EXPECT_NE(died.responses[2].find("You were killed.\n"), std::string::npos);
  EXPECT_TRUE(died.responses[2].ends_with("\nThe game is over. Type undo, restart, resume NAME or quit.\n> "));
  // Shown with the view of that moment, as "look" shows it there.
  EXPECT_EQ(died.responses[3], "Undone: \"action 2\".\n" + never.responses[2]);
  expect_same_from(died, 4, never, 2);
}

TEST(Session, UndoTakesBackAtLeastAHundredSteps) {
  const DemoCopy dir;
  Lines lines(150, "inv");
  lines.insert(lines.end(), 151, "undo");
  const Played run = with_session(dir.path(), kDemoSeed, lines);
  for (std::size_t i = 151; i < 301; ++i) ASSERT_TRUE(run.responses[i].starts_with("Undone: \"inv\"")) << i;
  EXPECT_EQ(run.responses[301], "There is nothing to undo.\n\n> ");
}

TEST(Session, RestartShowsTheFirstViewAgain) {
  const DemoCopy dir;
  const Played fresh = with_session(dir.path(), kDemoSeed, {});
  // The banner and the loading line come once, at the start.
  const std::string first_view = fresh.responses[0].substr(fresh.responses[0].find("\n\n") + 2);
  Comforts same_seed;
  same_seed.fixed_seed = kDemoSeed;
  const Played run = with_session(dir.path(), kDemoSeed, {"path 2", "fight marsh rat", "restart", "path 2"}, same_seed);
  EXPECT_EQ(run.responses[3], "The game starts again.\n" + first_view);
  const Played again = with_session(dir.path(), kDemoSeed, {"path 2"}, same_seed);
  EXPECT_EQ(run.responses[4], again.responses[1]);

  // Without a seed given the next game takes a new one.
  const Played next = with_session(dir.path(), front::next_seed(kDemoSeed), {"path 2", "fight marsh rat"});
  const Played restarted = with_session(dir.path(), kDemoSeed, {"restart", "path 2", "fight marsh rat"});
  EXPECT_EQ(restarted.responses[2], next.responses[1]);
  EXPECT_EQ(restarted.responses[3], next.responses[2]);
}

TEST(Session, BookmarkQuitStartAgainAndResumeContinueExactly) {
  const Lines walk = demo_walk();
  const DemoCopy reference_dir;
  const Played reference = with_session(reference_dir.path(), kDemoSeed, joined({walk, {"quit"}}));
  // After the game's own save and before its load, which must find the save.
  const std::size_t at = index_of(walk, "use ship's biscuit");
  const DemoCopy dir;
  MemoryShelf shelf;
  Comforts comforts;
  comforts.shelf = &shelf;
  const Played first =
      with_session(dir.path(), kDemoSeed, joined({slice(walk, 0, at), {"bookmark keeper", "quit"}}), comforts);
  EXPECT_EQ(first.responses[at + 1], "Bookmarked as \"keeper\".\n\n> ");
  EXPECT_EQ(first.ending, Ending::kQuit);
  // Another seed: the bookmark brings its own.
  const Played second = with_session(
      dir.path(), 999, joined({{"bookmarks", "resume keeper"}, slice(walk, at, walk.size()), {"quit"}}), comforts);
  EXPECT_EQ(second.responses[1], "Bookmarks: keeper.\n\n> ");
  EXPECT_TRUE(second.responses[2].starts_with("Resumed \"keeper\".\n\n"));
  expect_same_from(second, 3, reference, at + 1);

  // A bookmark made after an undo holds the game without the undone step.
  const DemoCopy third_dir;
  MemoryShelf third_shelf;
  comforts.shelf = &third_shelf;
  with_session(third_dir.path(), kDemoSeed, joined({slice(walk, 0, at), {"path 1", "undo", "bookmark b", "quit"}}),
               comforts);
  const Played fourth =
      with_session(third_dir.path(), 5, joined({{"resume b"}, slice(walk, at, walk.size()), {"quit"}}), comforts);
  expect_same_from(fourth, 2, reference, at + 1);
}

// A bookmark plays "sv" and "ld" again against the saved games as they were
// then, whatever the disk holds when it is resumed.
TEST(Session, ABookmarkHoldsWhatItsLoadsRead) {
  const GameFiles game(
      Files{{"area1.txt",
             "The Hall.\nA bare hall.\n\nThe Hall.\n\nnone\n\nenter a code\nsave the game\nload the game\n"
             "read the code\n\naction 1 dp 0 nk v1 Code\naction 2 dp 0 sv\n"
             "action 3 dp 0 ld\naction 4 dp 0 msg The code was +v1 then.\n"}});
  MemoryShelf shelf;
  Comforts comforts;
  comforts.shelf = &shelf;
  const fs::path dir = game.path();
  const Lines before = {"action 1", "42", "action 2", "kept", "action 1", "7", "action 3", "kept"};
  const Lines after = {"action 4", "look", "action 2", "kept"};
  const Played reference = with_session(dir, 1, joined({before, after, {"quit"}}), comforts);
  EXPECT_NE(reference.responses[before.size() + 1].find("The code was 42 then."), std::string::npos);
  fs::remove(dir / "kept.txt");
  with_session(dir, 1, joined({before, {"bookmark b", "quit"}}), comforts);
  // Another save of that name stands there now; the bookmark still knows what
  // its load read, and the game's own "sv" that follows finds it in the way.
  std::ofstream(dir / "kept.txt") << "game 5\ns1 other\n";
  const Played resumed = with_session(dir, 2, joined({{"resume b"}, after, {"quit"}}), comforts);
  EXPECT_TRUE(resumed.responses[1].starts_with("Resumed \"b\".\n")) << resumed.responses[1];
  ASSERT_EQ(resumed.responses.size() - 2, reference.responses.size() - before.size() - 1);
  for (std::size_t i = 2; i < resumed.responses.size(); ++i) {
    EXPECT_EQ(resumed.responses[i], reference.responses[before.size() + i - 1]) << i;
  }
}

TEST(Session, RefusesABookmarkOfChangedFilesOrDamaged) {
  const DemoCopy dir;
  MemoryShelf shelf;
  Comforts comforts;
  comforts.shelf = &shelf;
  with_session(dir.path(), kDemoSeed, {"path 2", "bookmark here", "bookmark ../x", "quit"}, comforts);
  std::string error;
  shelf.put("broken", "vesk bookmark 1\nseed x\n", error);
  const Played before = with_session(dir.path(), kDemoSeed, {"resume broken", "resume nothing"}, comforts);
  EXPECT_EQ(before.responses[1], "The bookmark \"broken\" is damaged and cannot be resumed.\n\n> ");
  EXPECT_EQ(before.responses[2], "There is no bookmark named \"nothing\".\n\n> ");

  std::ofstream(dir.path() / "msg1.txt", std::ios::app) << "A new line.\n";
  const Played after = with_session(dir.path(), kDemoSeed, {"resume here"}, comforts);
  EXPECT_TRUE(after.responses[1].starts_with("The bookmark \"here\" was made with other content files"))
      << after.responses[1];
  EXPECT_EQ(shelf.names(), (std::vector<std::string>{"broken", "here"}));
}

TEST(Session, WordsOfTheGameStayTheGames) {
  const DemoCopy dir;
  const DemoCopy plain_dir;
  // "inventory" is inv and "helpme" is help; "undo" at the number prompt is
  // the number asked for, and "undo it" is no word of the session's.
  const Lines walk = demo_walk();
  const std::size_t dial = index_of(walk, "action 3");
  const Lines lines = joined({slice(walk, 0, dial), {"inventory", "action 3", "undo", "quit now", "undone"}});
  const Played session = with_session(dir.path(), kDemoSeed, joined({lines, {"quit"}}));
  const Played plain = without_session(plain_dir.path(), kDemoSeed, joined({lines, {"quit"}}));
  ASSERT_EQ(session.responses.size(), plain.responses.size());
  for (std::size_t i = 0; i < plain.responses.size(); ++i) EXPECT_EQ(session.responses[i], plain.responses[i]) << i;
}

TEST(Session, HelpAddsTheSessionsWordsAfterTheGames) {
  const DemoCopy dir;
  const Played run = with_session(dir.path(), kDemoSeed, {"helpme"});
  const std::string games = "action\nammo\ndrop\nfight\ninv\nlook\npath\npickup\nquit\nselect\nuse\n";
  ASSERT_TRUE(run.responses[1].starts_with(games + "\nAround the game:\nundo: "));
  EXPECT_TRUE(run.responses[1].ends_with("list them\n> "));
}

TEST(Session, TranscriptKeepsWhatIsShownAndTyped) {
  const DemoCopy dir;
  const kit::TemporaryDirectory where;
  Comforts comforts;
  comforts.open_transcript = [&](const std::string& name, std::string& /*error*/) -> std::unique_ptr<std::ostream> {
    return std::make_unique<std::ofstream>(where.path() / name, std::ios::binary);
  };
  const Played run =
      with_session(dir.path(), kDemoSeed, {"transcript t.txt", "path 2", "transcript off", "path 1"}, comforts);
  const std::string expected = "The transcript goes to \"t.txt\" from here.\n\n> path 2\n" + run.responses[2] +
                               "transcript off\nThe transcript ends here.\n\n";
  EXPECT_EQ(read_file(where.path() / "t.txt"), expected);
}

TEST(Bookmark, KeepsEveryByteOfWhatReachedTheGame) {
  front::Bookmark bookmark{"0123456789abcdef", "fedcba9876543210", {4294967295U, {}}};
  using Kind = front::Event::Kind;
  bookmark.timeline.events = {{Kind::kEnter, "pickup ship's biscuit", std::nullopt},
                              {Kind::kEnter, " two  spaces %41 ", std::nullopt},
                              {Kind::kFile, "my save.txt", std::nullopt},
                              {Kind::kRead, "x\r\n", std::nullopt},
                              {Kind::kFile, "a.txt", std::string("game 5\nca 1\n\0\x7f\xc3\xa9", 16)},
                              {Kind::kEnter, "", std::nullopt}};
  const std::optional<front::Bookmark> back = front::parse_bookmark(front::format_bookmark(bookmark));
  ASSERT_TRUE(back);
  EXPECT_EQ(front::format_bookmark(*back), front::format_bookmark(bookmark));
  ASSERT_EQ(back->timeline.events.size(), 6U);
  EXPECT_EQ(back->timeline.events[4].contents, bookmark.timeline.events[4].contents);
  EXPECT_EQ(back->timeline.events[1].text, bookmark.timeline.events[1].text);
  EXPECT_FALSE(back->timeline.events[2].contents);

  for (const char* damaged : {"", "vesk bookmark 1\n", "vesk bookmark 1\ncontent 0\noutput 0\nseed 1\n",
                              "vesk bookmark 1\ncontent 0123456789abcdef\noutput 0123456789abcdef\nseed 4294967296\n",
                              "vesk bookmark 1\ncontent 0123456789abcdef\noutput 0123456789abcdef\nseed 1\nread %4\n",
                              "vesk bookmark 1\ncontent 0123456789abcdef\noutput 0123456789abcdef\nseed 1\nenter x",
                              "vesk bookmark 1\ncontent 0123456789abcdef\noutput 0123456789abcdef\nseed 1\n"
                              "file ../../x.txt -\n"}) {
    EXPECT_FALSE(front::parse_bookmark(damaged)) << damaged;
  }
  EXPECT_TRUE(front::is_bookmark_name("keeper-2.b_c"));
  EXPECT_FALSE(front::is_bookmark_name(".hidden"));
  EXPECT_FALSE(front::is_bookmark_name("a/b"));
  EXPECT_FALSE(front::is_bookmark_name(std::string(65, 'a')));
}

}  // namespace
}  // namespace vesk::testing
