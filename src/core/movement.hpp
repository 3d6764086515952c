// Movement: the path command, the move at the end of a pass, and entering a
// subdivided area.
#pragma once

#include "content/records.hpp"
#include "state/outcome.hpp"

namespace vesk {

struct GameState;

// Refreshes `subdivided_now` and, on entering a subdivided area, finds the
// entry spot and facing.
void refresh_subdivided_area(GameState& game);

// "path N": a listed path of an ordinary area, or a listed exit of the
// player's spot in a subdivided one.
Outcome path_command(GameState& game, const Words& words);

// The move at the end of a pass whose command chose a path or a step.
void move_player(GameState& game, const Outcome& move);

}  // namespace vesk
