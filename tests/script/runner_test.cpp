// The script runner and the conditions it evaluates: guards tested in order up to
// the first false one, labels and repeats, and the reads that conditions and
// commands make even when nothing else happens.
#include "script/runner.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

#include "core/game.hpp"
#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "script/variables.hpp"

namespace {

vesk::World one_area() {
  vesk::World world;
  world.areas.push_back(vesk::Area{});
  return world;
}

struct ScriptGame {
  std::istringstream in;
  std::ostringstream out;
  vesk::Game game{one_area(), in, out, 0};

  void run(std::initializer_list<const char*> lines) {
    vesk::Script script;
    for (const char* line : lines) script.push_back(vesk::parse_script_line(line));
    vesk::run_script(game, script);
  }
  bool holds(const char* condition) { return vesk::evaluate_condition(game, std::string(condition)); }
  std::int32_t get(const char* name) { return vesk::get_variable(game, name); }
};

TEST(RunScript, StopsTestingConditionsAtTheFirstFalseOne) {
  ScriptGame g;
  // v1 is 0, so the second condition, which would read v9, is never evaluated.
  g.run({"2 = v1 1 = v9 0 msg never"});
  EXPECT_EQ(g.game.vars.numbered.size(), 1u);
  EXPECT_EQ(g.out.str(), "");

  g.run({"0 s v1 1", "2 = v1 1 = v9 0 msg both hold"});
  EXPECT_EQ(g.game.vars.numbered.size(), 9u);
  EXPECT_EQ(g.out.str(), "both hold\n");
}

TEST(RunScript, LinesSeeTheEffectsOfTheLinesBeforeThem) {
  ScriptGame g;
  g.run({"1 = v1 0 s v1 1", "1 = v1 1 s v1 2", "1 = v1 2 msg v1 reached +v1"});
  EXPECT_EQ(g.out.str(), "v1 reached 2\n");
}

TEST(RunScript, RepeatGoesBackToTheNearestLabelAbove) {
  ScriptGame g;
  g.run({"0 s v1 0", "0 repetition top", "0 a v1 1", "1 - v1 3 repeat top", "0 msg done +v1"});
  EXPECT_EQ(g.get("v1"), 3);
  EXPECT_EQ(g.out.str(), "done 3\n");

  // Two labels of one name: the loop runs between the second one and the repeat.
  ScriptGame twin;
  twin.run({"0 repetition x", "0 a v1 1", "0 repetition x", "0 a v2 1", "1 - v2 4 repeat x"});
  EXPECT_EQ(twin.get("v1"), 1);
  EXPECT_EQ(twin.get("v2"), 4);
}

TEST(RunScript, RepeatWithoutALabelAboveIsPassed) {
  ScriptGame g;
  g.run({"0 a v1 1", "0 repeat later", "0 repetition later", "0 a v1 10"});
  EXPECT_EQ(g.get("v1"), 11);
}

TEST(RunScript, SkipsLinesWhoseConditionCountDoesNotFit) {
  ScriptGame g;
  g.run({"2 = v1 0 msg seven words needed", "-1 msg negative", "0", "", "x msg a word counts as 0"});
  EXPECT_EQ(g.out.str(), "a word counts as 0\n");
}

TEST(Conditions, ComparisonsOfVariablesAndLiterals) {
  ScriptGame g;
  EXPECT_TRUE(g.holds("= h 100"));
  EXPECT_TRUE(g.holds("+ m 49"));
  EXPECT_FALSE(g.holds("- m 50"));
  EXPECT_FALSE(g.holds("+ m 50"));
  EXPECT_TRUE(g.holds("- -2147483648 2147483647"));
  EXPECT_TRUE(g.holds("= steps 0"));
  EXPECT_TRUE(g.holds("= ca 1"));
  // Unknown operators and conditions without both operands are false.
  EXPECT_FALSE(g.holds("> m 0"));
  EXPECT_FALSE(g.holds("== 1 1"));
  EXPECT_FALSE(g.holds("= h"));
  EXPECT_FALSE(g.holds(""));
  EXPECT_TRUE(g.holds("= v3 0"));
  EXPECT_EQ(g.game.vars.numbered.size(), 3u);
}

TEST(Conditions, UnknownOperatorStillReadsBothOperands) {
  ScriptGame g;
  EXPECT_FALSE(g.holds("> v4 v6"));
  EXPECT_EQ(g.game.vars.numbered.size(), 6u);
}

TEST(Conditions, WeekdayAndHourWindowsUseTheLastView) {
  ScriptGame g;
  // Before any view both are 0.
  EXPECT_TRUE(g.holds("tcw 0 0"));
  EXPECT_TRUE(g.holds("tch 0 1"));
  g.game.current_hour = 9;
  EXPECT_TRUE(g.holds("tch 9 17"));
  g.game.current_hour = 16;
  EXPECT_TRUE(g.holds("tch 9 17"));
  g.game.current_hour = 17;
  EXPECT_FALSE(g.holds("tch 9 17"));
  for (std::int32_t day = 1; day <= 7; ++day) {
    g.game.current_weekday = day;
    EXPECT_EQ(g.holds("tcw 1 5"), day <= 5) << day;
  }
  // The bounds are plain numbers, not variable names.
  g.game.current_weekday = 3;
  vesk::set_variable(g.game, "v1", 3);
  EXPECT_FALSE(g.holds("tcw v1 v1"));
  EXPECT_FALSE(g.holds("tcw 3"));
}

TEST(Conditions, HeldNamesAnItemOfAnyLength) {
  ScriptGame g;
  vesk::Item key;
  key.name = "old iron key";
  g.game.inventory.push_back(vesk::InventoryEntry{key, 1});
  EXPECT_TRUE(g.holds("old iron key held"));
  EXPECT_TRUE(g.holds("old  iron key  held"));
  EXPECT_FALSE(g.holds("iron key held"));
  EXPECT_FALSE(g.holds("Old iron key held"));
  EXPECT_FALSE(g.holds("held"));
}

TEST(Conditions, ItemVariablesOfTheCurrentItem) {
  ScriptGame g;
  // No current item yet: "vi" reads 0.
  EXPECT_TRUE(g.holds("= vi1 0"));
  vesk::Item gem;
  gem.name = "gem";
  gem.item_variables = {7, -2, 5};
  g.game.inventory.push_back(vesk::InventoryEntry{gem, 1});
  g.game.current_item = {vesk::Game::ItemRef::Place::kInventory, 0};
  EXPECT_TRUE(g.holds("= vi1 7"));
  EXPECT_TRUE(g.holds("- vi2 vi3"));
  EXPECT_TRUE(g.holds("= vi3 5"));
  // Numbers outside 1 to 3 name no item variable.
  EXPECT_TRUE(g.holds("= vi0 0"));
  EXPECT_TRUE(g.holds("= vi4 0"));
  EXPECT_TRUE(g.holds("= vi 0"));
  // An entry that has gone away reads 0 too.
  g.game.inventory.clear();
  EXPECT_TRUE(g.holds("= vi1 0"));
}

TEST(ExecuteCommand, OperandsAreReadBeforeTheCommandWordIsKnown) {
  ScriptGame g;
  vesk::Random untouched(0);
  vesk::execute_command(g.game, std::string("zz v5 x10"));
  EXPECT_EQ(g.game.vars.numbered.size(), 5u);
  EXPECT_EQ(g.game.vars.numbered, std::vector<std::int32_t>(5, 0));
  // The random number was drawn: the generator is one draw ahead.
  untouched.next();
  EXPECT_EQ(g.game.rng.next(), untouched.next());

  // "x" without a range draws nothing and changes nothing.
  vesk::Random same(0);
  ScriptGame h;
  vesk::set_variable(h.game, "v1", 9);
  vesk::execute_command(h.game, std::string("s v1 x0"));
  vesk::execute_command(h.game, std::string("a v1 x"));
  EXPECT_EQ(h.get("v1"), 9);
  EXPECT_EQ(h.game.rng.next(), same.next());
}

TEST(ExecuteCommand, UndefinedResultsLeaveTheVariable) {
  ScriptGame g;
  const auto run = [&](const char* command) { vesk::execute_command(g.game, std::string(command)); };
  run("s v1 0");
  run("pow v1 -1");
  EXPECT_EQ(g.get("v1"), 0);
  run("s v1 46341");
  run("pow v1 2");
  EXPECT_EQ(g.get("v1"), 46341);
  run("s v1 2147483647");
  run("sqr v1");
  EXPECT_EQ(g.get("v1"), 46340);
  run("s v1 -2147483648");
  run("p v1 -1");
  EXPECT_EQ(g.get("v1"), -2147483647 - 1);
  run("% v1 -1");
  EXPECT_EQ(g.get("v1"), 0);
  run("s v1 7");
  run("% v1 0");
  run("p v1 v99");
  EXPECT_EQ(g.get("v1"), 7);
  run("pow v1 0");
  EXPECT_EQ(g.get("v1"), 1);
}

}  // namespace
