// The script runner: runs script lines with their guards, labels and repeats.
#pragma once

#include "content/records.hpp"

namespace vesk {

struct GameState;

// Runs the lines from the top: a line's command runs when all its conditions
// hold (tested in order up to the first false one); a guarded "repeat NAME"
// goes back to the line after the nearest "repetition NAME" above it.
void run_script(GameState& game, const Script& script);

// True when every condition of the line holds.
bool guard_holds(GameState& game, const ScriptLine& line);

}  // namespace vesk
