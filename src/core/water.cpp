// Water, air and drowning.
#include "core/water.hpp"

#include "core/game.hpp"

namespace vesk {

void refill_air_and_drown(Game&) {}

}  // namespace vesk
