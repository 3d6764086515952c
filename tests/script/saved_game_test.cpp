// Saved games: the file that "sv" writes, byte for byte; what "ld" restores,
// skips and keeps; the names that both refuse; and saves that cannot be written.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/game.hpp"
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
    "game 0\nca 1\nsteps 0\nh 100\nm 50\nsel strike\n"
    "ammo 0 bow\nammo 0 long bow\n"
    "item 1 0 0 0 coin\nitem 1 0 0 0 coin\nitem 1 0 0 0 rope\n"
    "item 2 1 0 0 0 coin\nitem 2 2 0 0 0 rope\nitem 2 2 0 0 0 coin\n"
    "item 3 0 0 0 iron key\n"
    "vis 1\n";

// Play up to the save in area 2: items given, picked up and dropped, ammunition
// from a script and from a pile, numbered and string variables, the clock past
// a day, a ghost left behind in area 1, two rats placed on spot 1 of area 2
// (one of them wounded), chance bats around them, a weapon selected.
const std::string kMidGameInput =
    "action 1\n"
    "action 2\n"
    "pickup rope\n"
    "pickup ammo\n"
    "path 1\n"
    "action 1\n"
    "select sword\n"
    "fight rat 2\n"
    "drop iron key\n"
    "select long bow\n"
    "action 2\n"
    "mid\n";

const std::string kMidGame =
    "game 90600\nca 2\nsteps 86400\nh 77\nm 123\nsel long bow\n"
    "inv 1 iron key\ninv 1 sword\ninv 1 long bow\ninv 1 rope\n"
    "ammo 12 bow\nammo 3 long bow\n"
    "v1 -4\nv2 0\nv3 7\n"
    "s1 \ns2 hello there\n"
    "item 1 0 0 0 coin\nitem 1 0 0 0 coin\n"
    "item 2 1 0 0 0 coin\nitem 2 2 0 0 0 rope\nitem 2 2 0 0 0 coin\nitem 2 1 0 0 0 iron key\n"
    "item 3 0 0 0 iron key\n"
    "enemy 1 9 0 ghost\n"
    "enemy 2 1 5 1 rat 2\nenemy 2 1 2 0 rat 2\n"
    "vis 1\nvis 2\n";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

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

TEST_F(SavedGame, SaveAtTheStartHoldsTheInitialStateAndThePlacedItems) {
  const TranscriptResult result = play_world("action 4\nfirst\n");
  EXPECT_TRUE(contains(result.output, "> File name?> \n01 jan 1970"));
  EXPECT_EQ(read_file(result.work_directory / "first.txt"), kStartOfGame);
}

// Every kind of line, in order: the ordinary and subdivided forms of items and
// enemies, an empty string variable, full catalogue names of enemies, and no
// line for the bats that arrived by chance.
TEST_F(SavedGame, SaveMidGameWritesEveryLineKindInOrder) {
  const TranscriptResult result = play_world(kMidGameInput);
  ASSERT_TRUE(contains(result.output, "Your attack hit for 3 damage.\n")) << result.output;
  ASSERT_TRUE(contains(result.output, "A(n) bat appears.")) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "mid.txt"), kMidGame);
  EXPECT_EQ(result.ending, "input-ended");
}

// Save, change everything the file holds (and visit another area, pick up an
// item there, place one more rat), load, save under a new name: the same file.
TEST_F(SavedGame, LoadThenSaveGivesBackTheSameFile) {
  const TranscriptResult result = play_world(kMidGameInput +
                                             "action 3\n"
                                             "pickup iron key\n"
                                             "select strike\n"
                                             "action 1\n"
                                             "mid\n"
                                             "again\n");
  ASSERT_TRUE(contains(result.output, "Picked up iron key.\n")) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "mid.txt"), kMidGame);
  EXPECT_EQ(read_file(result.work_directory / "again.txt"), kMidGame);
}

// A file with item variables, a wounded definite enemy in an ordinary area, an
// enemy on a spot, and areas visited that the player has not seen, loaded into
// a game that already holds other items and ammunition: saved again, it is the
// same file, so every field went where it belongs; also when the file has
// CR LF line ends.
TEST_F(SavedGame, PreparedFileLoadsAndSavesBackUnchanged) {
  const std::string state =
      "game 4000\nca 1\nsteps 0\nh 60\nm 7\nsel sword\n"
      "inv 3 coin\ninv 1 sword\n"
      "ammo 4 bow\nammo 0 long bow\n"
      "v1 2\nv2 0\n"
      "item 1 5 6 7 coin\nitem 2 2 1 0 -3 rope\nitem 3 0 0 9 iron key\n"
      "enemy 1 4 1 ghost\nenemy 2 2 1 0 rat 2\n"
      "vis 1\nvis 3\n";
  const std::string input = "action 1\npickup rope\naction 3\nstate\ncopy\n";
  const TranscriptResult result = play_world(input, {{"state.txt", state}});
  EXPECT_EQ(read_file(result.work_directory / "copy.txt"), state);

  // The same file with CR LF line ends reads the same.
  std::string crlf;
  for (char c : state) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const TranscriptResult from_crlf = play_world(input, {{"state.txt", crlf}});
  EXPECT_EQ(read_file(from_crlf.work_directory / "copy.txt"), state);
}

// Lines that name areas outside the catalogue, a current area outside it,
// numbered variables below 1 or given indirectly, unknown items, weapons and
// enemies, string variables and unknown words are all passed over; what the
// file leaves out is reset (clock, day start, money, weapon, inventory,
// items, enemies, visits) or kept (numbered variables it does not name,
// string variables, ammunition counts, the current area).
TEST_F(SavedGame, LoadSkipsWhatItCannotPlaceAndKeepsWhatTheFileLeavesOut) {
  const std::string odd =
      "game 10\nca 99\nh 50\n"
      "some words that mean nothing\n"
      "inv 2 unicorn\ninv 2 rope\n"
      "ammo 5 crossbow\nammo 6 long bow\n"
      "v0 5\nv-1 6\nv 3\nvv3 9\nv2 8\n"
      "s1 not read back\n"
      "item 0 0 0 0 coin\nitem 4 0 0 0 coin\nitem 1 1 2 3 unicorn\nitem 1 1 2 3 coin\n"
      "enemy 0 5 0 ghost\nenemy 4 5 0 ghost\nenemy 1 5 0 dragon\nenemy 1 5 0 ghost\n"
      "vis 0\nvis 4\nvis 3\n";
  const TranscriptResult result = play_world("action 1\naction 2\naction 3\nodd\nafter\n", {{"odd.txt", odd}});
  EXPECT_EQ(read_file(result.work_directory / "after.txt"),
            "game 10\nca 1\nsteps 0\nh 50\nm 50\nsel strike\n"
            "inv 2 rope\n"
            "ammo 5 bow\nammo 6 long bow\n"
            "v1 -4\nv2 8\nv3 7\n"
            "s1 \ns2 hello there\n"
            "item 1 1 2 3 coin\n"
            "enemy 1 5 0 ghost\n"
            "vis 3\n");
}

TEST_F(SavedGame, LoadThatCannotReadItsFileChangesNothing) {
  const TranscriptResult result =
      play_world("action 2\naction 5\nden\naction 5\nmissing\naction 4\nafter\n", {{"den.txt/inside", "h 1\n"}});
  EXPECT_EQ(occurrences(result.output, "File name?> Error: file not found\n"), 2u) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "after.txt"),
            "game 90000\nca 1\nsteps 86400\nh 77\nm 123\nsel strike\n"
            "ammo 0 bow\nammo 0 long bow\n"
            "v1 -4\nv2 0\nv3 7\n"
            "s1 \ns2 hello there\n"
            "item 1 0 0 0 coin\nitem 1 0 0 0 coin\nitem 1 0 0 0 rope\n"
            "item 2 1 0 0 0 coin\nitem 2 2 0 0 0 rope\nitem 2 2 0 0 0 coin\n"
            "item 3 0 0 0 iron key\n"
            "vis 1\n");
}

// An existing file is never written over, whether it came with the game or an
// earlier save made it, and other files beside it are left alone; the name
// typed always gets ".txt" added.
TEST_F(SavedGame, SaveRefusesAnExistingNameAndAppendsTxt) {
  const TranscriptResult result = play_world(
      "action 4\ntaken\n"
      "action 4\nfresh\n"
      "action 2\n"
      "action 4\nfresh\n"
      "action 4\nnamed.txt\n",
      {{"taken.txt", "precious\n"}, {"fresh.txt.tmp0", "mine\n"}});
  EXPECT_EQ(occurrences(result.output, "File name?> Error: file already exists\n"), 2u) << result.output;
  EXPECT_EQ(read_file(result.work_directory / "taken.txt"), "precious\n");
  EXPECT_EQ(read_file(result.work_directory / "fresh.txt.tmp0"), "mine\n");
  EXPECT_EQ(read_file(result.work_directory / "fresh.txt"), kStartOfGame);
  EXPECT_TRUE(fs::exists(result.work_directory / "named.txt.txt"));
  EXPECT_FALSE(fs::exists(result.work_directory / "named.txt"));
}

// A name with "/" or a NUL byte is refused by both commands: nothing is
// written, nothing is read (not even the file named by the part before the
// NUL byte), and the game goes on unchanged.
TEST_F(SavedGame, NamesWithSlashOrNulAreRefused) {
  const std::string nul(1, '\0');
  const TranscriptResult result = play_world(
      "action 4\nsub/made\n"
      "action 5\nsub/x\n"
      "action 5\nab" +
          nul +
          "c\n"
          "action 4\ncd" +
          nul +
          "e\n"
          "action 4\ncheck\n",
      {{"sub/x.txt", "h 1\nm 1\n"}, {"ab.txt", "h 1\nm 1\n"}});
  EXPECT_EQ(occurrences(result.output, "File name?> Error: invalid file name\n"), 4u) << result.output;
  EXPECT_FALSE(fs::exists(result.work_directory / "sub" / "made.txt"));
  EXPECT_FALSE(fs::exists(result.work_directory / "cd.txt"));
  EXPECT_EQ(names_in(result.work_directory / "sub"), std::set<std::string>{"x.txt"});
  EXPECT_EQ(read_file(result.work_directory / "check.txt"), kStartOfGame);
}

long longest_name(const fs::path& directory) {
  const long limit = ::pathconf(directory.c_str(), _PC_NAME_MAX);
  return limit > 0 ? limit : 255;
}

// The longest name whose file the file system takes ("name.txt" exactly at
// its limit) is saved like any other.
TEST_F(SavedGame, LongestNameTheFileSystemTakesIsSaved) {
  const fs::path directory = make_game();
  const long limit = longest_name(directory);
  if (limit - 4 > 254) GTEST_SKIP() << "names of " << limit << " characters do not fit an input line";
  const std::string name(static_cast<std::size_t>(limit - 4), 'n');
  const std::set<std::string> before = names_in(directory);

  const std::string output = play_in(directory, "action 4\n" + name + "\n");
  EXPECT_FALSE(contains(output, "Error")) << output;
  std::set<std::string> expected = before;
  expected.insert(name + ".txt");
  EXPECT_EQ(names_in(directory), expected);
  EXPECT_EQ(read_file(directory / (name + ".txt")), kStartOfGame);
}

// One character more cannot be written: that is reported, leaves no file and
// no temporary file behind, and the game goes on.
TEST_F(SavedGame, NameTooLongForTheFileSystemIsReported) {
  const fs::path directory = make_game();
  const long limit = longest_name(directory);
  if (limit - 3 > 254) GTEST_SKIP() << "names of " << limit << " characters do not fit an input line";
  const std::string name(static_cast<std::size_t>(limit - 3), 'n');
  const std::set<std::string> before = names_in(directory);

  const std::string output = play_in(directory, "action 4\n" + name + "\naction 4\nafter\n");
  EXPECT_EQ(occurrences(output, "File name?> Error: could not write file\n"), 1u) << output;
  std::set<std::string> expected = before;
  expected.insert("after.txt");
  EXPECT_EQ(names_in(directory), expected);
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

// At the end of the input the file-name prompt reads the empty name, so "sv"
// writes ".txt" and "ld" reads it.
TEST_F(SavedGame, EndOfInputAtTheFileNamePromptMeansTheEmptyName) {
  const TranscriptResult saved = play_world("action 4\n");
  EXPECT_EQ(read_file(saved.work_directory / ".txt"), kStartOfGame);
  EXPECT_EQ(saved.ending, "input-ended");

  const TranscriptResult loaded = play_world("action 5\n", {{".txt", "h 33\nm 4\n"}});
  EXPECT_TRUE(contains(loaded.output, "File name?> \n01 jan 1970 (thu) 00:00 am\nh=033 m=4\n")) << loaded.output;
}

}  // namespace
}  // namespace vesk::testing
