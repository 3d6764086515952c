// Conditions: the tests that guard script lines, paths, actions and area items.
#pragma once

#include <string_view>

#include "content/records.hpp"

namespace vesk {

struct GameState;

// "tcw A B" (weekday window), "tch A B" (hour window), "NAME held", or a
// comparison "= X Y", "+ X Y" (greater), "- X Y" (less).
bool evaluate_condition(GameState& game, const ScriptTest& test);

// True when every condition holds, testing them in order up to the first false one.
bool all_conditions_hold(GameState& game, const Conditions& conditions);

// Tells the game's observer, which must be there, that the condition `test`,
// written as `words`, at `where` was tested with the result `holds`, and what
// it read (see Observer::on_condition for `index`).
void notify_condition(GameState& game, const SourcePos& where, std::size_t index, const ScriptTest& test,
                      const Words& words, bool holds);

}  // namespace vesk
