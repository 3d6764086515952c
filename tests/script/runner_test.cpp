// What the script runner, conditions and commands read, seen where the output
// does not show it: the growth of the numbered table, the item variables and
// what the runner tells an observer. Loops, guards, arithmetic and time windows
// are played in the script transcripts.
#include "script/runner.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "inventory/commands.hpp"
#include "script/condition.hpp"
#include "script/interpreter.hpp"
#include "state/observer.hpp"
#include "support/script_game.hpp"

namespace {

using vesk::testing::ScriptGame;
using Events = std::vector<std::string>;

// Writes down what the runner tells an observer, one entry a line or condition.
struct Recorder : vesk::Observer {
  void on_condition(const vesk::SourcePos& /*where*/, std::size_t index, const vesk::Words& words,
                    const vesk::ConditionValues& values, bool holds) override {
    std::string event = "condition " + std::to_string(index) + " \"" + vesk::words_from(words, 0) + "\"";
    for (int k = 0; k < values.count; ++k) event += " " + std::to_string(values.values[static_cast<std::size_t>(k)]);
    events.push_back(event + (holds ? " holds" : " fails"));
  }
  void on_script_line(const vesk::ScriptLine& line, vesk::LineRun run) override {
    static constexpr const char* kRuns[] = {"inert", "guard failed", "runs", "jumps", "no label", "jump limit"};
    events.push_back(std::string(kRuns[static_cast<int>(run)]) + ": " + std::string(line.text));
  }
  Events events;
};

TEST(RunScript, StopsTestingConditionsAtTheFirstFalseOne) {
  ScriptGame g;
  g.run({"2 = v1 1 = v9 0 msg never"});  // v9 is never read
  EXPECT_EQ(g.numbered().size(), 1u);
  g.run({"0 s v1 1", "2 = v1 1 = v9 0 msg both hold"});
  EXPECT_EQ(g.numbered().size(), 9u);
  EXPECT_EQ(g.out.str(), "both hold\n");
}

// The tools' traces and coverage are built from these events, so their order
// and arguments matter as much as what the script does.
TEST(RunScript, TellsTheObserverOfEveryLineAndCondition) {
  ScriptGame g;
  Recorder recorder;
  g.game.observer = &recorder;
  g.game.jump_limit = 1;
  g.run({"0 repetition top", "0 a v1 1", "2 = v2 0 - v1 5 repeat top", "0 msg never"});
  EXPECT_EQ(recorder.events, (Events{
                                 "inert: 0 repetition top",
                                 "runs: 0 a v1 1",
                                 "condition 1 \"= v2 0\" 0 0 holds",
                                 "condition 2 \"- v1 5\" 1 5 holds",
                                 "jumps: 2 = v2 0 - v1 5 repeat top",
                                 "runs: 0 a v1 1",
                                 "condition 1 \"= v2 0\" 0 0 holds",
                                 "condition 2 \"- v1 5\" 2 5 holds",
                                 "jump limit: 2 = v2 0 - v1 5 repeat top",
                             }));
  EXPECT_EQ(g.out.str(), "");

  recorder.events.clear();
  g.run({"2 = v1 9 = v3 0 msg no", "1 = v1 2 repeat nowhere", "5 x"});
  EXPECT_EQ(recorder.events, (Events{
                                 "condition 1 \"= v1 9\" 2 9 fails",
                                 "guard failed: 2 = v1 9 = v3 0 msg no",
                                 "condition 1 \"= v1 2\" 2 2 holds",
                                 "no label: 1 = v1 2 repeat nowhere",
                                 "inert: 5 x",
                             }));

  // A list of conditions of its own, as paths and actions have, stops at the
  // first false one too; its conditions have no number.
  recorder.events.clear();
  const vesk::Conditions conditions = {"= v1 2", "tch 5 6", "= v9 0"};
  EXPECT_FALSE(vesk::all_conditions_hold(g.game, conditions));
  EXPECT_EQ(recorder.events, (Events{"condition 0 \"= v1 2\" 2 2 holds", "condition 0 \"tch 5 6\" 0 fails"}));
}

// An item's use script runs through the same runner, straight through: a use
// line ending "repeat NAME" is a command, and a line that takes the item away
// does not cut the script short.
TEST(UseCommand, RunsTheUseScriptStraightThrough) {
  ScriptGame g;
  Recorder recorder;
  g.game.observer = &recorder;
  vesk::Item idol;
  idol.name = "idol";
  idol.use_scripts = vesk::Script(vesk::Script::Form::kUse, {
                                                                "0 repetition top",
                                                                "1 = v1 0 msg A voice: repeat top",
                                                                "5 x",
                                                                "1 = v1 1 msg never",
                                                                "0 n idol",
                                                                "0 msg Gone.",
                                                            });
  g.game.inventory.add(idol, 1);
  vesk::use_command(g.game, {"use", "idol"});
  EXPECT_EQ(recorder.events, (Events{
                                 "runs: 0 repetition top",
                                 "condition 1 \"= v1 0\" 0 0 holds",
                                 "runs: 1 = v1 0 msg A voice: repeat top",
                                 "inert: 5 x",
                                 "condition 1 \"= v1 1\" 0 1 fails",
                                 "guard failed: 1 = v1 1 msg never",
                                 "runs: 0 n idol",
                                 "runs: 0 msg Gone.",
                             }));
  EXPECT_EQ(g.out.str(), "A voice: repeat top\nGone.\nUsed idol.\n\n");
  EXPECT_EQ(g.game.inventory.find("idol"), nullptr);
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
  g.execute("zz v5 x10");
  EXPECT_EQ(g.game.vars.numbered, std::vector<std::int32_t>(5, 0));
}

}  // namespace
