// Faults from outside the game: standard input that fails, a full disk, stale
// temporary files, FIFOs and devices where files belong, and content built to
// exhaust memory. Each case runs the real program in a child process, so that
// aborts, signals and hangs show as an exit status instead of ending the suite.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "kit/tools.hpp"
#include "support/transcript.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

// Address-space limits mean nothing to a build whose sanitizer reserves
// terabytes of shadow memory up front.
#ifdef VESK_SANITIZED
constexpr bool kCanLimitMemory = false;
#else
constexpr bool kCanLimitMemory = true;
#endif

enum class Input {
  kText,       // the text, then the end of the input
  kClosed,     // descriptor 0 is closed
  kDirectory,  // reading fails with EISDIR at once
  kFailing,    // the text, then one failed read (a reset connection), then the end
};

struct Launch {
  Input input = Input::kText;
  std::string text;
  rlim_t file_size_limit = RLIM_INFINITY;
  rlim_t memory_limit = RLIM_INFINITY;
  unsigned seconds = 30;  // the child is killed by SIGALRM after this long
};

struct Result {
  int status = -1;  // the exit status, or 128 + the signal that ended the child
  std::string output;
};

class GameDirectory {
 public:
  const fs::path& path() const { return dir_.path(); }
  void write(const std::string& name, const std::string& content) const { kit::write_file(path() / name, content); }
  std::set<std::string> names() const {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path())) names.insert(entry.path().filename());
    return names;
  }

 private:
  kit::TemporaryDirectory dir_;
};

// Runs the program in `directory`. Only calls that are safe after fork run in
// the child before exec.
Result run_game(const fs::path& directory, const Launch& run) {
  int output[2];
  if (::pipe(output) != 0) return {};
  int input_fd = -1;
  if (run.input == Input::kText) {
    const fs::path input_file = directory.string() + ".input";
    std::ofstream(input_file, std::ios::binary) << run.text;
    input_fd = ::open(input_file.c_str(), O_RDONLY | O_CLOEXEC);
    fs::remove(input_file);
  } else if (run.input == Input::kDirectory) {
    input_fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } else if (run.input == Input::kFailing) {
    // Closing one end of a stream socket while data waits unread in it makes
    // the first read past the text fail with ECONNRESET.
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return {};
    const bool sent = ::write(pair[0], "x", 1) == 1 &&
                      ::write(pair[1], run.text.data(), run.text.size()) == static_cast<ssize_t>(run.text.size());
    ::close(pair[1]);
    if (!sent) return {};
    input_fd = pair[0];
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    if (run.input == Input::kClosed) {
      ::close(0);
    } else {
      ::dup2(input_fd, 0);
    }
    ::dup2(output[1], 1);
    ::close(output[0]);
    ::close(output[1]);
    const rlimit file_size{run.file_size_limit, run.file_size_limit};
    const rlimit memory{run.memory_limit, run.memory_limit};
    if (::chdir(directory.c_str()) != 0 || ::setrlimit(RLIMIT_FSIZE, &file_size) != 0 ||
        ::setrlimit(RLIMIT_AS, &memory) != 0) {
      ::_exit(125);
    }
    ::alarm(run.seconds);
    ::execl(VESK_BINARY, "vesk", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(output[1]);
  if (input_fd >= 0) ::close(input_fd);
  Result result;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(output[0], buffer, sizeof buffer);
    if (got > 0) {
      result.output.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(output[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A room whose actions ask for a number, save, load and end the game.
const std::string kRoom =
    "A small room.\n\nThe room.\n\nnone\n\nask\nsave\nload\nend\n\n"
    "action 1 dp 0 s v4 5\naction 1 dp 0 nk v4 How many?\naction 1 dp 0 : got +v4\n"
    "action 2 dp 0 sv\naction 3 dp 0 ld\naction 4 dp 0 terminate\n";

Result play_room(Input input, const std::string& text, GameDirectory& game) {
  game.write("area1.txt", kRoom);
  return run_game(game.path(), Launch{input, text});
}

TEST(FailingInput, ReadsAsTheEndOfTheInputAtEveryPrompt) {
  {
    GameDirectory game;
    const Result closed = play_room(Input::kClosed, "", game);
    EXPECT_EQ(closed.status, 0);
    EXPECT_TRUE(ends_with(closed.output, "(4) end\n\n> ")) << closed.output;
  }
  {
    GameDirectory game;
    const Result directory = play_room(Input::kDirectory, "", game);
    EXPECT_EQ(directory.status, 0);
    EXPECT_TRUE(ends_with(directory.output, "(4) end\n\n> ")) << directory.output;
  }
  {
    GameDirectory game;
    const Result prompt = play_room(Input::kFailing, "look\n", game);
    EXPECT_EQ(prompt.status, 0);
    EXPECT_EQ(count_of(prompt.output, "(4) end\n\n> "), 2u) << prompt.output;
  }
  {
    // The number prompt reads 0, and the action goes on.
    GameDirectory game;
    const Result number = play_room(Input::kFailing, "action 1\n", game);
    EXPECT_EQ(number.status, 0);
    EXPECT_NE(number.output.find("How many? (number)> "), std::string::npos) << number.output;
    EXPECT_NE(number.output.find("got 0\n"), std::string::npos) << number.output;
  }
  {
    // The file name prompt reads the empty name: the save goes to ".txt".
    GameDirectory game;
    const Result save = play_room(Input::kFailing, "action 2\n", game);
    EXPECT_EQ(save.status, 0);
    EXPECT_TRUE(fs::is_regular_file(game.path() / ".txt"));
  }
  {
    GameDirectory game;
    const Result load = play_room(Input::kFailing, "action 3\n", game);
    EXPECT_EQ(load.status, 0);
    EXPECT_NE(load.output.find("File name?> Error: file not found\n"), std::string::npos) << load.output;
  }
  for (const std::string last : {"quit\n", "action 4\n"}) {
    // The two characters read before the program ends.
    GameDirectory game;
    const Result ending = play_room(Input::kFailing, last, game);
    EXPECT_EQ(ending.status, 0) << last;
  }
}

TEST(FullDisk, ASaveThatCannotBeWrittenFailsAndTheGameGoesOn) {
  GameDirectory game;
  game.write("area1.txt", kRoom);
  Launch run{Input::kText, "action 2\nfull\nlook\naction 2\nfull\n"};
  run.file_size_limit = 16;  // the saved game needs more
  const Result result = run_game(game.path(), run);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(count_of(result.output, "File name?> Error: could not write file\n"), 2u) << result.output;
  EXPECT_TRUE(ends_with(result.output, "(4) end\n\n> ")) << result.output;
  // Neither the saved game nor a temporary file is left behind.
  EXPECT_EQ(game.names(), (std::set<std::string>{"area1.txt"}));
}

TEST(StaleTemporaryFiles, NeverBlockASave) {
  GameDirectory game;
  game.write("area1.txt", kRoom);
  std::set<std::string> stale = {"area1.txt"};
  for (int n = 0; n < 200; ++n) {
    for (const std::string& name : {".vesk-save-" + std::to_string(n) + ".tmp", ".vesk-save-" + std::to_string(n)}) {
      game.write(name, "left by a crash\n");
      stale.insert(name);
    }
  }
  const Result result = run_game(game.path(), Launch{Input::kText, "action 2\nmine\naction 2\nmine\n"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(count_of(result.output, "Error: file already exists\n"), 1u) << result.output;
  EXPECT_EQ(count_of(result.output, "Error: could not write"), 0u) << result.output;
  EXPECT_EQ(read_file(game.path() / "mine.txt").substr(0, 12), "game 0\nca 1\n");
  stale.insert("mine.txt");
  EXPECT_EQ(game.names(), stale);
}

// A crash between writing a save's temporary and removing it leaves the
// temporary behind; the next save removes those older than an hour, by their
// own name pattern only, and leaves a save that may be in progress alone.
TEST(StaleTemporaryFiles, OldOnesOfTheSavesOwnPatternAreRemoved) {
  GameDirectory game;
  game.write("area1.txt", kRoom);
  const std::string stale = ".vesk-save-0123456789abcdef.tmp";
  const std::string fresh = ".vesk-save-fedcba9876543210.tmp";
  const std::string other = ".vesk-save-01234567.tmp";  // not the pattern
  for (const std::string& name : {stale, fresh, other}) game.write(name, "left by a crash\n");
  const auto two_hours_ago = fs::file_time_type::clock::now() - std::chrono::hours(2);
  fs::last_write_time(game.path() / stale, two_hours_ago);
  fs::last_write_time(game.path() / other, two_hours_ago);
  fs::create_directory(game.path() / ".vesk-save-00000000000000aa.tmp");
  fs::last_write_time(game.path() / ".vesk-save-00000000000000aa.tmp", two_hours_ago);

  const Result result = run_game(game.path(), Launch{Input::kText, "action 2\nmine\n"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(game.names(),
            (std::set<std::string>{"area1.txt", "mine.txt", fresh, other, ".vesk-save-00000000000000aa.tmp"}));
}

Launch bounded_run(const std::string& text) {
  Launch run{Input::kText, text};
  run.seconds = 10;
  if (kCanLimitMemory) run.memory_limit = rlim_t{1} << 30;
  return run;
}

TEST(SpecialFiles, ContentFilesThatAreNoRegularFilesCountAsMissing) {
  const std::string area2 = "A yard.\n\nThe yard.\n\nnone\n\nnone\n\n";
  const std::string input = "look\npath 1\n";
  // The same game twice: once with FIFOs and device links among its files,
  // once without those files at all.
  GameDirectory plain;
  GameDirectory special;
  for (GameDirectory* game : {&plain, &special}) {
    game->write("area1.txt", "A hall.\n\nThe hall.\n\nyard 2 10\n\nnone\n\nitem lantern\nenemy rat 100\n");
    game->write("item1.txt", "lantern\nlamp\n");
  }
  special.write("enemy2.txt", "ghost\n5\n\n\n\n");
  special.write("msg2.txt", "A lost note.\n");
  plain.write("area2.txt", area2);
  special.write("area2.txt", area2);
  ASSERT_EQ(::mkfifo((special.path() / "msg1.txt").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", special.path() / "item2.txt");
  fs::create_symlink("/dev/null", special.path() / "enemy1.txt");
  ASSERT_EQ(::mkfifo((special.path() / "area3.txt").c_str(), 0600), 0);
  special.write("area4.txt", area2);

  const Result expected = run_game(plain.path(), bounded_run(input));
  ASSERT_EQ(expected.status, 0);
  const Result result = run_game(special.path(), bounded_run(input));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, expected.output) << describe_difference(expected.output, result.output);
}

TEST(SpecialFiles, SaveNamesThatAreNoRegularFiles) {
  GameDirectory game;
  game.write("area1.txt", kRoom);
  ASSERT_EQ(::mkfifo((game.path() / "fifo.txt").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", game.path() / "zero.txt");
  fs::create_symlink("/dev/null", game.path() / "null.txt");
  fs::create_symlink("nowhere.txt", game.path() / "dangling.txt");
  std::string input;
  for (const char* name : {"fifo", "zero", "null", "dangling"}) {
    input += std::string("action 3\n") + name + "\naction 2\n" + name + "\n";
  }
  const Result result = run_game(game.path(), bounded_run(input));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(count_of(result.output, "File name?> Error: file not found\n"), 4u) << result.output;
  EXPECT_EQ(count_of(result.output, "File name?> Error: file already exists\n"), 4u) << result.output;
  EXPECT_TRUE(fs::is_fifo(game.path() / "fifo.txt"));
  EXPECT_FALSE(fs::exists(game.path() / "nowhere.txt"));
  EXPECT_EQ(game.names(), (std::set<std::string>{"area1.txt", "fifo.txt", "zero.txt", "null.txt", "dangling.txt"}));
}

// A file far larger than any game needs, which takes no disk at all: the game
// counts it as missing rather than trying to hold it.
void make_sparse(const GameDirectory& game, const std::string& name) {
  game.write(name, "");
  fs::resize_file(game.path() / name, std::uintmax_t{2} << 40);  // 2 TiB
}

TEST(HugeFiles, ASparseSavedGameIsNotFound) {
  GameDirectory game;
  game.write("area1.txt", kRoom);
  make_sparse(game, "huge.txt");
  for (const bool limited : {false, true}) {
    Launch run = limited ? bounded_run("action 3\nhuge\nlook\n") : Launch{Input::kText, "action 3\nhuge\nlook\n"};
    const Result result = run_game(game.path(), run);
    EXPECT_EQ(result.status, 0) << limited;
    EXPECT_EQ(count_of(result.output, "File name?> Error: file not found\n"), 1u) << result.output;
    EXPECT_EQ(count_of(result.output, "(4) end\n\n> "), 3u) << result.output;
  }
}

TEST(HugeFiles, ASparseContentFileEndsItsKindAsAMissingOneWould) {
  const std::string hall = "A hall.\n\nThe hall.\n\nyard 2 10\n\nnone\n\n";
  const std::string yard = "A yard.\n\nThe yard.\n\nnone\n\nnone\n\n";
  GameDirectory plain;
  plain.write("area1.txt", hall);
  GameDirectory huge;
  huge.write("area1.txt", hall);
  make_sparse(huge, "area2.txt");
  huge.write("area3.txt", yard);
  make_sparse(huge, "msg1.txt");
  huge.write("msg2.txt", "Never read.\n");
  const Result expected = run_game(plain.path(), bounded_run("path 1\n"));
  ASSERT_EQ(expected.status, 0);
  for (const bool limited : {false, true}) {
    const Result result = run_game(huge.path(), limited ? bounded_run("path 1\n") : Launch{Input::kText, "path 1\n"});
    EXPECT_EQ(result.status, 0) << limited;
    EXPECT_EQ(result.output, expected.output) << describe_difference(expected.output, result.output);
  }
}

// Content that fits the size limit but not the memory there is ends the game
// before it starts, as an empty input would: no abort, what was printed kept.
TEST(LittleMemory, ContentTooBigForTheMemoryEndsTheGameQuietly) {
  if (!kCanLimitMemory) GTEST_SKIP() << "sanitizers reserve too much address space";
  GameDirectory game;
  std::string charm = "charm\n";
  charm.reserve(std::size_t{64} << 20);
  while (charm.size() < (std::size_t{64} << 20)) charm += "d 0 msg hi\n";
  game.write("item1.txt", charm);
  game.write("area1.txt", "A cave.\n\nThe cave.\n\nnone\n\nnone\n\nitem charm\n");
  Launch run{Input::kText, "look\n"};
  run.memory_limit = rlim_t{160} << 20;
  run.seconds = 60;
  const Result result = run_game(game.path(), run);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output.rfind("vesk 1.0 alpha\nPlease wait...\n", 0), 0u) << result.output.substr(0, 200);
}

// Runs `text` in `game` with 256 MiB of address space.
Result run_in_little_memory(const GameDirectory& game, const std::string& text) {
  Launch run{Input::kText, text};
  run.memory_limit = rlim_t{256} << 20;
  run.seconds = 60;
  return run_game(game.path(), run);
}

std::string line_of(std::size_t length, const std::string& start, const std::string& end) {
  std::string line = start;
  while (line.size() + end.size() < length) line += "word ";
  return line + end + "\n";
}

// Content of about 100 MB made of one line again and again, as a generated or
// hostile game may hold, in the file `name` among the small files of a cave.
struct BigContent {
  std::string name;
  std::string head;  // what the big file starts with
  std::string line;  // the line it repeats
  std::string tail;  // what ends it
};

constexpr std::size_t kBigSize = std::size_t{100} << 20;

// The game plays in no more than six times the size of its content, and a few
// MB besides for the program itself.
Result play_big(const BigContent& big) {
  GameDirectory game;
  game.write("area1.txt", "A cave.\n\nThe cave.\n\nnone\n\nnone\n\nitem coin\nenemy ogre 0\n");
  game.write("item1.txt", "coin\n");
  game.write("enemy1.txt", "ogre\n5\n\nhits you 1 2 0\n\n\n");
  {
    std::ofstream out(game.path() / big.name, std::ios::binary | std::ios::trunc);
    out << big.head;
    const std::size_t count = (kBigSize - big.head.size()) / big.line.size();
    std::string block;
    for (int k = 0; k < 4096; ++k) block += big.line;
    for (std::size_t written = 0; written < count; written += 4096) {
      out.write(block.data(),
                static_cast<std::streamsize>(std::min<std::size_t>(4096, count - written) * big.line.size()));
    }
    out << big.tail;
  }
  Launch run{Input::kText, "look\nlook\n"};
  run.memory_limit = 6 * kBigSize + (rlim_t{64} << 20);
  run.seconds = 120;
  return run_game(game.path(), run);
}

TEST(LittleMemory, LargeContentPlaysInSixTimesItsSize) {
  if (!kCanLimitMemory) GTEST_SKIP() << "sanitizers reserve too much address space";
  const std::string room = "A cave.\n\nThe cave.\n\nnone\n\nnone\n\n";
  const BigContent kinds[] = {
      {"area1.txt", room, "item coin\n", ""},
      {"enemy1.txt", "ogre\n5\n\n", "hits 1 2 0\n", "\n\n"},
      {"area1.txt", "", "A long cave.\n", "\nThe cave.\n\nnone\n\nnone\n\n"},
      {"msg1.txt", "", "A message.\n", ""},
      {"item1.txt", "coin\n", "d 0 msg hi\n", ""},
      {"area1.txt", room, "s 0 : hi\n", ""},
  };
  for (const BigContent& big : kinds) {
    const Result result = play_big(big);
    EXPECT_EQ(result.status, 0) << big.name << " of \"" << big.line << "\"";
    EXPECT_EQ(count_of(result.output, "> "), 3u) << big.name << " of \"" << big.line << "\"";
  }
}

TEST(LittleMemory, CopiesOfItemsAndEnemiesShareTheirScriptsAndAttacks) {
  if (!kCanLimitMemory) GTEST_SKIP() << "sanitizers reserve too much address space";
  GameDirectory game;
  // About 30 KB of use script and 60 KB of attacks and loot.
  std::string charm = "charm\n";
  for (int n = 0; n < 120; ++n) charm += line_of(250, "d 0 msg ", "end");
  game.write("item1.txt", charm);
  std::string ogre = "ogre\n5\n\n";
  for (int n = 0; n < 120; ++n) ogre += line_of(250, "", "1 2 0");  // never hits
  ogre += "\n";
  for (int n = 0; n < 120; ++n) ogre += line_of(120, "charm ", "1 1 1");
  game.write("enemy1.txt", ogre + "\n");
  // 4,000 items and 4,000 kinds of enemy that never appear in the area, and a
  // turn script that places 10,000 enemies.
  std::string area = "A cave.\n\nThe cave.\n\nnone\n\nnone\n\n";
  for (int n = 0; n < 4000; ++n) area += "item charm\nenemy ogre 0\n";
  area += "s 0 repetition top\ns 0 , ogre\ns 0 repeat top\n";
  game.write("area1.txt", area);
  const Result result = run_in_little_memory(game, "pickup charm 7\ninv\nuse charm\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("Used charm.\n"), std::string::npos);
}

TEST(LittleMemory, PendingMessagesStopAtTenThousand) {
  if (!kCanLimitMemory) GTEST_SKIP() << "sanitizers reserve too much address space";
  GameDirectory game;
  game.write("msg1.txt", line_of(250, "A long message ", "ends."));
  game.write("area1.txt",
             "A cave.\n\nThe cave.\n\nnone\n\nnone\n\n"
             "s 0 repetition top\ns 0 msf 1 1\ns 0 msf 1 1\ns 0 repeat top\n");
  const Result result = run_in_little_memory(game, "");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(count_of(result.output, "ends.\n"), 10000u);
}

TEST(LittleMemory, SpotTablesHoldOnlyTheRowsWritten) {
  if (!kCanLimitMemory) GTEST_SKIP() << "sanitizers reserve too much address space";
  GameDirectory game;
  for (int n = 1; n <= 1000; ++n) {
    game.write("area" + std::to_string(n) + ".txt", "A maze.\n\nThe maze.\n\nnone\n\nnone\n\nm2\n100000 0 0 0 0\n\n");
  }
  const Result result = run_in_little_memory(game, "");
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(ends_with(result.output, "> ")) << result.output;
}

TEST(SpotNumbers, RunToTheLargestThirtyTwoBitNumber) {
  GameDirectory game;
  game.write("area1.txt", "A gate.\n\nThe gate.\n\nin 2 10\n\nnone\n\n");
  // The only exit back to area 1 is on the last spot: the player enters
  // there, facing away from it, so that it lies behind.
  game.write("area2.txt",
             "A maze.\n\nThe maze.\n\nnone\n\nnone\n\nm2\n2147483647 -1 0 0 0\n1 0 0 0 0\n2147483647 -1 0 0 0\n\n");
  const Result result = run_game(game.path(), bounded_run("path 1\n"));
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("A maze."), std::string::npos) << result.output;
  EXPECT_TRUE(ends_with(result.output, "Paths:\n (1) back\n\n> ")) << result.output;

  // At the start the player comes from no area, so the wanted exit is 0: the
  // first spot with a 0 exit is spot 2, a row that no line wrote.
  GameDirectory start;
  start.write("area1.txt",
              "A hall.\n\nThe hall.\n\nnone\n\nnone\n\nm2\n1 3 3 3 3\n2147483647 3 3 3 3\n\n"
              "s 0 s v1 a2\ns 0 : on spot +v1\n");
  const Result entered = run_game(start.path(), bounded_run(""));
  EXPECT_EQ(entered.status, 0);
  EXPECT_NE(entered.output.find("on spot 2\n"), std::string::npos) << entered.output;
}

TEST(SavedGames, LinesLongerThanAnInputLineLoadBackWhole) {
  GameDirectory game;
  std::string name = "relic";
  while (name.size() + 7 <= 248) name += " of old";  // "item NAME" must fit a content line
  game.write("item1.txt", name + "\n");
  // s2 is 254 characters and ends in "h 1", where a line cut after 254
  // characters would start a line of its own.
  game.write("area1.txt", "A vault.\n\nThe vault.\n\nnone\n\nfill\nsave\nload\n\nitem " + name +
                              "\naction 1 dp 0 s s1 " + std::string(124, 'B') + "\naction 1 dp 0 s s3 " +
                              std::string(125, 'C') +
                              "\naction 1 dp 0 s s2 +s1 +s3 h 1\naction 2 dp 0 sv\n"
                              "action 3 dp 0 ld\n");
  const Result result = run_game(game.path(), Launch{Input::kText, "action 1\naction 2\nkeep\naction 3\nkeep\n"});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(read_file(game.path() / "keep.txt").find("C h 1\ns3 "), std::string::npos);
  EXPECT_EQ(count_of(result.output, "h=100"), 4u) << result.output;
  EXPECT_EQ(count_of(result.output, "There is a(n) " + name + " here."), 4u) << result.output;
}

}  // namespace
}  // namespace vesk::testing
