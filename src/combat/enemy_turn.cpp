// The enemy turn: departure, grapple, arrival, numbering, attacks, readiness.
#include "combat/enemy_turn.hpp"

#include "core/game.hpp"

namespace vesk {

void sweep_departed_enemies(Game&) {}

void update_grappled(Game& game) { game.grappled = false; }

bool run_enemy_turn(Game&) { return false; }

void make_enemies_ready(Game&) {}

}  // namespace vesk
