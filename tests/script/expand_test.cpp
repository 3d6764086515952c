// Text expansion: "+s" and "+v" references, the spacing of the result, the walk
// over substituted words, and the bounds on passes and length.
#include "script/expand.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/game.hpp"
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

  std::string expand(const std::string& text) { return vesk::expand_text(game, text); }
  void set(const char* name, std::int32_t value) { vesk::set_variable(game, name, value); }
  void set_text(const char* name, const std::string& text) { vesk::set_string_variable(game, name, text); }
};

TEST(ExpandText, ReplacesNumberReferencesAndLosesWhatFollowsTheDigits) {
  ScriptGame g;
  g.set("v1", 12);
  EXPECT_EQ(g.expand("You have +v1 coins."), "You have 12 coins.");
  EXPECT_EQ(g.expand("+v1."), "12");
  EXPECT_EQ(g.expand("+v1, +v1 and +v1!"), "12 12 and 12");
  g.set("v2", -3);
  EXPECT_EQ(g.expand("+v2 degrees"), "-3 degrees");
  // Only a word that begins with the reference counts.
  EXPECT_EQ(g.expand("x+v1 (+v1)"), "x+v1 (+v1)");
}

TEST(ExpandText, NormalisesSpacingAndDropsTheLineEnd) {
  ScriptGame g;
  EXPECT_EQ(g.expand(""), "");
  EXPECT_EQ(g.expand("   "), "");
  EXPECT_EQ(g.expand("  two   spaces  "), "two spaces");
  EXPECT_EQ(g.expand("a line read from a file\n"), "a line read from a file");
  EXPECT_EQ(g.expand("\n"), "");
}

TEST(ExpandText, StringReferencesTakeTheWholeTextOfTheVariable) {
  ScriptGame g;
  g.set_text("s1", "brave  knight");
  EXPECT_EQ(g.expand("Hello +s1"), "Hello brave knight");
  EXPECT_EQ(g.expand("Hail +s1, friend"), "Hail brave knight friend");
  // The later words of a value are walked over in turn and expanded.
  g.set_text("s2", "one +s1");
  EXPECT_EQ(g.expand("+s2 two"), "one brave knight two");
}

TEST(ExpandText, EmptyValueMakesTheWalkPassOverTheNextWord) {
  ScriptGame g;
  g.set_text("s2", "two");
  EXPECT_EQ(g.expand("a +s1 +s2"), "a +s2");
  // A "+v" word anywhere asks for a second pass, which catches the skipped word.
  g.set("v1", 4);
  EXPECT_EQ(g.expand("a +s1 +s2 +v1"), "a two 4");
}

TEST(ExpandText, ValueStartingWithAReferenceWaitsForAnotherPass) {
  ScriptGame g;
  g.set("v1", 4);
  g.set_text("s1", "+v1");
  EXPECT_EQ(g.expand("value +s1"), "value +v1");
  EXPECT_EQ(g.expand("+v1 and +s1"), "4 and 4");
  // Expanding twice, as the action labels are, reaches the number.
  EXPECT_EQ(g.expand(g.expand("value +s1")), "value 4");
}

TEST(ExpandText, ReferencesWithoutAVariableGiveZeroOrNothing) {
  ScriptGame g;
  EXPECT_EQ(g.expand("[+v0] [+v] [+vx]"), "[+v0] [+v] [+vx]");
  EXPECT_EQ(g.expand("+v0 +v +vx"), "0 0 0");
  EXPECT_EQ(g.expand("x +s0 y"), "x y");
  EXPECT_EQ(g.expand("x +s y"), "x y");
  EXPECT_TRUE(g.game.vars.numbered.empty());
  EXPECT_TRUE(g.game.vars.strings.empty());
}

TEST(ExpandText, ReferencesGrowTheTables) {
  ScriptGame g;
  EXPECT_EQ(g.expand("+v9"), "0");
  EXPECT_EQ(g.game.vars.numbered.size(), 9u);
  EXPECT_EQ(g.expand("[ +s4 ]"), "[ ]");
  EXPECT_EQ(g.game.vars.strings.size(), 4u);
}

TEST(ExpandText, SelfReferenceStopsAfterBoundedPasses) {
  ScriptGame g;
  g.set("v1", 7);
  // Each pass puts the reference back together with a "+v" word, so the text
  // would never settle; the passes are bounded and the text stays in its buffer.
  g.set_text("s1", "+s1 +v1");
  const std::string result = g.expand("+s1");
  EXPECT_LE(result.size(), 254u);
  EXPECT_EQ(result.substr(0, 7), "+s1 7 7");
  EXPECT_EQ(result.find("  "), std::string::npos);
}

TEST(ExpandText, BuiltTextIsCutTo254Characters) {
  ScriptGame g;
  const std::string word(100, 'w');
  g.set_text("s1", word + " " + word);
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
