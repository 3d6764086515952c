// Movement: the path command, the move at the end of a pass, and entering a
// subdivided area.
#pragma once

#include <cstdint>

namespace vesk {

class Game;

// Refreshes `subdivided_now` and, on entering a subdivided area, finds the
// entry spot and facing.
void refresh_subdivided_area(Game& game);

// The path command: the turn result of "path N".
std::int32_t path_command(Game& game);

// The move at the end of a pass whose turn result is above 0.
void move_player(Game& game);

}  // namespace vesk
