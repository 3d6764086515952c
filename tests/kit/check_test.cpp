// vesk-kit check: each check against a small game that triggers it and the same
// game with the fix applied, then the command line: output, statuses, options,
// and physical line numbers in files with long lines and CR LF line ends.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kit/checker.hpp"
#include "kit/kit.hpp"
#include "kit/nearest.hpp"
#include "kit/tools.hpp"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// A small game that is clean: two areas (the second subdivided), a few items,
// an enemy and a message file.
Files base_game() {
  return {
      {"msg1.txt", "Hello.\nBye.\n"},
      {"item1.txt", "rusty key\n"},
      {"item2.txt", "storm lantern\nlamp\n"},
      {"item3.txt", "crossbow\nweapon 2 8 70\n"},
      {"item4.txt", "seal bag\nair\n"},
      {"enemy1.txt", "rat\n5\n-\nbites you 1 4 60\n\nrusty key 1 1 50\n\n"},
      {"area1.txt", "Hall.\n\nHall.\n\ndoor 2 30\n\nlook\n\nitem rusty key\n"},
      {"area2.txt", "Cellar.\n\nCellar.\n\nnone\n\nnone\n\nm2\n1 2 0 -1 0\n2 0 0 1 0\n\nitem storm lantern 2\n"},
  };
}

// The first area with `keywords` after its item line (line 10 on).
std::string hall(const std::string& keywords) { return base_game()["area1.txt"] + keywords; }

// The cellar with `rows_and_after` after its "m2" line (line 10 on).
std::string cellar(const std::string& rows_and_after) {
  return "Cellar.\n\nCellar.\n\nnone\n\nnone\n\nm2\n" + rows_and_after;
}

Files with(Files files, const Files& changes) {
  for (const auto& [name, content] : changes) files[name] = content;
  return files;
}

std::vector<vesk::kit::Finding> check(const Files& files) {
  return vesk::kit::check_game(vesk::kit::MemoryFiles(files));
}

std::string listing(const std::vector<vesk::kit::Finding>& findings) {
  std::string text;
  for (const auto& f : findings)
    text += f.file + ":" + std::to_string(f.line) + ": " + f.message + " [" + f.check + "]\n";
  return text;
}

struct Case {
  const char* check;
  Files trigger;  // changes to the clean game that trigger the check
  Files fixed;    // the same changes with the fault mended
  const char* file;
  std::int64_t line;
};

const std::string kLongName(130, 'x');
// 82 characters: wider than an 80-column console shows whole.
const std::string kWideText = "The rain comes in sideways off the sea, and the old keeper pulls his coat tighter.";

std::vector<Case> cases() {
  const std::string rat = "rat\n5\n-\n";
  return {
      {"unknown-item",
       {{"area1.txt", hall("item rusty kye\n")}},
       {{"area1.txt", hall("item rusty key\n")}},
       "area1.txt",
       10},
      {"unknown-enemy",
       {{"area1.txt", hall("enemy rta 10\n")}},
       {{"area1.txt", hall("enemy rat 10\n")}},
       "area1.txt",
       10},
      {"unknown-weapon",
       {{"area1.txt", hall("ammo crosbow 5\n")}},
       {{"area1.txt", hall("ammo crossbow 5\n")}},
       "area1.txt",
       10},
      {"never-obtainable",
       {{"item5.txt", "golden key\n"}, {"area1.txt", hall("path 1 cd golden key held\n")}},
       {{"item5.txt", "golden key\n"}, {"area1.txt", hall("path 1 cd golden key held\nitem golden key\n")}},
       "area1.txt",
       10},
      {"bad-area",
       {{"area1.txt", hall("action 1 dp 0 s ca 7\n")}},
       {{"area1.txt", hall("action 1 dp 0 s ca 2\n")}},
       "area1.txt",
       10},
      {"bad-spot",
       {{"area2.txt", cellar("1 3 0 -1 0\n2 0 0 1 0\n\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\n")}},
       "area2.txt",
       10},
      {"bad-list-number",
       {{"area1.txt", hall("action 2 dp 0 msg hi\n")}},
       {{"area1.txt", hall("action 1 dp 0 msg hi\n")}},
       "area1.txt",
       10},
      {"unknown-list-code",
       {{"area1.txt", hall("action 1 dq 0 msg hi\n")}},
       {{"area1.txt", hall("action 1 dp 0 msg hi\n")}},
       "area1.txt",
       10},
      {"bad-message",
       {{"area1.txt", hall("action 1 dp 0 msf 1 3\n")}},
       {{"area1.txt", hall("action 1 dp 0 msf 1 2\n")}},
       "area1.txt",
       10},
      {"short-line",
       {{"enemy1.txt", rat + "bites you 60\n\n\n"}},
       {{"enemy1.txt", rat + "bites you 1 4 60\n\n\n"}},
       "enemy1.txt",
       4},
      {"keyword-trap",
       {{"area1.txt", "Hall.\nitems lie here.\n\nHall.\n\ndoor 2 30\n\nlook\n\n"}},
       {{"area1.txt", "Hall.\nSome items lie here.\n\nHall.\n\ndoor 2 30\n\nlook\n\n"}},
       "area1.txt",
       2},
      {"near-keyword", {{"area1.txt", hall("dark ")}}, {{"area1.txt", hall("dark\n")}}, "area1.txt", 10},
      {"unknown-keyword",
       {{"area1.txt", hall("itme rusty key\n")}},
       {{"area1.txt", hall("# itme rusty key\n")}},
       "area1.txt",
       10},
      {"numbering-gap", {{"item6.txt", "rope\n"}}, {{"item5.txt", "rope\n"}, {"item6.txt", "rope\n"}}, "item6.txt", 1},
      {"empty-file", {{"item5.txt", ""}}, {{"item5.txt", "rope\n"}}, "item5.txt", 1},
      {"unended-rows",
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\n")}},
       "area2.txt",
       9},
      {"eaten-line",
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\nitem storm lantern 2\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\nitem storm lantern 2\n")}},
       "area2.txt",
       12},
      {"spot-row-order",
       {{"area2.txt", cellar("1 2 0 -1 0\n3 0 0 1 0\n\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\n")}},
       "area2.txt",
       11},
      {"before-m2",
       {{"area2.txt", "Cellar.\n\nCellar.\n\nnone\n\nnone\n\nitem storm lantern\nm2\n1 2 0 -1 0\n2 0 0 1 0\n\n"}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\nitem storm lantern 2\n")}},
       "area2.txt",
       9},
      {"unreachable-spot",
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n3 0 0 2 0\n\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 3 0 1 0\n3 0 0 2 0\n\n")}},
       "area2.txt",
       12},
      {"one-way-exit",
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 0 0\n\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\n")}},
       "area2.txt",
       10},
      {"enemy-nowhere",
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\nenemy rat 5 9 1 20\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\nenemy rat 1 3 1 20\n")}},
       "area2.txt",
       13},
      {"enemy-range",
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\nenemy rat 1 9 1 20\n")}},
       {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\nenemy rat 2 3 0 20\n")}},
       "area2.txt",
       13},
      {"turn-ca-subdivided",
       {{"area1.txt", hall("s 0 s ca 2\n")}},
       {{"area1.txt", hall("action 1 dp 0 s ca 2\n")}},
       "area1.txt",
       10},
      {"unknown-command",
       {{"area1.txt", hall("action 1 dp 0 mgs hi\n")}},
       {{"area1.txt", hall("action 1 dp 0 msg hi\n")}},
       "area1.txt",
       10},
      {"condition-count",
       {{"area1.txt", hall("action 1 dp 1 = h 100 = m 50 msg hi\n")}},
       {{"area1.txt", hall("action 1 dp 2 = h 100 = m 50 msg hi\n")}},
       "area1.txt",
       10},
      {"bad-condition",
       {{"area1.txt", hall("action 1 cv > h 5\n")}},
       {{"area1.txt", hall("action 1 cv + h 5\n")}},
       "area1.txt",
       10},
      {"unknown-variable",
       {{"area1.txt", hall("action 1 cv = hp 5\n")}},
       {{"area1.txt", hall("action 1 cv = h 5\n")}},
       "area1.txt",
       10},
      {"unwritten-variable",
       {{"area1.txt", hall("action 1 cv = v1 0\n")}},
       {{"area1.txt", hall("action 1 cv = v1 0\naction 1 dp 0 s v1 1\n")}},
       "area1.txt",
       10},
      {"missing-label",
       {{"area1.txt", hall("action 1 dp 1 = h 5 repeat top\n")}},
       {{"area1.txt", hall("action 1 dp 0 repetition top\naction 1 dp 1 = h 5 repeat top\n")}},
       "area1.txt",
       10},
      {"unused-label",
       {{"area1.txt", hall("action 1 dp 0 repetition top\n")}},
       {{"area1.txt", hall("action 1 dp 0 repetition top\naction 1 dp 1 = h 5 repeat top\n")}},
       "area1.txt",
       10},
      {"unreachable-area",
       {{"area3.txt", "Attic.\n\nAttic.\n\ndown 1 10\n\nnone\n\n"}},
       {{"area3.txt", "Attic.\n\nAttic.\n\ndown 1 10\n\nnone\n\n"}, {"area1.txt", hall("action 1 dp 0 s ca 3\n")}},
       "area3.txt",
       1},
      {"dead-end",
       {{"area3.txt", "Attic.\n\nAttic.\n\nnone\n\nnone\n\n"}, {"area1.txt", hall("action 1 dp 0 s ca 3\n")}},
       {{"area3.txt", "Attic.\n\nAttic.\n\ndown 1 10\n\nnone\n\n"}, {"area1.txt", hall("action 1 dp 0 s ca 3\n")}},
       "area3.txt",
       1},
      {"dark-no-lamp",
       {{"area1.txt", hall("dark\n")}, {"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\n")}},
       {{"area1.txt", hall("dark\n")}},
       "area1.txt",
       10},
      {"water-no-air", {{"area1.txt", hall("wtr\n")}}, {{"area1.txt", hall("wtr\nitem seal bag\n")}}, "area1.txt", 10},
      {"no-attacks", {{"enemy1.txt", rat + "\n\n"}}, {{"enemy1.txt", rat + "bites you 1 4 60\n\n\n"}}, "enemy1.txt", 1},
      {"reversed-bounds",
       {{"enemy1.txt", rat + "bites you 4 1 60\n\n\n"}},
       {{"enemy1.txt", rat + "bites you 1 4 60\n\n\n"}},
       "enemy1.txt",
       4},
      {"zero-chance",
       {{"enemy1.txt", rat + "bites you 1 4 0\n\n\n"}},
       {{"enemy1.txt", rat + "bites you 1 4 60\n\n\n"}},
       "enemy1.txt",
       4},
      {"text-cut",
       {{"enemy1.txt", rat + "bites you 1 4 60\n\n\nattr " + kLongName + " 2\n"}},
       {{"enemy1.txt", rat + "bites you 1 4 60\n\n\nattr fire 2\n"}},
       "enemy1.txt",
       7},
      {"long-line",
       {{"area1.txt", hall("action 1 dp 0 msg " + kWideText + "\n")}},
       {{"area1.txt", hall("action 1 dp 0 msg The rain comes in sideways off the sea, and the old keeper\n"
                           "action 1 dp 0 msg pulls his coat tighter.\n")}},
       "area1.txt",
       10},
      {"not-a-number",
       {{"area1.txt", "Hall.\n\nHall.\n\ndoor 2 3O\n\nlook\n\nitem rusty key\n"}},
       {{"area1.txt", "Hall.\n\nHall.\n\ndoor 2 30\n\nlook\n\nitem rusty key\n"}},
       "area1.txt",
       5},
      {"loot-in-attacks",
       {{"enemy1.txt", rat + "bites you 1 4 60\nrusty key 1 1 50\n\n"}},
       {{"enemy1.txt", rat + "bites you 1 4 60\n\nrusty key 1 1 50\n\n"}},
       "enemy1.txt",
       5},
      {"empty-display-name",
       {{"enemy1.txt", "7\n5\n-\nbites you 1 4 60\n\n\n"}},
       {{"enemy1.txt", "rat 7\n5\n-\nbites you 1 4 60\n\n\n"}},
       "enemy1.txt",
       1},
  };
}

}  // namespace

TEST(Check, TheCleanGameHasNoFindings) { EXPECT_EQ(listing(check(base_game())), ""); }

TEST(Check, EveryCheckFiresOnItsGameAndNotOnTheMendedOne) {
  std::map<std::string, int> tested;
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.check);
    ASSERT_NE(vesk::kit::find_check(c.check), nullptr);
    ++tested[c.check];
    const auto findings = check(with(base_game(), c.trigger));
    bool found = false;
    for (const auto& f : findings) found = found || (f.check == c.check && f.file == c.file && f.line == c.line);
    EXPECT_TRUE(found) << "expected " << c.file << ":" << c.line << " [" << c.check << "], got:\n" << listing(findings);
    EXPECT_EQ(listing(check(with(base_game(), c.fixed))), "");
  }
  // A file that is no regular file, or one too large to read, needs a disk:
  // CheckCommand tests them.
  tested["not-a-file"] = 1;
  tested["too-large"] = 1;
  for (const auto& info : vesk::kit::all_checks()) EXPECT_EQ(tested[std::string(info.name)], 1) << info.name;
}

// Every text that the game shows as a line of its own: message files, both
// descriptions and the "msg" and ":" commands; a line end is no character.
TEST(Check, NotesLinesWiderThanTheConsoleWhereverTheyAreShown) {
  const std::string exact(79, 'x');
  const auto findings = check(
      with(base_game(),
           {{"msg1.txt", "Hello.\n" + kWideText + "\r\n" + exact + "\n"},
            {"area1.txt", kWideText + "\n\nHall.\n" + kWideText + "\n\ndoor 2 30\n\nlook\n\nitem rusty key\n" +
                              "action 1 dp 0 : " + kWideText + "\naction 1 dp 0 s s1 " + kWideText + "\n"},
            {"item5.txt", "caf\xc3\xa9 map\nd 0 msg " + std::string(70, 'a') + " caf\xc3\xa9 \xc3\xa9t\xc3\xa9\n"}}));
  std::vector<std::string> noted;
  for (const auto& f : findings) {
    if (f.check == "long-line") noted.push_back(f.file + ":" + std::to_string(f.line));
  }
  EXPECT_EQ(noted, (std::vector<std::string>{"area1.txt:1", "area1.txt:4", "area1.txt:11", "msg1.txt:2"}))
      << listing(findings);
}

// The faults an author plants by habit, each reported on its own line with
// what the game will do.
TEST(Check, FaultsAnAuthorPlantsByHabit) {
  struct Planted {
    Files changes;
    const char* file;
    std::int64_t line;
    const char* check;
    const char* says;  // a piece of the message
  };
  const std::string rat = "rat\n5\n-\n";
  const std::vector<Planted> planted = {
      {{{"area1.txt", hall("item rusty kye\n")}}, "area1.txt", 10, "unknown-item", "did you mean \"rusty key\"?"},
      {{{"area1.txt", "Hall.\n\nHall.\n\ndoor 9 30\n\nlook\n\nitem rusty key\n"}},
       "area1.txt",
       5,
       "bad-area",
       "taking it goes nowhere"},
      {{{"area1.txt", hall("action 1 dp 0 a v1 1\naction 1 dp 1 - v1 3 repeat top\n")}},
       "area1.txt",
       11,
       "missing-label",
       "the game goes on with the next line"},
      {{{"area1.txt", hall("action 1 cv = v7 1\n")}}, "area1.txt", 10, "unwritten-variable", "always 0"},
      {{{"area1.txt", "Hall.\nitems lie about.\n\nHall.\n\ndoor 2 30\n\nlook\n\nitem rusty key\n"}},
       "area1.txt",
       2,
       "keyword-trap",
       "also reads it as a keyword line"},
      {{{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 5\n\nitem storm lantern 2\n")}},
       "area2.txt",
       11,
       "bad-spot",
       "the exit goes nowhere"},
      {{{"area1.txt", hall("action 1 dp 0 msf 1 3\n")}}, "area1.txt", 10, "bad-message", "has no line 3"},
      {{{"area1.txt", hall("action 1 dp 0 s v2 7\naction 1 dp 0 msf 1 v2\n")}},
       "area1.txt",
       11,
       "bad-message",
       "sets to 7, but msg1.txt has 2 lines, so the command shows nothing then"},
      {{{"enemy1.txt", rat + "whirls his sling at you 2 8\n\nrusty key 1 1 50\n\n"}},
       "enemy1.txt",
       4,
       "not-a-number",
       "\"you\" stands where the game reads a number, and is no whole number, so the game reads it as 0; an attack "
       "line is its text and three numbers"},
      {{{"enemy1.txt", rat + "bites you 1 4 60\nrusty key 1 1 50\n\nattr fire 2\n"}},
       "enemy1.txt",
       5,
       "loot-in-attacks",
       "a missing blank line before the loot?"},
      {{{"item3.txt", "crossbow\nweapon 2 8 7O\n"}}, "item3.txt", 2, "not-a-number", "reads it as 7"},
  };
  for (const Planted& fault : planted) {
    SCOPED_TRACE(std::string(fault.check) + " at " + fault.file + ":" + std::to_string(fault.line));
    const auto findings = check(with(base_game(), fault.changes));
    bool found = false;
    for (const auto& f : findings) {
      found = found || (f.check == fault.check && f.file == fault.file && f.line == fault.line &&
                        f.message.find(fault.says) != std::string::npos);
    }
    EXPECT_TRUE(found) << listing(findings);
  }
}

// Every number word of a script is read by decimal conversion, as the loaders
// read theirs: a word that is no whole number is read as its leading digits.
TEST(Check, NumberWordsOfScriptsThatAreNoWholeNumber) {
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"action 1 dp 1x = h 5 msg hi",
       "\"1x\" stands where the game reads a number, and is no whole number, so the "
       "game reads it as 1 (the line's condition count)"},
      {"action 1 cv tch 9 17h",
       "\"17h\" stands where the game reads a number, and is no whole number, so the game "
       "reads it as 17 (the bounds are plain numbers: variables are not read there)"},
      {"action 1 dp 0 msf 1x 2",
       "\"1x\" stands where the game reads a number, and is no whole number, so the game "
       "reads it as 1"},
      {"action 1 dp 0 . crossbow 6O", "\"6O\" stands where the game reads a number"},
      {"action 1 dp 0 s s2x hello",
       "\"s2x\" stands where the game reads a number, and is no whole number, so the "
       "game reads it as s2"},
      {"action 1 dp 0 s h x6y",
       "\"x6y\" stands where the game reads a number, and is no whole number, so the game "
       "reads it as x6"},
      {"action 1 cv = vi2x 0", "reads it as vi2"},
      {"action 1 dp 0 s vv3q 1", "reads it as v3"},
  };
  for (const auto& [line, says] : lines) {
    SCOPED_TRACE(line);
    const auto findings = check(with(base_game(), {{"area1.txt", hall(line + "\n")}}));
    bool found = false;
    for (const auto& f : findings) {
      found = found || (f.check == "not-a-number" && f.line == 10 && f.message.find(says) != std::string::npos);
    }
    EXPECT_TRUE(found) << listing(findings);
  }
  // A line that begins with a word and no count at all runs with the count 0.
  EXPECT_EQ(listing(check(with(base_game(), {{"area1.txt", hall("action 1 dp msg hi\n")}}))),
            "area1.txt:10: the line begins with \"msg\", not a condition count: the game reads the count as 0 and "
            "runs the words after it; begin the line with \"0\" [condition-count]\n"
            "area1.txt:10: \"hi\" is no command, so the line does nothing [unknown-command]\n");
}

// A repeat line jumps to the nearest label of its name above it, as the game
// worked it out when loading: a label that only a lower one shadows is unused,
// and a label below the repeat line is none for it.
TEST(Check, RepeatsUseTheLabelTheGameFound) {
  EXPECT_EQ(listing(check(with(base_game(), {{"area1.txt", hall("action 1 dp 0 repetition top\n"
                                                                "action 1 dp 0 repetition top\n"
                                                                "action 1 dp 1 = h 5 repeat top\n")}}))),
            "area1.txt:10: no repeat line below it jumps to the label \"top\"; remove it or add \"COUNT CONDITIONS "
            "repeat top\" below it [unused-label]\n");
  const auto below = listing(check(
      with(base_game(), {{"area1.txt", hall("action 1 dp 1 = h 5 repeat top\naction 1 dp 0 repetition top\n")}})));
  EXPECT_NE(below.find("area1.txt:10: no label \"top\" stands above this repeat line"), std::string::npos) << below;
  EXPECT_NE(below.find("area1.txt:11: no repeat line below it jumps"), std::string::npos) << below;
}

TEST(Check, KeywordTrapsOfItemAndEnemyFilesAndScriptLines) {
  const auto has = [](const Files& changes, const char* file, std::int64_t line) {
    for (const auto& f : check(with(base_game(), changes))) {
      if (f.check == "keyword-trap" && f.file == file && f.line == line) return true;
    }
    return false;
  };
  EXPECT_TRUE(has({{"item5.txt", "airship ticket\n"}}, "item5.txt", 1));
  EXPECT_TRUE(has({{"enemy2.txt", "grappler\n5\n-\nbites you 1 4 60\n\n\n"}}, "enemy2.txt", 1));
  EXPECT_TRUE(has({{"area1.txt", hall("action 1 dp 0 msg the repetition ends\n")}}, "area1.txt", 10));
  // A "grapple" line after the loot is the keyword itself.
  EXPECT_FALSE(has({{"enemy1.txt", "rat\n5\n-\nbites you 1 4 60\n\n\ngrapple\n"}}, "enemy1.txt", 7));
}

// A range never holds its end spot, not even a range of step 0 that starts there.
TEST(Check, AStepZeroRangeStartingAtItsEndReachesNoSpot) {
  const auto nowhere = [](const std::string& enemy_line) {
    for (const auto& f : check(with(base_game(), {{"area2.txt", cellar("1 2 0 -1 0\n2 0 0 1 0\n\n" + enemy_line)}}))) {
      if (f.check == "enemy-nowhere") return true;
    }
    return false;
  };
  EXPECT_TRUE(nowhere("enemy rat 1 1 0 100\n"));
  EXPECT_FALSE(nowhere("enemy rat 1 5 0 100\n"));
}

TEST(Check, SuggestionsCatchCapitalsAndSwapsButNotStrangers) {
  vesk::kit::NearestName names({"rusty key", "storm lantern", "crossbow"});
  EXPECT_EQ(names.nearest("Rusty Key"), "rusty key");
  EXPECT_EQ(names.nearest("rusty kye"), "rusty key");
  EXPECT_EQ(names.nearest("crosbow"), "crossbow");
  EXPECT_EQ(names.nearest("golden goose"), "");
  EXPECT_EQ(vesk::kit::edit_distance("abc", "acb", 3), 1U);
  EXPECT_EQ(vesk::kit::edit_distance("kitten", "sitting", 1), 2U);  // more than the limit
}

TEST(Check, LineNumbersArePhysicalLinesDespiteLongLinesAndCrLf) {
  const std::string long_line(600, 'a');
  const Files files =
      with(base_game(), {{"area1.txt", "Hall.\r\n" + long_line +
                                           "\r\n\r\nHall.\r\n\r\ndoor 2 30\r\n\r\nlook\r\n\r\nitem rusty kye\r\n"}});
  const auto findings = check(files);
  // The long line is one line to the author: read in three pieces, reported once.
  ASSERT_EQ(findings.size(), 2U) << listing(findings);
  EXPECT_EQ(findings[0].check, "text-cut");
  EXPECT_EQ(findings[0].line, 2);
  EXPECT_EQ(findings[1].check, "unknown-item");
  EXPECT_EQ(findings[1].line, 10);
}

// --- the command line, on a game written to disk ----------------------------

namespace {

class CheckCommand : public ::testing::Test {
 protected:
  void write(const Files& files) {
    for (const auto& [name, content] : files) vesk::kit::write_file(dir_ / name, content);
  }

  int run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    std::istringstream in;
    args.insert(args.begin(), "check");
    return vesk::kit::run(args, in, out_, err_);
  }

  const vesk::kit::TemporaryDirectory temp_;
  const fs::path dir_ = temp_.path();
  std::ostringstream out_, err_;
};

}  // namespace

TEST_F(CheckCommand, PrintsFindingsLikeACompilerAndExitsByWhatItFound) {
  write(with(base_game(), {{"area1.txt", hall("item rusty kye\nitme rope\n")}}));
  EXPECT_EQ(run({dir_.string()}), vesk::kit::kExitFindings);
  const std::string file = (dir_ / "area1.txt").string();
  EXPECT_EQ(out_.str(), file +
                            ":10: error: no item is named \"rusty kye\"; did you mean \"rusty key\"? (the line adds "
                            "nothing) [unknown-item]\n" +
                            file +
                            ":11: error: the line after the fourth blank line begins with no keyword (m2, swim, wtr, "
                            "dark, ammo, item, enemy, pcd, drop, action, path, s), so the game ignores it; did you "
                            "mean \"item\"? (begin a line with \"#\" to mark it as a comment) [unknown-keyword]\n"
                            "2 errors, 0 warnings, 0 notes\n");
  EXPECT_EQ(err_.str(), "");

  EXPECT_EQ(run({"--ignore", "unknown-item,unknown-keyword", dir_.string()}), vesk::kit::kExitClean);
  EXPECT_EQ(out_.str(), "0 errors, 0 warnings, 0 notes\n");
  EXPECT_EQ(run({dir_.string(), "--ignore=unknown-item"}), vesk::kit::kExitFindings);
  EXPECT_EQ(out_.str().find("unknown-item"), std::string::npos);
}

TEST_F(CheckCommand, JsonHoldsTheSameFindings) {
  write(with(base_game(), {{"area1.txt", hall("item rusty \"kye\"\n")}}));
  EXPECT_EQ(run({"--json", dir_.string()}), vesk::kit::kExitFindings);
  const std::string file = (dir_ / "area1.txt").string();
  EXPECT_EQ(out_.str(),
            "{\"findings\": [\n  {\"file\": \"" + file +
                "\", \"line\": 10, \"grade\": \"error\", \"check\": \"unknown-item\", \"message\": \"no item "
                "is named \\\"rusty \\\\\\\"kye\\\\\\\"\\\"; did you mean \\\"rusty key\\\"? (the line adds "
                "nothing)\"}\n], \"errors\": 1, \"warnings\": 0, \"notes\": 0}\n");
  write(base_game());
  EXPECT_EQ(run({"--json", dir_.string()}), vesk::kit::kExitClean);
  EXPECT_EQ(out_.str(), "{\"findings\": [], \"errors\": 0, \"warnings\": 0, \"notes\": 0}\n");
}

// The list of checks is the table --ignore reads, and the manual page and the
// guide name each check.
TEST_F(CheckCommand, ListsEveryCheckThatTheManualAndTheGuideName) {
  EXPECT_EQ(run({"--list"}), vesk::kit::kExitClean);
  std::istringstream listed(out_.str());
  std::ifstream manual_file(std::string(VESK_TESTS_DIR) + "/../docs/vesk-kit.6");
  std::ifstream guide_file(std::string(VESK_TESTS_DIR) + "/../docs/authoring.md");
  std::stringstream manual, guide;
  manual << manual_file.rdbuf();
  guide << guide_file.rdbuf();
  std::size_t count = 0;
  for (std::string line; std::getline(listed, line); ++count) {
    const std::string name = line.substr(0, line.find(' '));
    ASSERT_NE(vesk::kit::find_check(name), nullptr) << line;
    EXPECT_EQ(line.rfind(name + " " + std::string(vesk::kit::grade_name(vesk::kit::find_check(name)->grade)) + ": ", 0),
              0U)
        << line;
    std::string escaped;
    for (char c : name) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    EXPECT_TRUE(manual.str().find(name) != std::string::npos || manual.str().find(escaped) != std::string::npos)
        << name << " is not in the manual page";
    EXPECT_NE(guide.str().find(name), std::string::npos) << name << " is not in the guide";
  }
  EXPECT_EQ(count, vesk::kit::all_checks().size());
}

TEST_F(CheckCommand, NoGameOrAWrongCommandLineExitsWithTwo) {
  EXPECT_EQ(run({dir_.string()}), vesk::kit::kExitUsage);  // empty directory: no area1.txt
  EXPECT_NE(err_.str().find("area1.txt is missing"), std::string::npos);
  write(base_game());
  EXPECT_EQ(run({"--ignore", "no-such-check", dir_.string()}), vesk::kit::kExitUsage);
  EXPECT_EQ(run({"--ignore"}), vesk::kit::kExitUsage);
  EXPECT_EQ(run({"--frobnicate", dir_.string()}), vesk::kit::kExitUsage);
  EXPECT_EQ(run({dir_.string(), dir_.string()}), vesk::kit::kExitUsage);
  EXPECT_EQ(run({dir_.string()}), vesk::kit::kExitClean);
}

// The game counts a content file that is no regular file as missing, and
// reads it without waiting: so does the checker, which once hung on a FIFO.
TEST_F(CheckCommand, ReadsAFifoAsTheGameDoesWithoutWaiting) {
  write(base_game());
  fs::remove(dir_ / "msg1.txt");
  ASSERT_EQ(::mkfifo((dir_ / "msg1.txt").c_str(), 0600), 0);
  auto checked = std::async(std::launch::async, [&] { return run({dir_.string()}); });
  if (checked.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    // Give the waiting reader a writer that closes at once, so the test ends.
    const int fd = ::open((dir_ / "msg1.txt").c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    ADD_FAILURE() << "check waited for a writer on the FIFO";
  }
  EXPECT_EQ(checked.get(), vesk::kit::kExitFindings);
  EXPECT_NE(out_.str().find("msg1.txt:1: error: the game reads regular files only"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("[not-a-file]"), std::string::npos);
}

// A content file over 256 MiB counts as missing in the game: the checker says
// so, with its size. The file is sparse, so it takes no disk.
TEST_F(CheckCommand, ReportsAFileTooLargeForTheGame) {
  write(base_game());
  fs::remove(dir_ / "msg1.txt");
  { std::ofstream(dir_ / "msg1.txt"); }
  fs::resize_file(dir_ / "msg1.txt", std::uintmax_t{300} << 20);
  EXPECT_EQ(run({dir_.string()}), vesk::kit::kExitFindings);
  EXPECT_NE(out_.str().find("msg1.txt:1: error: the file holds 314572800 bytes, and the game reads no file over "
                            "256 MiB"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("[too-large]"), std::string::npos);
}

// An area may number its spots up to the 32-bit maximum; only the rows written
// take memory, in the game and in the checker. The spots that nothing reaches
// are reported as runs, so the findings stay as few as the rows.
TEST(Check, AnAreaOfTwoBillionSpotsIsCheckedByItsRows) {
  const auto findings = check(with(base_game(), {{"area2.txt", cellar("1 2 0 -1 0\n2 1 0 0 0\n2147483647 0 0 0 -1\n\n"
                                                                      "item storm lantern 2\n")}}));
  EXPECT_EQ(listing(findings),
            "area2.txt:12: the rows skip from spot 2 to spot 2147483647, so spots 3 to 2147483646 have no exits; "
            "write a row for every spot [spot-row-order]\n"
            "area2.txt:12: no entry and no exit reaches spots 3 to 2147483647, so the player can never stand on "
            "them; give another spot an exit to them [unreachable-spot]\n");
}
