// The inventory commands: use, pickup, drop, select and the two listings.
#pragma once

#include <cstdint>

namespace vesk {

class Game;

std::int32_t use_command(Game& game);
std::int32_t pickup_command(Game& game);
std::int32_t drop_command(Game& game);
std::int32_t select_command(Game& game);
std::int32_t ammo_command(Game& game);
std::int32_t inv_command(Game& game);

}  // namespace vesk
