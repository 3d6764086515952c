// Scripts are worked out when a game loads: names resolved to where they live,
// repeats to their labels, commands to their operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/lines.hpp"
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
    vesk::set_variable(state, vesk::resolve_variable("v3", texts), 7);
    vesk::set_variable(state, vesk::resolve_variable("v7", texts), 2);
    state.ammo[0] = 11;
  }
  std::int32_t get(const std::string& name) { return vesk::get_variable(state, vesk::resolve_variable(name, texts)); }

  vesk::CompileTexts texts;
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
    EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable(name, g.texts)), value) << name;
  }
  // Writes reach the same variables; literals and names of nothing keep nothing.
  Game g;
  for (const char* name : {"vv3", "a_long_bow", "+5", "zork", "a_hand_axe", "v1000001"}) {
    vesk::set_variable(g.state, vesk::resolve_variable(name, g.texts), 9);
  }
  EXPECT_EQ(g.state.vars.numbered[6], 9);
  EXPECT_EQ(g.state.ammo, (std::vector<std::int32_t>{9, 0}));
  EXPECT_EQ(g.state.vars.numbered.size(), 7u);
}

TEST(ResolvedVariables, KindsOfTrickyNames) {
  vesk::CompileTexts texts;
  EXPECT_EQ(vesk::resolve_variable("v7x", texts).kind, Operand::Kind::kNumbered);
  EXPECT_EQ(vesk::resolve_variable("v7x", texts).number, 7);
  EXPECT_EQ(vesk::resolve_variable("+5", texts).kind, Operand::Kind::kLiteral);
  EXPECT_EQ(vesk::resolve_variable("+5", texts).number, 5);
  EXPECT_EQ(vesk::resolve_variable("a_long_bow", texts).weapon, "long bow");
  const Operand vvv3 = vesk::resolve_variable("vvv3", texts);
  EXPECT_EQ(vvv3.kind, Operand::Kind::kIndirect);
  EXPECT_EQ(vvv3.number, 3);
  EXPECT_EQ(vvv3.steps, 2);
  EXPECT_EQ(vesk::resolve_variable("zork", texts).kind, Operand::Kind::kNothing);
}

TEST(ResolvedVariables, TheCurrentAreaTakesOnlyAreaNumbers) {
  Game g;
  vesk::set_variable(g.state, vesk::resolve_variable("ca", g.texts), 3);
  EXPECT_EQ(g.state.vars.area, 1);
  vesk::set_variable(g.state, vesk::resolve_variable("ca", g.texts), 2);
  EXPECT_EQ(g.state.vars.area, 2);
}

TEST(ResolvedCommands, AreToldApartAsTheWordsSay) {
  using Op = vesk::ScriptCommand::Op;
  auto op = [](const std::string& text) {
    vesk::CompileTexts texts;
    return vesk::compile_command(vesk::word_views(text), texts).op;
  };
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
  vesk::CompileTexts texts;
  const vesk::ScriptCommand random = vesk::compile_command(vesk::word_views("a v1 x"), texts);
  EXPECT_EQ(random.value.kind, Operand::Kind::kRandom);
  EXPECT_EQ(random.value.number, 0);
  EXPECT_EQ(vesk::compile_command(vesk::word_views("a v1 -5"), texts).value.kind, Operand::Kind::kLiteral);
}

// A number word that is no whole number reads as decimal conversion makes of
// it; the record keeps that it was loose, for the checker to say so.
TEST(ResolvedCommands, MarkNumberWordsThatAreNoWholeNumber) {
  vesk::CompileTexts texts;
  const auto command = [&](const std::string& text) { return vesk::compile_command(vesk::word_views(text), texts); };
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
  const vesk::ScriptTest hours = vesk::compile_condition(vesk::word_views("tch 9am 17"), texts);
  EXPECT_TRUE(hours.low_loose);
  EXPECT_FALSE(hours.high_loose);
  EXPECT_EQ(hours.low, 9);
  EXPECT_TRUE(vesk::compile_condition(vesk::word_views("= vi2x 0"), texts).left.loose);
  const vesk::Script lines(vesk::Script::Form::kList, {"1x = h 5 msg hi", "1 = h 5 msg hi"});
  EXPECT_TRUE(lines.begin()->count_loose);
  EXPECT_FALSE(std::next(lines.begin())->count_loose);
  EXPECT_TRUE(vesk::Script(vesk::Script::Form::kUse, {"+ msg hi"}).begin()->count_loose);
}

TEST(ResolvedCommands, AnOperandWithoutARangeChangesNothing) {
  Game g;
  vesk::execute_command(g.state, vesk::compile_command(vesk::word_views("s v3 x0"), g.texts));
  vesk::execute_command(g.state, vesk::compile_command(vesk::word_views("a v3 x"), g.texts));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v3", g.texts)), 7);
  vesk::execute_command(g.state, vesk::compile_command(vesk::word_views("s v3 x1"), g.texts));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v3", g.texts)), 0);
}

vesk::Script script_of(const std::vector<std::string>& lines) {
  vesk::Script script;
  for (const std::string& line : lines) script.push_back(line);
  return script;
}

// Line `n` of a script, from 0.
vesk::ScriptLine line_of(const vesk::Script& script, std::size_t n) {
  return *std::next(script.begin(), static_cast<std::ptrdiff_t>(n));
}

TEST(ResolvedRepeats, GoToTheNearestLabelAbove) {
  const vesk::Script script = script_of({"0 repetition top", "0 a v1 1", "0 repetition top", "0 a v2 1",
                                         "1 - v2 3 repeat top", "0 repetition top", "0 repetition other"});
  EXPECT_EQ(line_of(script, 4).label_line, 2u);
  Game g;
  vesk::run_script(g.state, script);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1", g.texts)), 1);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v2", g.texts)), 3);
}

TEST(ResolvedRepeats, ALabelBelowIsNoLabel) {
  const vesk::Script script = script_of({"1 = v9 0 repeat down", "0 repetition down", "0 a v1 1"});
  EXPECT_EQ(line_of(script, 0).label_line, vesk::ScriptLine::kNoLabel);
  Game g;
  vesk::run_script(g.state, script);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1", g.texts)), 1);
  // The repeat's condition was still tested, and grew the table to v9.
  EXPECT_EQ(g.state.vars.numbered.size(), 9u);
}

TEST(ResolvedRepeats, StopAtTheJumpLimit) {
  Game g;
  g.state.jump_limit = 10;
  vesk::run_script(g.state, script_of({"0 repetition top", "0 a v1 1", "0 repeat top", "0 s v2 1"}));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1", g.texts)), 11);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v2", g.texts)), 0);  // the run ended at the limit
}

TEST(ResolvedRepeats, ALoopWithALongBody) {
  std::vector<std::string> lines = {"0 s v1 0", "0 repetition top"};
  for (int k = 0; k < 100; ++k) lines.emplace_back("0 a v" + std::to_string(k % 5 + 10) + " 1");
  lines.emplace_back("0 a v1 1");
  lines.emplace_back("1 - v1 1000 repeat top");
  Game g;
  vesk::run_script(g.state, script_of(lines));
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1", g.texts)), 1000);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v14", g.texts)), 20000);
}

// The runner keeps the lines after a jump as read, up to a bound, and walks
// them again at the next jump: nested loops trade the kept lines, and a body
// longer than the bound goes on past the kept ones.
TEST(ResolvedRepeats, NestedLoopsAndBodiesLongerThanTheKeptLines) {
  Game g;
  vesk::run_script(g.state, script_of({"0 repetition outer", "0 s v2 0", "0 repetition inner", "0 a v2 1", "0 a v8 1",
                                       "1 - v2 3 repeat inner", "0 a v1 1", "1 - v1 4 repeat outer", "0 a v4 1"}));
  EXPECT_EQ(g.get("v8"), 12);
  EXPECT_EQ(g.get("v1"), 4);
  EXPECT_EQ(g.get("v4"), 1);
  std::vector<std::string> lines = {"0 repetition top"};
  for (int k = 0; k < 1500; ++k) lines.emplace_back("0 a v5 1");
  lines.emplace_back("0 a v6 1");
  lines.emplace_back("1 - v6 3 repeat top");
  vesk::run_script(g.state, script_of(lines));
  EXPECT_EQ(g.get("v5"), 4500);
}

TEST(ResolvedRepeats, CopiesKeepTheirLabels) {
  const vesk::Script original = script_of({"0 repetition top", "0 a v1 1", "1 - v1 4 repeat top"});
  vesk::Script copy = original;
  copy.push_back("1 - v1 6 repeat top");
  Game g;
  vesk::run_script(g.state, copy);
  EXPECT_EQ(vesk::get_variable(g.state, vesk::resolve_variable("v1", g.texts)), 6);
}

}  // namespace

namespace {

// A command is its words joined and split again: a join longer than a built
// text is cut, and a last word left empty by a line end is dropped.
TEST(ResolvedCommands, TakeTheirWordsAsAJoinedTextWould) {
  const std::string long_word(100, 'w');
  const vesk::Script script(vesk::Script::Form::kList,
                            {"0 msg " + long_word + " " + long_word + " " + long_word, "0 msg a b \n", "1 = v1 0 \n"});
  const std::string joined = vesk::cut("msg " + long_word + " " + long_word + " " + long_word, vesk::kTextCapacity);
  EXPECT_EQ(line_of(script, 0).command.text, vesk::words_from(vesk::split_words(joined), 1));
  EXPECT_EQ(line_of(script, 1).command.text, "a b");
  EXPECT_EQ(line_of(script, 2).command.op, vesk::ScriptCommand::Op::kNothing);
}

}  // namespace

namespace {

void expect_same(const Operand& read, const Operand& compiled, const std::string& where) {
  EXPECT_EQ(read.kind, compiled.kind) << where;
  EXPECT_EQ(read.loose, compiled.loose) << where;
  EXPECT_EQ(read.steps, compiled.steps) << where;
  EXPECT_EQ(read.number, compiled.number) << where;
  EXPECT_EQ(read.weapon, compiled.weapon) << where;
}

void expect_same(const vesk::ScriptTest& read, const vesk::ScriptTest& compiled, const std::string& where) {
  EXPECT_EQ(read.kind, compiled.kind) << where;
  EXPECT_EQ(read.low_loose, compiled.low_loose) << where;
  EXPECT_EQ(read.high_loose, compiled.high_loose) << where;
  EXPECT_EQ(read.low, compiled.low) << where;
  EXPECT_EQ(read.high, compiled.high) << where;
  EXPECT_EQ(read.item, compiled.item) << where;
  expect_same(read.left, compiled.left, where + ", left");
  expect_same(read.right, compiled.right, where + ", right");
}

// A script holds its lines as code; what it reads back is what compiling the
// line's words gives, for the numbers at the ends of the 32-bit range, texts
// that stand in the line and those that do not (a weapon name with spaces),
// long texts and pieces in any order.
TEST(ScriptCode, ReadsBackWhatTheWordsCompileTo) {
  const std::string long_text(200, 'w');
  const std::vector<std::pair<std::string, std::uint32_t>> lines = {
      {"1 = a_long_bow x-7 s v2147483647 -2147483648", 900},
      {"2 tch 9am 17 red key held . long_bow 6O", 3},
      {"1 - vvv3 vi2x a vv1x x", 70000},
      {"0 msf 2x v4", 70001},
      {"0 s s7 hello +v1 world", 0},
      {"0 msg " + long_text, 5},
      {"3 = v1 0 repeat top", 6},
      {"0 repetition top", 7},
      {"x", 8},
  };
  vesk::Script script;
  for (const auto& [text, piece] : lines) script.push_back(text, piece);
  script.set_source_file(4);
  ASSERT_EQ(script.size(), lines.size());
  std::size_t n = 0;
  for (const vesk::ScriptLine& line : script) {
    const std::string& where = lines[n].first;
    EXPECT_EQ(line.text, where);
    EXPECT_EQ(line.source.file, 4u) << where;
    EXPECT_EQ(line.source.piece, lines[n].second) << where;
    const vesk::ScriptWords words = vesk::script_words(line);
    vesk::CompileTexts texts;
    ASSERT_EQ(line.conditions.size(), words.conditions.size()) << where;
    std::size_t k = 0;
    for (const vesk::ScriptTest& test : line.conditions) {
      expect_same(test, vesk::compile_condition(vesk::views_of(words.conditions[k++]), texts), where);
    }
    const vesk::ScriptCommand compiled = vesk::compile_command(vesk::views_of(words.command), texts);
    EXPECT_EQ(line.command.op, compiled.op) << where;
    EXPECT_EQ(line.command.loose, compiled.loose) << where;
    EXPECT_EQ(line.command.number, compiled.number) << where;
    EXPECT_EQ(line.command.text, compiled.text) << where;
    EXPECT_EQ(line.command.name, compiled.name) << where;
    expect_same(line.command.target, compiled.target, where + ", target");
    expect_same(line.command.value, compiled.value, where + ", value");
    ++n;
  }
  EXPECT_EQ(line_of(script, 2).conditions.begin()->left.steps, 2);
  EXPECT_EQ(line_of(script, 4).command.text, "hello +v1 world");
  EXPECT_EQ(line_of(script, 6).kind, vesk::ScriptLine::Kind::kSkip);  // three conditions do not fit
  EXPECT_EQ(line_of(script, 6).label, "");
  EXPECT_EQ(line_of(script, 7).kind, vesk::ScriptLine::Kind::kLabel);
  EXPECT_EQ(line_of(script, 8).kind, vesk::ScriptLine::Kind::kSkip);
}

TEST(ScriptCode, ConditionsReadBackTheirTextsTestsAndPieces) {
  vesk::Conditions conditions;
  conditions.push_back("= a_long_bow -2147483648", 12);
  conditions.push_back("old lamp held", 2);
  conditions.push_back("tcw 1 5", 12);
  conditions.set_source_file(2);
  const std::vector<std::string> texts = {"= a_long_bow -2147483648", "old lamp held", "tcw 1 5"};
  const std::vector<std::uint32_t> pieces = {12, 2, 12};
  std::size_t n = 0;
  for (const vesk::Condition& condition : conditions) {
    vesk::CompileTexts compile;
    EXPECT_EQ(condition.text, texts[n]);
    EXPECT_EQ(condition.source.file, 2u);
    EXPECT_EQ(condition.source.piece, pieces[n]);
    expect_same(condition.test, vesk::compile_condition(vesk::word_views(texts[n]), compile), texts[n]);
    ++n;
  }
  EXPECT_EQ(n, 3u);
}

}  // namespace
