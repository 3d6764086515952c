// The player's attack: the fight command.
#pragma once

#include <cstdint>

namespace vesk {

class Game;

// The fight command: the turn result of "fight name [number]".
std::int32_t fight_command(Game& game);

}  // namespace vesk
