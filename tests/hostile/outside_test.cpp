// Saving and loading under names that lead out of the game directory: such
// names are refused, so no file appears and none is read anywhere but there.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/transcript.hpp"

namespace vesk::testing {
namespace {

namespace fs = std::filesystem;

// area1.txt offers "action 1" (save), "action 2" (load) and "action 3" (lose
// 10 health); sub/x.txt is a saved game inside the game directory.
const fs::path kGame = fs::path(VESK_TESTS_DIR) / "hostile/transcripts/save-names-outside/game";

std::set<std::string> files_below(const fs::path& root) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).string());
  }
  return files;
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(SaveNamesOutside, NothingIsWrittenOrReadOutsideTheGameDirectory) {
  const fs::path temp = fs::temp_directory_path();
  const std::string tag = "vesk-hostile-" + std::to_string(::getpid());
  const fs::path absolute = temp / (tag + "-absolute");
  // A saved game outside the game directory that would set the health to 7.
  const fs::path bait = temp / (tag + "-bait.txt");
  std::ofstream(bait) << "h 7\n";
  const std::vector<fs::path> never_written = {temp / (tag + "-up.txt"), fs::path(absolute.string() + ".txt"),
                                               temp / (tag + "-nul.txt")};
  for (const fs::path& file : never_written) fs::remove(file);

  std::string input;
  auto save = [&](const std::string& name) { input += "action 1\n" + name + "\n"; };
  auto load = [&](const std::string& name) { input += "action 2\n" + name + "\n"; };
  save("../" + tag + "-up");
  save(absolute.string());
  save("sub/" + tag);
  save(std::string("x\0/../", 6) + tag + "-nul");  // the name ends at the NUL: "x"

  save("");
  input += "action 3\n";  // health 90, so that a load shows
  load("../" + tag + "-bait");
  load((temp / (tag + "-bait")).string());
  load("sub/x");
  input += "look\n";
  load("");  // the save made at health 100, inside the directory
  input += "look\nquit\n";

  const TranscriptResult result = play_transcript(kGame, input, 0);
  for (const fs::path& file : never_written) EXPECT_FALSE(fs::exists(file)) << file;
  EXPECT_EQ(count_of(result.output, "Error: invalid file name\n"), 6u) << result.output;
  EXPECT_EQ(files_below(result.work_directory), (std::set<std::string>{".txt", "area1.txt", "sub/x.txt", "x.txt"}));
  EXPECT_EQ(read_file(result.work_directory / "sub/x.txt"), "h 5\n");
  // The refused loads left the health at 90; only the load from inside the
  // directory brought back 100. Neither 7 nor 5 was ever read.
  EXPECT_EQ(count_of(result.output, "h=090"), 2u) << result.output;
  EXPECT_EQ(count_of(result.output, "h=007") + count_of(result.output, "h=005"), 0u);
  EXPECT_EQ(result.output.substr(result.output.rfind("h=")),
            "h=100 m=50\n\nA record office.\n\nActions:\n (1) save\n (2) load\n (3) hurt yourself\n\n> ");

  fs::remove(bait);
  for (const fs::path& file : never_written) fs::remove(file);
  fs::remove_all(result.work_directory);
}

}  // namespace
}  // namespace vesk::testing
