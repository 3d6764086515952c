// Movement: paths of ordinary areas and steps between the spots of subdivided ones.
#include "core/movement.hpp"

#include "core/game.hpp"

namespace vesk {

void refresh_subdivided_area(Game& game) { game.subdivided_now = game.current_area().is_subdivided; }

std::int32_t path_command(Game& game) {
  game.out << "Entry invalid.\n\n";
  return -1;
}

void move_player(Game&) {}

}  // namespace vesk
