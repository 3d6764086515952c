// Movement: paths of ordinary areas and steps between the spots of subdivided ones.
#include "core/movement.hpp"

#include <ostream>

#include "content/text.hpp"
#include "core/arith.hpp"
#include "core/game.hpp"
#include "script/condition.hpp"
#include "script/runner.hpp"

namespace vesk {

namespace {

constexpr std::int32_t kStepSeconds = 30;

bool is_area_number(const Game& game, std::int32_t number) {
  return number >= 1 && static_cast<std::size_t>(number) <= game.world.areas.size();
}

bool stands_on_a_spot(Game& game) {
  return game.current_area().has_spot(game.vars.a2) && game.facing >= 0 && game.facing <= 3;
}

// The first spot with an exit back to the area just left; the player faces away
// from it. Without one the player stands on spot 1 facing direction 0.
void find_entry_spot(Game& game) {
  const Area& area = game.current_area();
  game.vars.a2 = -1;
  for (std::int32_t spot = 1; spot <= area.spot_count && game.vars.a2 < 0; ++spot) {
    for (std::int32_t direction = 0; direction < 4; ++direction) {
      if (area.exit_of(spot, direction) == wrap_sub(0, game.vars.prev)) {
        game.vars.a2 = spot;
        game.facing = (direction + 2) % 4;
        break;
      }
    }
  }
  if (game.vars.a2 < 0 && area.has_spot(1)) {
    game.vars.a2 = 1;
    game.facing = 0;
  }
  game.entry_spot_known = true;
}

// Whether an enemy holds the player back: the first live enemy of the area
// (in a subdivided area, the first on the player's spot) decides. A definite
// enemy always does; any other two times in three.
bool held_back(Game& game) {
  for (const Enemy& enemy : game.current_area().live_enemies) {
    if (game.subdivided_now && enemy.spot != game.vars.a2) continue;
    return enemy.is_definite || game.rng.mod(3) < 2;
  }
  return false;
}

// Grappled or held back: the turn passes without a move.
bool cannot_leave(Game& game) {
  if (game.grappled) {
    game.out << "You are grappled.";
    return true;
  }
  if (held_back(game)) {
    game.out << "You can't escape.\n";
    return true;
  }
  return false;
}

bool in_the_dark(Game& game) { return game.current_area().is_dark && !game.has_lamp; }

// "path N" in a subdivided area: N is the number of a listed direction.
std::int32_t step_command(Game& game, std::int32_t n) {
  if (!stands_on_a_spot(game) || n < 1 || static_cast<std::size_t>(n) > game.path_letters.size()) {
    game.out << "No path.\n\n";
    return kTurn;
  }
  if (cannot_leave(game)) return kTurn;
  if (in_the_dark(game)) n = game.rng.mod(4) + 1;
  if (static_cast<std::size_t>(n) > game.path_letters.size()) return kNoTurn;
  static constexpr std::string_view kLetters = "arbl";
  const auto turn = static_cast<std::int32_t>(kLetters.find(game.path_letters[static_cast<std::size_t>(n - 1)]));
  const std::int32_t direction = (game.facing + turn) % 4;
  // The listing may be older than the spot (a script moved the player).
  if (game.current_area().exit_of(game.vars.a2, direction) == 0) {
    game.out << "No path.\n\n";
    return kTurn;
  }
  game.view_due = true;
  return direction + 1;
}

// "path N" in an ordinary area: N is the number the last view listed.
std::int32_t take_path_command(Game& game, std::int32_t n) {
  const Area& area = game.current_area();
  auto listed = [&](std::int32_t number) {
    return number >= 1 && static_cast<std::size_t>(number) <= game.path_numbering.size() &&
           game.path_numbering[static_cast<std::size_t>(number - 1)] <= area.paths.size();
  };
  if (!listed(n)) return game.invalid_entry();
  if (in_the_dark(game)) {
    if (game.rng.mod(2) == 0) {
      game.out << "No path.\n";
      return kTurn;
    }
    n = game.rng.mod(static_cast<std::int32_t>(game.path_numbering.size())) + 1;
    // A script may have moved the player since the listing was made.
    if (!listed(n)) return game.invalid_entry();
  }
  if (cannot_leave(game)) return kTurn;
  const std::size_t number = game.path_numbering[static_cast<std::size_t>(n - 1)];
  const Path& path = area.paths[number - 1];
  if (!all_conditions_hold(game, path.use_conditions)) {
    run_script(game, path.failure_scripts);
    return kNoTurn;
  }
  // The move takes this path even if its scripts move the player elsewhere.
  game.chosen_path = {game.vars.ca, number};
  run_script(game, path.success_scripts);
  game.view_due = true;
  return static_cast<std::int32_t>(number);
}

void use_air(Game& game, std::int32_t amount) { game.vars.air = wrap_sub(game.vars.air, amount); }

void step_or_leave(Game& game, std::int32_t direction) {
  const std::int32_t exit = game.current_area().exit_of(game.vars.a2, direction);
  const bool under_water = game.current_water_level == 2;
  if (exit < 0) {
    const std::int32_t area = wrap_sub(0, exit);
    if (is_area_number(game, area)) {
      game.last_noted_area = game.vars.ca;
      game.vars.ca = area;
      game.facing = -1;
      game.subdivided_now = false;
      game.entry_spot_known = false;
    }
  } else if (game.current_area().has_spot(exit)) {
    game.vars.a2 = exit;
    game.facing = direction;
  }
  if (under_water) use_air(game, game.vars.air2 == 1 ? 2 : 10);
  game.vars.game = wrap_add(game.vars.game, kStepSeconds);
}

void travel(Game& game) {
  const auto [from, number] = game.chosen_path;
  const Path& path = game.world.areas[static_cast<std::size_t>(from - 1)].paths[number - 1];
  game.vars.game = wrap_add(game.vars.game, path.travel_time);
  if (game.current_water_level == 2) use_air(game, path.travel_time / (game.vars.air2 == 1 ? 15 : 3));
  if (!is_area_number(game, path.target_area)) return;
  game.last_noted_area = game.vars.ca;
  game.entry_spot_known = false;
  game.vars.ca = path.target_area;
  // Enemies waiting in the new area are ready or not by an even chance.
  for (Enemy& enemy : game.current_area().live_enemies) enemy.ready = game.rng.mod(2) == 1;
}

}  // namespace

void refresh_subdivided_area(Game& game) {
  game.subdivided_now = game.current_area().is_subdivided;
  if (game.subdivided_now && !game.entry_spot_known) find_entry_spot(game);
}

std::int32_t path_command(Game& game) {
  const Words words = split_words(game.input_line);
  const std::int32_t n = words.size() >= 2 ? to_int(words.back()) : -1;
  return game.subdivided_now ? step_command(game, n) : take_path_command(game, n);
}

void move_player(Game& game) {
  if (game.subdivided_now) {
    step_or_leave(game, game.turn_result - 1);
  } else {
    travel(game);
  }
}

}  // namespace vesk
