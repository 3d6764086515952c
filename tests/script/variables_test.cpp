// Game variables: the named ones, and the growth and limits of the numbered and
// string tables, which only a saved game would show.
#include "script/variables.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/script_game.hpp"

namespace {

using vesk::testing::ScriptGame;

TEST(Variables, LiteralsAndUnknownNamesTouchNoTable) {
  ScriptGame g{2};
  const std::pair<const char*, std::int32_t> reads[] = {{"007", 7}, {"+5", 5}, {"", 0},    {"-", 0},
                                                        {" 12", 0}, {"H", 0},  {"zork", 0}};
  for (const auto& [name, value] : reads) EXPECT_EQ(g.get(name), value) << '"' << name << '"';
  g.set("H", 5);  // names are case-sensitive
  EXPECT_EQ(g.game.vars.health, 100);
  EXPECT_TRUE(g.numbered().empty());
}

TEST(Variables, EachNamedVariableKeepsItsOwnValue) {
  ScriptGame g{2};
  const char* names[] = {"game", "steps", "htcw", "prev", "a2", "air", "air2", "dt1", "dt2", "h", "m"};
  for (std::int32_t k = 0; k < 11; ++k) g.set(names[k], 11 + k);
  for (std::int32_t k = 0; k < 11; ++k) EXPECT_EQ(g.get(names[k]), 11 + k) << names[k];
  // "ca" takes only the number of an existing area.
  for (std::int32_t area : {2, 3, 0, -1}) g.set("ca", area);
  EXPECT_EQ(g.get("ca"), 2);
}

TEST(Variables, NumberedTableGrowsToTheHighestNumberUsed) {
  ScriptGame g{2};
  EXPECT_EQ(g.get("v9"), 0);
  EXPECT_EQ(g.numbered(), std::vector<std::int32_t>(9, 0));
  g.set("v3x", 7);  // only the leading digits count
  EXPECT_EQ(g.numbered().size(), 9u);
  EXPECT_EQ(g.get("v3"), 7);
  g.set("v12", -1);
  EXPECT_EQ(g.numbered().size(), 12u);
  EXPECT_EQ(g.numbered()[11], -1);

  ScriptGame none{2};
  std::string beyond = std::to_string(vesk::kMaxNumberedVariables + 1);
  beyond.insert(0, 1, 'v');
  for (const std::string& name : {std::string("v0"), std::string("v"), std::string("v-3"), beyond}) {
    none.set(name, 5);
    EXPECT_EQ(none.get(name), 0) << name;
  }
  EXPECT_TRUE(none.numbered().empty());
}

TEST(Variables, IndirectNamesGoThroughAnotherNumberedVariable) {
  ScriptGame g{2};
  g.set("v1", 2);
  g.set("v2", 4);
  g.set("vvv1", 6);  // v1 holds 2, v2 holds 4: the name reaches v4
  EXPECT_EQ(g.get("v4"), 6);
  EXPECT_EQ(g.get("vv2"), 6);
  g.set("v3", 20);
  EXPECT_EQ(g.get("vv3"), 0);  // grows the table to the number reached
  EXPECT_EQ(g.numbered().size(), 20u);

  // A pointer holding 0 or less names nothing.
  g.set("v5", 0);
  g.set("v6", -2);
  g.set("vv5", 9);
  g.set("vv6", 9);
  EXPECT_EQ(g.numbered().size(), 20u);
  for (std::int32_t value : g.numbered()) EXPECT_NE(value, 9);
}

TEST(StringVariables, TableGrowsWithEmptyTextsAndHolds254Characters) {
  ScriptGame g{2};
  g.execute("s s3 " + std::string(100, 'x') + " " + std::string(100, 'x') + " " + std::string(100, 'x'));
  EXPECT_EQ(g.game.vars.strings,
            (std::vector<std::string>{
                "", "", std::string(100, 'x') + " " + std::string(100, 'x') + " " + std::string(52, 'x')}));
  EXPECT_EQ(g.expand("+s5."), "");  // reading grows the table too
  EXPECT_EQ(g.game.vars.strings.size(), 5u);
  EXPECT_EQ(g.expand("+s3rd").size(), 254u);

  ScriptGame none{2};
  for (const char* name : {"s0", "s", "sx"}) {
    none.execute(std::string("s ") + name + " text");
    EXPECT_EQ(none.expand(std::string("+") + name), "") << name;
  }
  EXPECT_TRUE(none.game.vars.strings.empty());
  none.execute("s steps 5");  // arithmetic on "steps", no string
  EXPECT_TRUE(none.game.vars.strings.empty());
  EXPECT_EQ(none.get("steps"), 5);
}

}  // namespace
