// The enemy turn: departure, grapple, arrival, numbering, attacks, readiness.
#include "combat/enemy_turn.hpp"

#include <algorithm>
#include <ostream>

#include "base/arith.hpp"
#include "base/words.hpp"
#include "state/game_state.hpp"
#include "state/numbering.hpp"

namespace vesk {

namespace {

// The spots first, first + step, ... while they are below the end spot, which
// itself is never in the range; a step of 0 or below never gets anywhere, so
// such a range holds the first spot alone, and only if it is below the end.
bool spot_in_range(const EnemyKind& kind, std::int32_t spot) {
  if (spot < kind.first_spot || spot >= kind.end_spot) return false;
  if (kind.spot_step <= 0) return spot == kind.first_spot;
  return (std::int64_t{spot} - kind.first_spot) % kind.spot_step == 0;
}

void let_enemies_arrive(GameState& game, const Area& area, AreaState& here) {
  for (const EnemyKind& kind : area.enemy_kinds) {
    if (!game.rng.chance(kind.chance)) continue;
    if (game.subdivided_now && !spot_in_range(kind, game.vars.spot)) continue;
    if (here.live_enemies.size() >= kMaxLiveEnemies) continue;
    const std::int32_t spot = game.subdivided_now ? game.vars.spot : kAnySpot;
    const std::int32_t number = next_number(here.live_enemies, kind.enemy->shown_name, spot);
    LiveEnemy& enemy = here.live_enemies.push_back(LiveEnemy::of(*kind.enemy));
    if (game.subdivided_now) enemy.spot = game.vars.spot;
    // Numbered after the enemies of its name where the player is.
    enemy.instance_number = number;
    if (game.observer) game.observer->on_arrival(enemy);
    game.out() << format_text("\nA(n) %s appears.\n", enemy.shown_name().c_str());
    if (enemy.kind->grapples) {
      game.out() << format_text("The %s grapples you.\n", enemy.shown_name().c_str());
      game.grappled = true;
    }
    enemy.ready = game.rng.mod(2) == 1;
  }
}

// One ready enemy's attack. True when it killed the player.
bool attack(GameState& game, LiveEnemy& enemy) {
  const Attacks& attacks = enemy.kind->attacks;
  if (attacks.empty()) {
    enemy.ready = false;
    return false;
  }
  const Attack chosen = attacks[static_cast<std::size_t>(game.rng.mod(static_cast<std::int32_t>(attacks.size())))];
  const std::string text(chosen.text);
  const char* name = enemy.shown_name().c_str();
  if (game.rng.chance(chosen.hit_chance)) {
    std::int32_t damage = game.rng.range(chosen.min_damage, chosen.max_damage);
    if (game.has_armor) damage /= 2;
    game.vars.health = std::max(lose_health(game.vars.health, damage), 0);
    if (game.observer) game.observer->on_attack(enemy, chosen, true, damage);
    if (enemy.is_definite) {
      game.out() << format_text("The %s %s (-%d -> %d).\n\n", name, text.c_str(), damage, game.vars.health);
    } else {
      game.out() << format_text("The %s (%d) %s (-%d -> %d).\n\n", name, enemy.instance_number, text.c_str(), damage,
                                game.vars.health);
    }
    if (game.vars.health <= 0) {
      game.out() << "You were killed.\n";
      return true;
    }
  } else if (enemy.is_definite) {
    if (game.observer) game.observer->on_attack(enemy, chosen, false, 0);
    game.out() << format_text("The %s %s (miss).\n\n", name, text.c_str());
  } else {
    if (game.observer) game.observer->on_attack(enemy, chosen, false, 0);
    game.out() << format_text("The %s (%d) %s (miss).\n\n", name, enemy.instance_number, text.c_str());
  }
  enemy.ready = false;
  return false;
}

}  // namespace

void sweep_departed_enemies(GameState& game) {
  for (std::size_t a = 0; a < game.areas.size(); ++a) {
    AreaState* state = game.areas.if_laid_out(a);
    if (!state) continue;  // never entered: no enemies there yet
    const bool current = static_cast<std::int32_t>(a + 1) == game.vars.area;
    const bool subdivided = current && game.world().area(a).is_subdivided;
    state->live_enemies.erase_if([&](const LiveEnemy& enemy) {
      return !enemy.is_persistent && (!current || (subdivided && enemy.spot != game.vars.spot));
    });
  }
}

void update_grappled(GameState& game) {
  game.grappled = false;
  for (const LiveEnemy& enemy : game.current_area_state().live_enemies) {
    if (enemy.kind->grapples && game.is_with_player(enemy.spot)) game.grappled = true;
  }
}

bool run_enemy_turn(GameState& game) {
  AreaState& here = game.current_area_state();
  let_enemies_arrive(game, game.current_area(), here);
  if (game.subdivided_now) {
    number_on_spot(here.live_enemies.all(), game.vars.spot);
    number_on_spot(here.items, game.vars.spot);
  }
  for (LiveEnemy& enemy : here.live_enemies) {
    if (!enemy.ready || !game.is_with_player(enemy.spot)) continue;
    if (attack(game, enemy)) return true;
  }
  return false;
}

void make_enemies_ready(GameState& game) {
  for (LiveEnemy& enemy : game.current_area_state().live_enemies) enemy.ready = true;
}

}  // namespace vesk
