// Water, air and drowning.
#include "core/water.hpp"

#include "base/arith.hpp"
#include "base/words.hpp"
#include "script/expand.hpp"
#include "state/game_state.hpp"

namespace vesk {

void refill_air_and_drown(GameState& game) {
  if (game.current_water_level < 2) game.vars.air = 100;
  if (game.vars.air < 1) {
    game.vars.air = 0;
    const std::int32_t damage = game.rng.mod(15);
    add_pending_message(game, format_text("You took %d damage from drowning.\n", damage));
    game.vars.health = lose_health(game.vars.health, damage);
  }
}

}  // namespace vesk
