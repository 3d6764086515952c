// Scripts are worked out when a game loads: names resolved to where they live,
// repeats to their labels, commands to their operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/words.hpp"
#include "content/script_code.hpp"
#include "script/interpreter.hpp"
#include "script/runner.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace {

using vesk::Operand;

// Two areas, a bow that fires ammunition (with spaces and an underscore in
// its name) and a melee weapon, which has no ammunition entry.
vesk::World armoury() {
  vesk::World world;
  world.add_area(vesk::Area{});
  world.add_area(vesk::Area{});
  vesk::Item bow;
  bow.name = "long bow";
  bow.is_weapon = true;
  world.add_item(bow);
  vesk::Item odd;
  odd.name = "odd_bow";
  odd.is_weapon = true;
  world.add_item(odd);
  vesk::Item axe;
  axe.name = "hand axe";
  axe.is_weapon = true;
  axe.is_melee = true;
  world.add_item(axe);
  return world;
}

struct Game {
  Game() : state(std::make_shared<const vesk::World>(armoury()), in, out, 7) {
    // v3 holds 7 and v7 holds 2, for the indirect names.
    vesk::set_variable(state, vesk::resolve_variable("v3"), 7);
    vesk::set_variable(state, vesk::resolve_variable("v7"), 2);
    state.ammo[0] = 11;
  }
  std::istringstream in;
  std::ostringstream out;
  vesk::GameState state;
};

// What names read in the armoury, where v3 holds 7, v7 holds 2 and the long
// bow has 11 rounds: prefixes and signs as decimal conversion reads them, a
// step through the table for each further "v", nothing for what names nothing.
TEST(ResolvedVariables, TrickyNamesReadAsTheirWordsSay) {
  const std::pair<const char*, std::int32_t> reads[] = {
      {"v7x", 2},      {"v", 0},   {"v0", 0},    {"vh", 0},          {"v+7", 2}, {"v-2", 0},       {"v2147483648", 0},
      {"v1000001", 0}, {"vv3", 2}, {"vvv3", 0},  {"vv", 0},          {"vi1", 0}, {"+5", 5},        {"-12", -12},
      {"", 0},         {"+", 0},   {"12a", 0},   {"a_long_bow", 11}, {"a_", 0},  {"a_odd_bow", 0}, {"a_hand_axe", 0},
      {"a_long", 0},   {"a2", -1}, {"air", 100}, {"air2", 0},        {"ca", 1},  {"h", 100},       {"m", 50},
      {"htcw", 8},     {"hh", 0},  {"zork", 0},  {"s3", 0},          {"x5", 0},
  };
  for (const auto& [name, value] : reads) {
    Game g;
    EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable(name)), value) << name;
  }
  // Writes reach the same variables; literals and names of nothing keep nothing.
  Game g;
  for (const char* name : {"vv3", "a_long_bow", "+5", "zork", "a_hand_axe", "v1000001"}) {
    vesk::set_variable(g.state, vesk::resolve_variable(name), 9);
  }
  EXPECT_EQ(g.state.vars.numbered[6], 9);
  EXPECT_EQ(g.state.ammo, (std::vector<std::int32_t>{9, 0}));
  EXPECT_EQ(g.state.vars.numbered.size(), 7u);
}

TEST(ResolvedVariables, KindsOfTrickyNames) {
  EXPECT_EQ(vesk::resolve_variable("v7x").kind, Operand::Kind::kNumbered);
  EXPECT_EQ(vesk::resolve_variable("v7x").number, 7);
  EXPECT_EQ(vesk::resolve_variable("+5").kind, Operand::Kind::kLiteral);
  EXPECT_EQ(vesk::resolve_variable("+5").number, 5);
  EXPECT_EQ(vesk::resolve_variable("a_long_bow").weapon, "long bow");
  const Operand vvv3 = vesk::resolve_variable("vvv3");
  EXPECT_EQ(vvv3.kind, Operand::Kind::kIndirect);
  EXPECT_EQ(vvv3.number, 3);
  EXPECT_EQ(vvv3.steps, 2);
  EXPECT_EQ(vesk::resolve_variable("zork").kind, Operand::Kind::kNothing);
}

TEST(ResolvedVariables, TheCurrentAreaTakesOnlyAreaNumbers) {
  Game g;
  vesk::set_variable(g.state, vesk::resolve_variable("ca"), 3);
  EXPECT_EQ(g.state.vars.area, 1);
  vesk::set_variable(g.state, vesk::resolve_variable("ca"), 2);
  EXPECT_EQ(g.state.vars.area, 2);
}

TEST(ResolvedCommands, AreToldApartAsTheWordsSay) {
  using Op = vesk::ScriptCommand::Op;
  auto op = [](const std::string& text) { return vesk::compile_command(vesk::word_views(text)).op; };
  EXPECT_EQ(op("s s3 hello"), Op::kSetString);
  EXPECT_EQ(op("s steps 5"), Op::kSet);
  EXPECT_EQ(op("s v1 x6"), Op::kSet);
  EXPECT_EQ(op("a v1"), Op::kReadOnly);
  EXPECT_EQ(op("sqr v1 9"), Op::kSquareRoot);
  EXPECT_EQ(op("zz v5 x10"), Op::kUnknown);
  EXPECT_EQ(op("sqr"), Op::kNothing);
  EXPECT_EQ(op("msf 1"), Op::kNothing);
  EXPECT_EQ(op("msg"), Op::kPrint);
  EXPECT_EQ(op("nk"), Op::kNothing);
  const vesk::ScriptCommand random = vesk::compile_command(vesk::word_views("a v1 x"));
  EXPECT_EQ(random.value.kind, Operand::Kind::kRandom);
  EXPECT_EQ(random.value.number, 0);
  EXPECT_EQ(vesk::compile_command(vesk::word_views("a v1 -5")).value.kind, Operand::Kind::kLiteral);
}

// A number word that is no whole number reads as decimal conversion makes of
// it; the record keeps that it was loose, for the checker to say so.
TEST(ResolvedCommands, MarkNumberWordsThatAreNoWholeNumber) {
  const auto command = [](const std::string& text) { return vesk::compile_command(vesk::word_views(text)); };
  EXPECT_FALSE(command("msf 1 2").loose);
  EXPECT_TRUE(command("msf 1x 2").loose);
  EXPECT_EQ(command("msf 1x 2").number, 1);
  EXPECT_TRUE(command(". bow 6O").loose);
  EXPECT_TRUE(command("s s2x hi").loose);
  EXPECT_TRUE(command("s v1 x").value.loose);
  EXPECT_FALSE(command("s v1 x6").value.loose);
  EXPECT_TRUE(command("s v1x 5").target.loose);
  EXPECT_TRUE(command("s vv1x 5").target.loose);
  EXPECT_FALSE(command("s vv1 5").target.loose);
  const vesk::ScriptTest hours = vesk::compile_condition(vesk::word_views(std::string("tch 9am 17")));
  EXPECT_TRUE(hours.low_loose);
  EXPECT_FALSE(hours.high_loose);
  EXPECT_EQ(hours.low, 9);
  EXPECT_TRUE(vesk::compile_condition(vesk::word_views(std::string("= vi2x 0"))).left.loose);
  EXPECT_TRUE(vesk::parse_script_line("1x = h 5 msg hi").count_loose);
  EXPECT_FALSE(vesk::parse_script_line("1 = h 5 msg hi").count_loose);
  EXPECT_TRUE(vesk::parse_use_script_line("+ msg hi").count_loose);
}

TEST(ResolvedCommands, AnOperandWithoutARangeChangesNothing) {
  Game g;
  vesk::execute_command(g.state, vesk::compile_command(vesk::word_views(std::string("s v3 x0"))));
  vesk::execute_command(g.state, vesk::compile_command(vesk::word_views(std::string("a v3 x"))));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v3")), 7);
  vesk::execute_command(g.state, vesk::compile_command(vesk::word_views(std::string("s v3 x1"))));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v3")), 0);
}

vesk::Script script_of(const std::vector<std::string>& lines) {
  vesk::Script script;
  for (const std::string& line : lines) script.push_back(vesk::parse_script_line(line));
  return script;
}

TEST(ResolvedRepeats, GoToTheNearestLabelAbove) {
  const vesk::Script script = script_of({"0 repetition top", "0 a v1 1", "0 repetition top", "0 a v2 1",
                                         "1 - v2 3 repeat top", "0 repetition top", "0 repetition other"});
  EXPECT_EQ(script[4].label_line, 2u);
  Game g;
  vesk::run_script(g.state, script);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1")), 1);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v2")), 3);
}

TEST(ResolvedRepeats, ALabelBelowIsNoLabel) {
  const vesk::Script script = script_of({"1 = v9 0 repeat down", "0 repetition down", "0 a v1 1"});
  EXPECT_EQ(script[0].label_line, vesk::ScriptLine::kNoLabel);
  Game g;
  vesk::run_script(g.state, script);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1")), 1);
  // The repeat's condition was still tested, and grew the table to v9.
  EXPECT_EQ(g.state.vars.numbered.size(), 9u);
}

TEST(ResolvedRepeats, StopAtTheJumpLimit) {
  Game g;
  g.state.jump_limit = 10;
  vesk::run_script(g.state, script_of({"0 repetition top", "0 a v1 1", "0 repeat top", "0 s v2 1"}));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1")), 11);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v2")), 0);  // the run ended at the limit
}

TEST(ResolvedRepeats, ALoopWithALongBody) {
  std::vector<std::string> lines = {"0 s v1 0", "0 repetition top"};
  for (int k = 0; k < 100; ++k) lines.push_back("0 a v" + std::to_string(k % 5 + 10) + " 1");
  lines.push_back("0 a v1 1");
  lines.push_back("1 - v1 1000 repeat top");
  Game g;
  vesk::run_script(g.state, script_of(lines));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1")), 1000);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v14")), 20000);
}

TEST(ResolvedRepeats, CopiesKeepTheirLabels) {
  const vesk::Script original = script_of({"0 repetition top", "0 a v1 1", "1 - v1 4 repeat top"});
  vesk::Script copy = original;
  copy.push_back(vesk::parse_script_line("1 - v1 6 repeat top"));
  Game g;
  vesk::run_script(g.state, copy);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1")), 6);
}

}  // namespace

namespace {

// A command is its words joined and split again: a join longer than a built
// text is cut, and a last word left empty by a line end is dropped.
TEST(ResolvedCommands, TakeTheirWordsAsAJoinedTextWould) {
  const std::string long_word(100, 'w');
  const vesk::ScriptLine line = vesk::parse_script_line("0 msg " + long_word + " " + long_word + " " + long_word);
  const std::string joined = vesk::cut("msg " + long_word + " " + long_word + " " + long_word, vesk::kTextCapacity);
  EXPECT_EQ(line.command.text, vesk::words_from(vesk::split_words(joined), 1));
  EXPECT_EQ(vesk::parse_script_line("0 msg a b \n").command.text, "a b");
  EXPECT_EQ(vesk::parse_script_line("1 = v1 0 \n").command.op, vesk::ScriptCommand::Op::kNothing);
}

}  // namespace
