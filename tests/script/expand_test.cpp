// Text expansion where the output alone would not tell: table growth, the bound
// on passes and the 254-character cut. Ordinary expansion is played in the
// string-variables transcript.
#include "script/expand.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "script/variables.hpp"
#include "support/script_game.hpp"

namespace {

using vesk::testing::ScriptGame;

TEST(ExpandText, OnlyWordsThatBeginWithAReferenceReadAndGrowTheTables) {
  ScriptGame g;
  EXPECT_EQ(g.expand("x+v9 (+v9) [+s4] +v0 +s0 +vx"), "x+v9 (+v9) [+s4] 0 0");
  EXPECT_TRUE(g.game.vars.numbered.empty());
  EXPECT_TRUE(g.game.vars.strings.empty());
  EXPECT_EQ(g.expand("+v9 [ +s4 ]"), "0 [ ]");
  EXPECT_EQ(g.game.vars.numbered.size(), 9u);
  EXPECT_EQ(g.game.vars.strings.size(), 4u);
}

TEST(ExpandText, SelfReferenceStopsAfter64Passes) {
  ScriptGame g;
  g.set("v1", 7);
  // Every pass rebuilds the reference and adds a number, whose "+v" word asks
  // for another pass: the text never settles.
  *g.game.vars.string_variable(1) = "+s1 +v1";
  std::string expected = "+s1";
  for (int pass = 0; pass < 64; ++pass) expected += " 7";
  EXPECT_EQ(g.expand("+s1"), expected);
}

TEST(ExpandText, BuiltTextIsCutTo254Characters) {
  ScriptGame g;
  const std::string word(100, 'w');
  *g.game.vars.string_variable(1) = word + " " + word;
  const std::string result = g.expand("+s1 +s1 +s1");
  EXPECT_LE(result.size(), 254u);
  EXPECT_EQ(result.substr(0, 201), word + " " + word);
  // Numbers replaced into a text at its limit do not push it past the limit.
  g.set("v1", -2147483647 - 1);
  std::string many;
  for (int i = 0; i < 60; ++i) many += "+v1 ";
  const std::string numbers = g.expand(many);
  EXPECT_LE(numbers.size(), 254u);
  EXPECT_EQ(numbers.substr(0, 23), "-2147483648 -2147483648");
}

}  // namespace
