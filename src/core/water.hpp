// Water, air and drowning.
#pragma once

namespace vesk {

struct GameState;

// On a pass that shows the view: refills the air out of deep water and deals
// drowning damage once the air is gone.
void refill_air_and_drown(GameState& game);

}  // namespace vesk
