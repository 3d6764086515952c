// The inventory commands: use, pickup, drop, select, ammo and inv.
#include "inventory/commands.hpp"

#include "core/game.hpp"

namespace vesk {

namespace {

std::int32_t not_built_yet(Game& game) {
  game.out << "Entry invalid.\n\n";
  return -1;
}

}  // namespace

std::int32_t use_command(Game& game) { return not_built_yet(game); }
std::int32_t pickup_command(Game& game) { return not_built_yet(game); }
std::int32_t drop_command(Game& game) { return not_built_yet(game); }
std::int32_t select_command(Game& game) { return not_built_yet(game); }
std::int32_t ammo_command(Game& game) { return not_built_yet(game); }
std::int32_t inv_command(Game& game) { return not_built_yet(game); }

}  // namespace vesk
