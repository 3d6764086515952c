// The script runner: runs script lines with their guards, labels and repeats.
#pragma once

#include "content/records.hpp"

namespace vesk {

struct GameState;

// Runs the lines from the top: a line's command runs when all its conditions
// hold (tested in order up to the first false one); a guarded "repeat NAME"
// goes back to the line after the nearest "repetition NAME" above it. An
// item's use script runs here too: its lines are never labels or repeats. The
// game's observer, if it has one, hears of every condition and line in turn.
void run_script(GameState& game, const Script& script);

}  // namespace vesk
