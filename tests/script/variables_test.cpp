// Game variables: literal names, the named variables, ammunition counts, the
// numbered and string tables with their growth, and indirect names.
#include "script/variables.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "core/game.hpp"

namespace {

vesk::Item weapon(std::string name, bool melee) {
  vesk::Item item;
  item.name = std::move(name);
  item.is_weapon = true;
  item.is_melee = melee;
  return item;
}

// Two areas; weapons "long bow" and "hand axe" fire ammunition, "sword" is a
// melee weapon and has none.
vesk::World small_world() {
  vesk::World world;
  world.add_item(weapon("long bow", false));
  world.add_item(weapon("sword", true));
  world.add_item(weapon("hand axe", false));
  world.areas.push_back(vesk::Area{});
  world.areas.push_back(vesk::Area{});
  return world;
}

struct ScriptGame {
  std::istringstream in;
  std::ostringstream out;
  vesk::Game game{small_world(), in, out, 0};
};

TEST(Variables, LiteralNamesStandForThemselves) {
  ScriptGame g;
  EXPECT_EQ(vesk::get_variable(g.game, "-12"), -12);
  EXPECT_EQ(vesk::get_variable(g.game, "+5"), 5);
  EXPECT_EQ(vesk::get_variable(g.game, "007"), 7);
  // The empty text and a lone sign are integers that read 0.
  EXPECT_EQ(vesk::get_variable(g.game, ""), 0);
  EXPECT_EQ(vesk::get_variable(g.game, "-"), 0);
  EXPECT_EQ(vesk::get_variable(g.game, "+"), 0);
  // Neither a literal nor a known name.
  EXPECT_EQ(vesk::get_variable(g.game, "12a"), 0);
  EXPECT_EQ(vesk::get_variable(g.game, " 12"), 0);
  // Literals beyond 32 bits saturate at the bounds.
  EXPECT_EQ(vesk::get_variable(g.game, "99999999999"), 2147483647);
  EXPECT_EQ(vesk::get_variable(g.game, "-99999999999"), -2147483647 - 1);
  EXPECT_TRUE(g.game.vars.numbered.empty());
}

TEST(Variables, NamedVariablesReadAndWriteTheGameState) {
  ScriptGame g;
  EXPECT_EQ(vesk::get_variable(g.game, "h"), 100);
  EXPECT_EQ(vesk::get_variable(g.game, "m"), 50);
  EXPECT_EQ(vesk::get_variable(g.game, "htcw"), 8);
  EXPECT_EQ(vesk::get_variable(g.game, "a2"), -1);
  EXPECT_EQ(vesk::get_variable(g.game, "air"), 100);

  const char* names[] = {"game", "steps", "htcw", "prev", "a2", "air", "air2", "dt1", "dt2", "h", "m"};
  std::int32_t value = 11;
  for (const char* name : names) {
    vesk::set_variable(g.game, name, value);
    EXPECT_EQ(vesk::get_variable(g.game, name), value) << name;
    ++value;
  }
  EXPECT_EQ(g.game.vars.game, 11);
  EXPECT_EQ(g.game.vars.steps, 12);
  EXPECT_EQ(g.game.vars.m, 21);
  // Names are case-sensitive; unknown names are ignored and read 0.
  vesk::set_variable(g.game, "H", 5);
  vesk::set_variable(g.game, "zork", 5);
  EXPECT_EQ(g.game.vars.h, 20);
  EXPECT_EQ(vesk::get_variable(g.game, "H"), 0);
  EXPECT_EQ(vesk::get_variable(g.game, "zork"), 0);
  EXPECT_TRUE(g.game.vars.numbered.empty());
}

TEST(Variables, CurrentAreaTakesOnlyExistingAreaNumbers) {
  ScriptGame g;
  EXPECT_EQ(vesk::get_variable(g.game, "ca"), 1);
  vesk::set_variable(g.game, "ca", 2);
  EXPECT_EQ(vesk::get_variable(g.game, "ca"), 2);
  vesk::set_variable(g.game, "ca", 3);
  vesk::set_variable(g.game, "ca", 0);
  vesk::set_variable(g.game, "ca", -1);
  EXPECT_EQ(g.game.vars.ca, 2);
}

TEST(Variables, AmmunitionNamesUseUnderscoresForSpaces) {
  ScriptGame g;
  vesk::set_variable(g.game, "a_long_bow", 3);
  EXPECT_EQ(g.game.world.ammo[0].count, 3);
  EXPECT_EQ(vesk::get_variable(g.game, "a_long_bow"), 3);
  // A space written after "a_" names the same weapon.
  EXPECT_EQ(vesk::get_variable(g.game, "a_long bow"), 3);
  vesk::set_variable(g.game, "a_hand_axe", -4);
  EXPECT_EQ(g.game.world.ammo[1].count, -4);
  EXPECT_EQ(g.game.world.ammo[0].count, 3);

  // A melee weapon, an unknown weapon and a name that differs in case have no count.
  vesk::set_variable(g.game, "a_sword", 9);
  vesk::set_variable(g.game, "a_Long_bow", 9);
  vesk::set_variable(g.game, "a_", 9);
  EXPECT_EQ(vesk::get_variable(g.game, "a_sword"), 0);
  EXPECT_EQ(vesk::get_variable(g.game, "a_Long_bow"), 0);
  EXPECT_EQ(vesk::get_variable(g.game, "a_dart"), 0);
  EXPECT_EQ(g.game.world.ammo.size(), 2u);
  EXPECT_EQ(g.game.world.ammo[0].count, 3);
  EXPECT_EQ(g.game.world.ammo[1].count, -4);
}

TEST(Variables, NumberedTableGrowsToTheHighestNumberUsed) {
  ScriptGame g;
  std::vector<std::int32_t>& table = g.game.vars.numbered;
  EXPECT_EQ(vesk::get_variable(g.game, "v9"), 0);
  EXPECT_EQ(table, std::vector<std::int32_t>(9, 0));
  vesk::set_variable(g.game, "v3", 7);
  EXPECT_EQ(table.size(), 9u);
  EXPECT_EQ(table[2], 7);
  // Only the leading digits count: v3x is v3.
  EXPECT_EQ(vesk::get_variable(g.game, "v3x"), 7);
  vesk::set_variable(g.game, "v12", -1);
  EXPECT_EQ(table.size(), 12u);
  EXPECT_EQ(table[11], -1);
  EXPECT_EQ(table[10], 0);
}

TEST(Variables, NumbersBelowOneOrBeyondTheLimitNameNoVariable) {
  ScriptGame g;
  for (const char* name : {"v0", "v", "vh", "v-3", "v2000000000"}) {
    vesk::set_variable(g.game, name, 5);
    EXPECT_EQ(vesk::get_variable(g.game, name), 0) << name;
  }
  EXPECT_TRUE(g.game.vars.numbered.empty());
}

TEST(Variables, IndirectNamesGoThroughAnotherNumberedVariable) {
  ScriptGame g;
  vesk::set_variable(g.game, "v2", 4);
  vesk::set_variable(g.game, "vv2", 5);
  EXPECT_EQ(vesk::get_variable(g.game, "v4"), 5);
  EXPECT_EQ(vesk::get_variable(g.game, "vv2"), 5);

  // vvv1: v1 holds 2, v2 holds 4, so the name reaches v4.
  vesk::set_variable(g.game, "v1", 2);
  EXPECT_EQ(vesk::get_variable(g.game, "vvv1"), 5);
  vesk::set_variable(g.game, "vvv1", 6);
  EXPECT_EQ(vesk::get_variable(g.game, "v4"), 6);

  // An indirect name grows the table to the number it reaches.
  vesk::set_variable(g.game, "v3", 20);
  EXPECT_EQ(vesk::get_variable(g.game, "vv3"), 0);
  EXPECT_EQ(g.game.vars.numbered.size(), 20u);

  // A pointer variable holding 0 or less names nothing.
  vesk::set_variable(g.game, "v5", 0);
  vesk::set_variable(g.game, "vv5", 9);
  vesk::set_variable(g.game, "v6", -2);
  vesk::set_variable(g.game, "vv6", 9);
  EXPECT_EQ(vesk::get_variable(g.game, "vv5"), 0);
  EXPECT_EQ(g.game.vars.numbered.size(), 20u);
  for (std::int32_t value : g.game.vars.numbered) EXPECT_NE(value, 9);
}

TEST(StringVariables, TableGrowsWithEmptyTexts) {
  ScriptGame g;
  vesk::set_string_variable(g.game, "s3", "three");
  EXPECT_EQ(g.game.vars.strings, (std::vector<std::string>{"", "", "three"}));
  EXPECT_EQ(vesk::get_string_variable(g.game, "s3"), "three");
  // Reading beyond the table grows it too.
  EXPECT_EQ(vesk::get_string_variable(g.game, "s5"), "");
  EXPECT_EQ(g.game.vars.strings.size(), 5u);
  EXPECT_EQ(vesk::get_string_variable(g.game, "s3rd"), "three");
}

TEST(StringVariables, NamesWithoutANumberAboveZeroAreIgnored) {
  ScriptGame g;
  for (const char* name : {"s0", "s", "sx", "steps", "v1", "t1"}) {
    vesk::set_string_variable(g.game, name, "text");
    EXPECT_EQ(vesk::get_string_variable(g.game, name), "") << name;
  }
  EXPECT_TRUE(g.game.vars.strings.empty());
  EXPECT_TRUE(g.game.vars.numbered.empty());
}

TEST(StringVariables, HoldAtMost254Characters) {
  ScriptGame g;
  const std::string long_text(300, 'x');
  vesk::set_string_variable(g.game, "s1", long_text);
  EXPECT_EQ(vesk::get_string_variable(g.game, "s1"), std::string(254, 'x'));
  vesk::set_string_variable(g.game, "s1", std::string(254, 'y'));
  EXPECT_EQ(vesk::get_string_variable(g.game, "s1"), std::string(254, 'y'));
}

}  // namespace
