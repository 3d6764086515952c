// What the script runner, conditions and commands read, seen where the output
// does not show it: the growth of the numbered table and the item variables.
// Loops, guards, arithmetic and time windows are played in the script transcripts.
#include "script/runner.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "support/script_game.hpp"

namespace {

using vesk::testing::ScriptGame;

TEST(RunScript, StopsTestingConditionsAtTheFirstFalseOne) {
  ScriptGame g;
  g.run({"2 = v1 1 = v9 0 msg never"});  // v9 is never read
  EXPECT_EQ(g.numbered().size(), 1u);
  g.run({"0 s v1 1", "2 = v1 1 = v9 0 msg both hold"});
  EXPECT_EQ(g.numbered().size(), 9u);
  EXPECT_EQ(g.out.str(), "both hold\n");
}

TEST(Conditions, ReadBothOperandsWhateverTheOperator) {
  ScriptGame g;
  EXPECT_FALSE(g.holds("> v4 v6"));
  EXPECT_EQ(g.numbered().size(), 6u);
  // Time window bounds are numbers, never variable names.
  g.game.listing.weekday = 3;
  g.run({"0 s v7 3"});
  EXPECT_FALSE(g.holds("tcw v7 v7"));
  EXPECT_FALSE(g.holds("tcw 3"));
  EXPECT_TRUE(g.holds("tcw 3 3"));
  EXPECT_EQ(g.numbered().size(), 7u);
}

TEST(Conditions, ItemVariablesOfTheCurrentItem) {
  ScriptGame g;
  vesk::Item gem;
  gem.name = "gem";
  g.game.inventory.add(vesk::ItemInstance{&gem, 0, 0, {7, -2, 5}}, 1);
  g.game.current_item = {vesk::ItemRef::Place::kInventory, 0};
  EXPECT_TRUE(g.holds("= vi1 7"));
  EXPECT_TRUE(g.holds("= vi2 -2"));
  EXPECT_TRUE(g.holds("= vi3 5"));
  for (const char* none : {"vi0", "vi4", "vi"}) EXPECT_TRUE(g.holds(std::string("= ") + none + " 0")) << none;
  g.game.inventory.clear();  // the entry has gone away
  EXPECT_TRUE(g.holds("= vi1 0"));
}

TEST(ExecuteCommand, OperandsAreReadBeforeTheCommandWordIsKnown) {
  ScriptGame g;
  vesk::execute_command(g.game, std::string("zz v5 x10"));
  EXPECT_EQ(g.game.vars.numbered, std::vector<std::int32_t>(5, 0));
}

}  // namespace
