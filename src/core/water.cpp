// Water, air and drowning.
#include "core/water.hpp"

#include "content/text.hpp"
#include "core/arith.hpp"
#include "core/game.hpp"

namespace vesk {

void refill_air_and_drown(Game& game) {
  if (game.current_water_level < 2) game.vars.air = 100;
  if (game.vars.air < 1) {
    game.vars.air = 0;
    const std::int32_t damage = game.rng.mod(15);
    game.add_pending_message(format_text("You took %d damage from drowning.\n", damage));
    game.vars.h = lose_health(game.vars.h, damage);
  }
}

}  // namespace vesk
