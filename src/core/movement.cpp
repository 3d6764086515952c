// Movement: paths of ordinary areas and steps between the spots of subdivided ones.
#include "core/movement.hpp"

#include <algorithm>
#include <cstdint>
#include <ostream>

#include "base/arith.hpp"
#include "base/index.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "script/condition.hpp"
#include "script/runner.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

constexpr std::int32_t kStepSeconds = 30;

bool stands_on_a_spot(GameState& game) {
  return game.current_area().has_spot(game.vars.spot) && game.facing >= 0 && game.facing <= 3;
}

// The first spot with an exit back to the area just left; the player faces away
// from it. Without one the player stands on spot 1 facing direction 0.
void find_entry_spot(GameState& game) {
  const Area& area = game.current_area();
  game.vars.spot = -1;
  // Spots run from 1 to the spot count, which a single row may set as high as
  // the 32-bit maximum: the table finds the spot without visiting each one.
  const auto last = static_cast<std::int32_t>(std::min<std::int64_t>(area.spot_count, area.spot_exits.size()));
  if (const auto found = area.spot_exits.find_exit(wrap_sub(0, game.vars.previous_area), last)) {
    game.vars.spot = found->first;
    game.facing = (found->second + 2) % 4;
  }
  if (game.vars.spot < 0 && area.has_spot(1)) {
    game.vars.spot = 1;
    game.facing = 0;
  }
  game.entry_spot_known = true;
}

// Whether an enemy holds the player back: the first live enemy of the area
// (in a subdivided area, the first on the player's spot) decides. A definite
// enemy always does; any other two times in three.
bool held_back(GameState& game) {
  for (const LiveEnemy& enemy : game.current_area_state().live_enemies) {
    if (game.is_with_player(enemy.spot)) return enemy.is_definite || game.rng.mod(3) < 2;
  }
  return false;
}

// Grappled or held back: the turn passes without a move.
bool cannot_leave(GameState& game) {
  if (game.grappled) {
    game.out() << "You are grappled.";
    return true;
  }
  if (held_back(game)) {
    game.out() << "You can't escape.\n";
    return true;
  }
  return false;
}

// "path N" in a subdivided area: N is the number of a listed direction.
Outcome step_command(GameState& game, std::int32_t n) {
  const std::string& letters = game.listing.exit_letters;
  if (!stands_on_a_spot(game) || !is_number_in(n, letters.size())) {
    game.out() << "No path.\n\n";
    return Outcome::turn();
  }
  if (cannot_leave(game)) return Outcome::turn();
  if (game.in_the_dark()) n = game.rng.mod(4) + 1;
  if (!is_number_in(n, letters.size())) return Outcome::no_turn();
  static constexpr std::string_view kLetters = "arbl";
  const auto turn = static_cast<std::int32_t>(kLetters.find(letters[static_cast<std::size_t>(n - 1)]));
  const std::int32_t direction = (game.facing + turn) % 4;
  // The listing may be older than the spot (a script moved the player).
  if (game.current_area().exit_of(game.vars.spot, direction) == 0) {
    game.out() << "No path.\n\n";
    return Outcome::turn();
  }
  game.view_due = true;
  return Outcome::step(direction);
}

// "path N" in an ordinary area: N is the number the last view listed.
Outcome take_path_command(GameState& game, std::int32_t n) {
  const Area& area = game.current_area();
  const std::vector<std::size_t>& listed = game.listing.paths;
  // The path behind listed number `number`, if the area still has it.
  auto path_number = [&](std::int32_t number) -> std::size_t {
    const std::size_t* path = nth(listed, number);
    return path && *path <= area.paths.size() ? *path : 0;
  };
  if (path_number(n) == 0) return game.invalid_entry();
  if (game.in_the_dark()) {
    if (game.rng.mod(2) == 0) {
      game.out() << "No path.\n";
      return Outcome::turn();
    }
    n = game.rng.mod(static_cast<std::int32_t>(listed.size())) + 1;
    // A script may have moved the player since the listing was made.
    if (path_number(n) == 0) return game.invalid_entry();
  }
  if (cannot_leave(game)) return Outcome::turn();
  const std::size_t number = path_number(n);
  const Path& path = area.paths[number - 1];
  const bool allowed = all_conditions_hold(game, path.use_conditions);
  if (game.observer) game.observer->on_choice(path, ChoiceKind::kPath, allowed);
  if (!allowed) {
    run_script(game, path.failure_scripts);
    return Outcome::no_turn();
  }
  // The move takes this path even if its scripts move the player elsewhere.
  const Outcome move = Outcome::path(game.vars.area, number);
  run_script(game, path.success_scripts);
  game.view_due = true;
  return move;
}

void use_air(GameState& game, std::int32_t amount) { game.vars.air = wrap_sub(game.vars.air, amount); }

void step_or_leave(GameState& game, std::int32_t direction) {
  const std::int32_t exit = game.current_area().exit_of(game.vars.spot, direction);
  const bool under_water = game.current_water_level == 2;
  if (exit < 0) {
    const std::int32_t area = wrap_sub(0, exit);
    if (game.is_area_number(area)) {
      if (game.observer) game.observer->on_area_change(game.vars.area, area, AreaChange::kStep);
      game.last_noted_area = game.vars.area;
      game.vars.area = area;
      game.facing = -1;
      game.subdivided_now = false;
      game.entry_spot_known = false;
    }
  } else if (game.current_area().has_spot(exit)) {
    game.vars.spot = exit;
    game.facing = direction;
  }
  if (under_water) use_air(game, game.vars.air_supply == 1 ? 2 : 10);
  game.vars.clock = wrap_add(game.vars.clock, kStepSeconds);
}

void travel(GameState& game, std::int32_t from, std::size_t number) {
  const Path& path = game.world().area(static_cast<std::size_t>(from - 1)).paths[number - 1];
  game.vars.clock = wrap_add(game.vars.clock, path.travel_time);
  if (game.current_water_level == 2) use_air(game, path.travel_time / (game.vars.air_supply == 1 ? 15 : 3));
  if (!game.is_area_number(path.target_area)) return;
  if (game.observer) game.observer->on_area_change(game.vars.area, path.target_area, AreaChange::kPath);
  game.last_noted_area = game.vars.area;
  game.entry_spot_known = false;
  game.vars.area = path.target_area;
  // Enemies waiting in the new area are ready or not by an even chance.
  for (LiveEnemy& enemy : game.current_area_state().live_enemies) enemy.ready = game.rng.mod(2) == 1;
}

}  // namespace

void refresh_subdivided_area(GameState& game) {
  game.subdivided_now = game.current_area().is_subdivided;
  if (game.subdivided_now && !game.entry_spot_known) find_entry_spot(game);
}

Outcome path_command(GameState& game, const Words& words) {
  const std::int32_t n = words.size() >= 2 ? to_int(words.back()) : -1;
  return game.subdivided_now ? step_command(game, n) : take_path_command(game, n);
}

void move_player(GameState& game, const Outcome& move) {
  if (move.kind() == Outcome::Kind::kStep) {
    step_or_leave(game, move.direction());
  } else if (move.kind() == Outcome::Kind::kPath) {
    travel(game, move.area(), move.path());
  }
}

}  // namespace vesk
