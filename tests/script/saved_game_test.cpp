// Saved games: the file that "sv" writes, byte for byte; what "ld" restores,
// skips and keeps; existing names; and saves that cannot be written.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/game.hpp"
#include "script/saved_game.hpp"
#include "support/transcript.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

using Files = std::vector<std::pair<std::string, std::string>>;

// A small world of three areas. Area 1 is ordinary, area 2 subdivided (spot 1
// leads ahead to spot 2 and back out to area 1), area 3 ordinary. Actions:
//   area 1: 1 gather (items, ammunition), 2 tune (variables, clock), 3 swap
//           (load, then save), 4 save, 5 load; path 1 places a ghost in area 1
//           as the player leaves for area 2.
//   area 2: 1 mark (a definite and an ordinary rat), 2 keep (save), 3 alter
//           (changes everything a saved game holds, then moves to area 3).
//   area 3: 1 restore (load, then save).
// Bats arrive by chance on every pass in area 2; no enemy has an attack.
const Files kWorld = {
    {"item1.txt", "rope\n"},
    {"item2.txt", "iron key\n"},
    {"item3.txt", "bow\nweapon 2 8 60\n"},
    {"item4.txt", "sword\nweapon 3 3 100\nmelee\n"},
    {"item5.txt", "long bow\nweapon 1 2 50\n"},
    {"item6.txt", "coin\n"},
    {"enemy1.txt", "rat 2\n5\nA grey rat.\n\nnone\n\n"},
    {"enemy2.txt", "ghost\n9\nA pale ghost.\n\nnone\n\n"},
    {"enemy3.txt", "bat\n4\nA small bat.\n\nnone\n\n"},
    {"area1.txt",
     "A bare hall.\n\nHall.\n\neast door 2 600\nnorth arch 3 60\n\ngather\ntune\nswap\nsave\nload\n\n"
     "item coin\nitem coin\nitem rope\nammo bow 7\n"
     "action 1 dp 0 _ iron key\naction 1 dp 0 _ iron key\naction 1 dp 0 _ sword\n"
     "action 1 dp 0 _ long bow\naction 1 dp 0 . bow 5\naction 1 dp 0 s a_long_bow 3\n"
     "action 2 dp 0 s v3 7\naction 2 dp 0 s v1 -4\naction 2 dp 0 s s2 hello   there\n"
     "action 2 dp 0 s h 77\naction 2 dp 0 s m 123\naction 2 dp 0 s game 90000\n"
     "action 3 dp 0 ld\naction 3 dp 0 sv\naction 4 dp 0 sv\naction 5 dp 0 ld\n"
     "path 1 dp 0 , ghost\n"},
    {"area2.txt",
     "A grid of rooms.\n\nGrid.\n\nnone\n\nmark\nkeep\nalter\n\n"
     "m2\n1 2 0 -1 0\n2 0 0 1 0\n\n"
     "item coin 1\nitem rope 2\nitem coin 2\nenemy bat 1 3 1 100\n"
     "action 1 dp 0 ; rat 2\naction 1 dp 0 , rat 2\naction 2 dp 0 sv\n"
     "action 3 dp 0 s h 5\naction 3 dp 0 s m 1\naction 3 dp 0 _ rope\naction 3 dp 0 n sword\n"
     "action 3 dp 0 s v1 99\naction 3 dp 0 s game 5\naction 3 dp 0 s steps 0\n"
     "action 3 dp 0 s a_long_bow 0\naction 3 dp 0 . bow 50\naction 3 dp 0 , rat 2\n"
     "action 3 dp 0 s ca 3\n"},
    {"area3.txt", "A quiet loft.\n\nLoft.\n\nnone\n\nrestore\n\nitem iron key\naction 1 dp 0 ld\naction 1 dp 0 sv\n"},
};

// What "sv" writes at the very start of a game in this world.
const std::string kStartOfGame =
    "game 0\nca 1\nsteps 0\nh 100\nm 50\nsel strike\nammo 0 bow\nammo 0 long bow\n"
    "item 1 0 0 0 coin\nitem 1 0 0 0 coin\nitem 1 0 0 0 rope\n"
    "item 2 1 0 0 0 coin\nitem 2 2 0 0 0 rope\nitem 2 2 0 0 0 coin\nitem 3 0 0 0 iron key\nvis 1\n";

// Play up to the save in area 2: items given, picked up and dropped, ammunition
// from a script and from a pile, numbered and string variables, the clock past
// a day, a ghost left behind in area 1, two rats placed on spot 1 of area 2
// (one of them wounded), chance bats around them, a weapon selected.
const std::string kMidGameInput =
    "action 1\naction 2\npickup rope\npickup ammo\npath 1\naction 1\nselect sword\nfight rat 2\n"
    "drop iron key\nselect long bow\naction 2\nmid\n";

const std::string kMidGame =
    "game 90600\nca 2\nsteps 86400\nh 77\nm 123\nsel long bow\n"
    "inv 1 iron key\ninv 1 sword\ninv 1 long bow\ninv 1 rope\nammo 12 bow\nammo 3 long bow\n"
    "v1 -4\nv2 0\nv3 7\ns1 \ns2 hello there\nitem 1 0 0 0 coin\nitem 1 0 0 0 coin\n"
    "item 2 1 0 0 0 coin\nitem 2 2 0 0 0 rope\nitem 2 2 0 0 0 coin\nitem 2 1 0 0 0 iron key\n"
    "item 3 0 0 0 iron key\nenemy 1 9 0 ghost\nenemy 2 1 5 1 rat 2\nenemy 2 1 2 0 rat 2\nvis 1\nvis 2\n";

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++found;
  return found;
}

void write_files(const fs::path& directory, const Files& files) {
  for (const auto& [name, content] : files) {
    const fs::path file = directory / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }
}

std::set<std::string> names_in(const fs::path& directory) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory))
    names.insert(entry.path().filename().string());
  return names;
}

class SavedGame : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const fs::path& directory : made_) {
      std::error_code ignored;
      fs::permissions(directory, fs::perms::owner_all, fs::perm_options::add, ignored);
      fs::remove_all(directory, ignored);
    }
  }

  // A fresh directory holding the world and `extra` files.
  fs::path make_game(const Files& extra = {}) {
    static int counter = 0;
    const fs::path directory =
        fs::temp_directory_path() / ("vesk-saved-game-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(directory);
    fs::create_directories(directory);
    made_.push_back(directory);
    write_files(directory, kWorld);
    write_files(directory, extra);
    return directory;
  }

  // Plays a copy of the world (with `extra` files) with `input`.
  TranscriptResult play_world(const std::string& input, const Files& extra = {}) {
    TranscriptResult result = play_transcript(make_game(extra), input, 7);
    made_.push_back(result.work_directory);
    return result;
  }

  // Plays the world in place, in `directory`, so that the test controls the
  // directory the game writes to.
  static std::string play_in(const fs::path& directory, const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    play(directory, in, out, 7);
    return out.str();
  }

 private:
  std::vector<fs::path> made_;
};

// The mid-game save holds every kind of line in order: both forms of items and
// enemies, an empty string variable, full catalogue names, and no line for the
// chance bats. Then change everything it holds (and visit another area, pick up
// an item there, place one more rat), load, save again: the same file.
TEST_F(SavedGame, SaveMidGameThenLoadAndSaveGiveTheSameFile) {
  const TranscriptResult result =
      play_world(kMidGameInput + "action 3\npickup iron key\nselect strike\naction 1\nmid\nagain\n");
  ASSERT_GT(occurrences(result.output, "Your attack hit for 3 damage.\n"), 0u) << result.output;
  ASSERT_GT(occurrences(result.output, "A(n) bat appears."), 0u) << result.output;
  ASSERT_GT(occurrences(result.output, "Picked up iron key.\n"), 0u) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "mid.txt"), kMidGame);
  EXPECT_EQ(read_file(result.work_directory / "again.txt"), kMidGame);
}

// Item variables, a wounded definite enemy, an enemy on a spot and unseen visited
// areas, loaded over other items and ammunition and saved again, give the same
// file (also from CR LF line ends): every field went where it belongs.
TEST_F(SavedGame, PreparedFileLoadsAndSavesBackUnchanged) {
  const std::string state =
      "game 4000\nca 1\nsteps 0\nh 60\nm 7\nsel sword\ninv 3 coin\ninv 1 sword\nammo 4 bow\nammo 0 long bow\n"
      "v1 2\nv2 0\n"
      "item 1 5 6 7 coin\nitem 2 2 1 0 -3 rope\nitem 3 0 0 9 iron key\n"
      "enemy 1 4 1 ghost\nenemy 2 2 1 0 rat 2\n"
      "vis 1\nvis 3\n";
  const std::string input = "action 1\npickup rope\naction 3\nstate\ncopy\n";
  const TranscriptResult result = play_world(input, {{"state.txt", state}});
  EXPECT_EQ(read_file(result.work_directory / "copy.txt"), state);

  std::string crlf;
  for (char c : state) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const TranscriptResult from_crlf = play_world(input, {{"state.txt", crlf}});
  EXPECT_EQ(read_file(from_crlf.work_directory / "copy.txt"), state);
}

// Unknown areas, items, weapons, enemies and words, numbered variables below 1
// or indirect, and string variables are passed over. What the file leaves out is
// reset (clock, money, weapon, inventory, items, enemies, visits) or kept (other
// numbered variables, string variables, ammunition, the current area).
TEST_F(SavedGame, LoadSkipsWhatItCannotPlaceAndKeepsWhatTheFileLeavesOut) {
  const std::string odd =
      "game 10\nca 99\nh 50\nsome words that mean nothing\ninv 2 unicorn\ninv 2 rope\n"
      "ammo 5 crossbow\nammo 6 long bow\nv0 5\nv-1 6\nv 3\nvv3 9\nv2 8\ns1 not read back\n"
      "item 0 0 0 0 coin\nitem 4 0 0 0 coin\nitem 1 1 2 3 unicorn\nitem 1 1 2 3 coin\n"
      "enemy 0 5 0 ghost\nenemy 4 5 0 ghost\nenemy 1 5 0 dragon\nenemy 1 5 0 ghost\n"
      "vis 0\nvis 4\nvis 3\n";
  const TranscriptResult result = play_world("action 1\naction 2\naction 3\nodd\nafter\n", {{"odd.txt", odd}});
  EXPECT_EQ(read_file(result.work_directory / "after.txt"),
            "game 10\nca 1\nsteps 0\nh 50\nm 50\nsel strike\ninv 2 rope\nammo 5 bow\nammo 6 long bow\n"
            "v1 -4\nv2 8\nv3 7\ns1 \ns2 hello there\nitem 1 1 2 3 coin\nenemy 1 5 0 ghost\nvis 3\n");
}

// A line of a single word holds no value, so it changes nothing: each key below
// keeps the value of the line before it.
TEST_F(SavedGame, LoadSkipsLinesOfOneWord) {
  const std::string short_lines =
      "game 300\ngame\nca 3\nca\nsteps 86400\nsteps\nh 40\nh\nm 7\nm\nsel sword\nsel\n"
      "inv 2 rope\ninv\nammo 4 bow\nammo\nv3 9\nv3\nitem 1 0 0 0 coin\nitem\nenemy 1 5 0 ghost\nenemy\n"
      "vis 3\nvis\n";
  const TranscriptResult result = play_world("action 3\nshort\nafter\n", {{"short.txt", short_lines}});
  EXPECT_EQ(read_file(result.work_directory / "after.txt"),
            "game 300\nca 3\nsteps 86400\nh 40\nm 7\nsel sword\ninv 2 rope\nammo 4 bow\nammo 0 long bow\n"
            "v1 0\nv2 0\nv3 9\nitem 1 0 0 0 coin\nenemy 1 5 0 ghost\nvis 3\n");
}

// Items that a subdivided area's file lists before its spot rows lie on spot 0;
// a save writes them there and a load puts them back there.
TEST_F(SavedGame, ItemsOnSpotZeroStayThere) {
  const Files cellar = {
      {"area4.txt", "A cellar.\n\nCellar.\n\nnone\n\nnone\n\nitem coin\nm2\n1 0 0 0 0\n\nitem rope 1\n"}};
  const TranscriptResult result = play_world("action 4\nfirst\naction 5\nfirst\naction 4\nsecond\n", cellar);
  std::string expected = kStartOfGame;
  expected.insert(expected.find("vis 1\n"), "item 4 0 0 0 0 coin\nitem 4 1 0 0 0 rope\n");
  EXPECT_EQ(read_file(result.work_directory / "first.txt"), expected);
  EXPECT_EQ(read_file(result.work_directory / "second.txt"), expected);
}

// A drop whose scripts took the item away lands nothing and leaves the
// selection as it was; the drop is still reported.
TEST_F(SavedGame, ADropThatItsScriptsTookLeavesTheAreaAndTheSelection) {
  const Files altar = {
      {"area1.txt", "An altar.\n\nAltar.\n\nnone\n\nsave\n\nitem sling\naction 1 dp 0 sv\ndrop 1 = v1 0 n sling\n"},
      {"item1.txt", "sling\nweapon 1 2 50\n"}};
  const TranscriptResult result = play_world("pickup sling\nselect sling\ndrop sling\naction 1\nafter\n", altar);
  EXPECT_EQ(occurrences(result.output, "Dropped sling.\n"), 1u) << result.output;
  const std::string after = read_file(result.work_directory / "after.txt");
  EXPECT_NE(after.find("\nsel sling\n"), std::string::npos) << after;
  EXPECT_EQ(after.find("inv "), std::string::npos) << after;
  EXPECT_EQ(after.find("item 1 "), std::string::npos) << after;
}

// "ld" reads only what "sv" writes: a file whose first line is not "game" and
// an integer (a content file, an empty file) is refused and changes nothing,
// while the shortest saved game loads.
TEST_F(SavedGame, LoadRefusesAFileThatIsNoSavedGame) {
  const TranscriptResult result = play_world(
      "action 5\narea1\naction 5\nblank\naction 5\nthree\naction 5\nword\naction 4\nafter\n"
      "action 5\nshortest\naction 4\nshort\n",
      {{"blank.txt", ""}, {"three.txt", "game 1 2\n"}, {"word.txt", "game one\n"}, {"shortest.txt", "game 12"}});
  EXPECT_EQ(occurrences(result.output, "File name?> Error: not a saved game\n"), 4u) << result.output;
  EXPECT_EQ(occurrences(result.output, "Error"), 4u) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "after.txt"), kStartOfGame);
  EXPECT_EQ(read_file(result.work_directory / "short.txt"),
            "game 12\nca 1\nsteps 0\nh 100\nm 50\nsel strike\nammo 0 bow\nammo 0 long bow\nvis 1\n");
}

// An existing file, from the game or an earlier save, is never written over, nor
// are files beside it; the name typed always gets ".txt" added.
TEST_F(SavedGame, SaveRefusesAnExistingNameAndAppendsTxt) {
  const TranscriptResult result =
      play_world("action 4\ntaken\naction 4\nfresh\naction 2\naction 4\nfresh\naction 4\nnamed.txt\n",
                 {{"taken.txt", "precious\n"}, {"fresh.txt.tmp0", "mine\n"}});
  EXPECT_EQ(occurrences(result.output, "File name?> Error: file already exists\n"), 2u) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "taken.txt"), "precious\n");
  EXPECT_EQ(read_file(result.work_directory / "fresh.txt.tmp0"), "mine\n");
  EXPECT_EQ(read_file(result.work_directory / "fresh.txt"), kStartOfGame);
  EXPECT_TRUE(fs::exists(result.work_directory / "named.txt.txt"));
  EXPECT_FALSE(fs::exists(result.work_directory / "named.txt"));
}

// "name.txt" exactly at the file system's limit is saved like any other; one
// character more is reported and leaves no file, not even a temporary one.
TEST_F(SavedGame, NamesAtAndBeyondTheFileSystemLimit) {
  const fs::path directory = make_game();
  const long found = ::pathconf(directory.c_str(), _PC_NAME_MAX);
  const std::size_t limit = found > 0 ? static_cast<std::size_t>(found) : 255;
  if (limit - 3 > 254) GTEST_SKIP() << "names of " << limit << " characters do not fit an input line";
  const std::string longest(limit - 4, 'n');
  std::set<std::string> expected = names_in(directory);
  const std::string output =
      play_in(directory, "action 4\n" + std::string(limit - 3, 'n') + "\naction 4\n" + longest + "\n");
  EXPECT_EQ(occurrences(output, "Error"), 1u) << output;
  EXPECT_EQ(occurrences(output, "File name?> Error: could not write file\n"), 1u) << output;
  expected.insert(longest + ".txt");
  EXPECT_EQ(names_in(directory), expected);
  EXPECT_EQ(read_file(directory / (longest + ".txt")), kStartOfGame);
}

TEST_F(SavedGame, SaveIntoAReadOnlyDirectoryFailsCleanly) {
  const fs::path directory = make_game();
  fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
  if (std::ofstream(directory / "probe.txt").is_open()) {
    fs::remove(directory / "probe.txt");
    GTEST_SKIP() << "this user may write into a read-only directory";
  }
  const std::set<std::string> before = names_in(directory);
  const std::string output = play_in(directory, "action 4\nnope\naction 4\nnope\n");
  EXPECT_EQ(occurrences(output, "File name?> Error: could not write file\n"), 2u) << output;
  EXPECT_EQ(names_in(directory), before);
}

// Holds the file-size limit of the process (which binds every user) for as
// long as it lives, with the signal that a write beyond it raises ignored.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_limit_);
    saved_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_limit_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_limit_);
    ::signal(SIGXFSZ, saved_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_limit_{};
  void (*saved_handler_)(int) = SIG_DFL;
};

// A save that breaks off partway (here: the file grows past the size limit)
// leaves neither the file nor a temporary file, and the game goes on.
TEST_F(SavedGame, SaveThatBreaksOffLeavesNothingBehind) {
  const fs::path directory = make_game();
  // Grow the numbered variables so that the file runs to a few kilobytes.
  std::ofstream(directory / "area1.txt", std::ios::app) << "action 2 dp 0 s v400 1\n";
  const std::set<std::string> before = names_in(directory);
  std::string output;
  {
    const FileSizeLimit limit(1024);
    output = play_in(directory, "action 2\naction 4\nbig\n");
  }
  EXPECT_EQ(occurrences(output, "File name?> Error: could not write file\n"), 1u) << output;
  EXPECT_EQ(names_in(directory), before);
}

// A link as a file system without hard links answers it: -1, with errno set
// to `refusal`. With `limit_after_refusal` set, writes beyond that many bytes
// fail from then on.
int refusal = 0;
std::optional<rlim_t> limit_after_refusal;
std::optional<FileSizeLimit> limit;
int refused_link(const char* /*existing*/, const char* /*name*/) {
  if (limit_after_refusal) limit.emplace(*limit_after_refusal);
  errno = refusal;
  return -1;
}

// Where a hard link cannot be made, the save is written into a file created
// for it: complete, never over an existing file, never left half written, and
// with no temporary file beside it. Other refusals write nothing.
TEST_F(SavedGame, WithoutHardLinksTheFileIsWrittenInPlace) {
  const fs::path directory = make_game();
  const std::set<std::string> before = names_in(directory);
  std::set<std::string> expected = before;
  int saves = 0;
  for (const int error : {EMLINK, EPERM, ENOTSUP, EOPNOTSUPP, ENOSYS}) {
    refusal = error;
    const std::string name = "saved" + std::to_string(++saves) + ".txt";
    EXPECT_EQ(write_new_file(directory / name, kMidGame, refused_link), NewFile::kWritten) << error;
    EXPECT_EQ(read_file(directory / name), kMidGame) << error;
    EXPECT_EQ(write_new_file(directory / name, "other\n", refused_link), NewFile::kExists) << error;
    EXPECT_EQ(read_file(directory / name), kMidGame) << error;
    expected.insert(name);
  }
  refusal = EACCES;
  EXPECT_EQ(write_new_file(directory / "denied.txt", kMidGame, refused_link), NewFile::kFailed);
  refusal = EPERM;
  limit_after_refusal = 64;
  EXPECT_EQ(write_new_file(directory / "partial.txt", kMidGame, refused_link), NewFile::kFailed);
  limit.reset();
  limit_after_refusal.reset();
  EXPECT_EQ(names_in(directory), expected);

  // The hard link itself refuses an existing name too, whatever appeared there.
  EXPECT_EQ(write_new_file(directory / "taken.txt", kMidGame, ::link), NewFile::kWritten);
  EXPECT_EQ(write_new_file(directory / "taken.txt", "other\n", ::link), NewFile::kExists);
  EXPECT_EQ(read_file(directory / "taken.txt"), kMidGame);
  expected.insert("taken.txt");
  EXPECT_EQ(names_in(directory), expected);
}

// At the end of the input the file-name prompt reads the empty name, so "sv"
// writes ".txt" and "ld" reads it.
TEST_F(SavedGame, EndOfInputAtTheFileNamePromptMeansTheEmptyName) {
  const TranscriptResult saved = play_world("action 4\n");
  EXPECT_EQ(read_file(saved.work_directory / ".txt"), kStartOfGame);
  EXPECT_EQ(saved.ending, "input-ended");

  const TranscriptResult loaded = play_world("action 5\n", {{".txt", "game 0\nh 33\nm 4\n"}});
  EXPECT_EQ(occurrences(loaded.output, "File name?> \n01 jan 1970 (thu) 00:00 am\nh=033 m=4\n"), 1u) << loaded.output;
}

}  // namespace
}  // namespace vesk::testing
