// The enemy turn: departure, grapple, arrival, numbering, attacks, readiness.
#include "combat/enemy_turn.hpp"

#include <algorithm>
#include <ostream>
#include <string_view>
#include <unordered_map>

#include "content/text.hpp"
#include "core/arith.hpp"
#include "core/game.hpp"

namespace vesk {

namespace {

bool stands_with_player(const Game& game, const Enemy& enemy) {
  return !game.subdivided_now || enemy.spot == game.vars.a2;
}

// The spots first, first + step, ... while they are below the end spot, which
// itself is never in the range; a step of 0 or below never gets anywhere, so
// such a range holds the first spot alone, and only if it is below the end.
bool spot_in_range(const Enemy& kind, std::int32_t spot) {
  if (spot < kind.first_spot || spot >= kind.end_spot) return false;
  if (kind.spot_step <= 0) return spot == kind.first_spot;
  return (std::int64_t{spot} - kind.first_spot) % kind.spot_step == 0;
}

void let_enemies_arrive(Game& game, Area& area) {
  for (const EnemyKind& kind : area.enemy_kinds) {
    if (!game.rng.chance(kind.chance)) continue;
    if (game.subdivided_now && !spot_in_range(kind.enemy, game.vars.a2)) continue;
    if (area.live_enemies.size() >= kMaxLiveEnemies) continue;
    area.live_enemies.push_back(kind.enemy);
    Enemy& enemy = area.live_enemies.back();
    if (game.subdivided_now) enemy.spot = game.vars.a2;
    game.out << format_text("\nA(n) %s appears.\n", enemy.shown_name.c_str());
    if (enemy.grapples) {
      game.out << format_text("The %s grapples you.\n", enemy.shown_name.c_str());
      game.grappled = true;
    }
    enemy.instance_number = 0;
    for (const Enemy& other : area.live_enemies) {
      if (other.shown_name == enemy.shown_name && stands_with_player(game, other)) ++enemy.instance_number;
    }
    enemy.ready = game.rng.mod(2) == 1;
  }
}

// In a subdivided area the things on the player's spot are numbered anew by
// their name, counting every earlier thing of that name wherever it stands;
// things elsewhere are all number 1.
template <typename Thing, typename NameOf>
void renumber_on_spot(std::vector<Thing>& things, std::int32_t spot, NameOf name_of) {
  std::unordered_map<std::string_view, std::int32_t> earlier;
  for (Thing& thing : things) {
    std::int32_t& seen = earlier[name_of(thing)];
    thing.instance_number = thing.spot == spot ? seen + 1 : 1;
    ++seen;
  }
}

// One ready enemy's attack. True when it killed the player.
bool attack(Game& game, Enemy& enemy) {
  if (enemy.attacks.empty()) {
    enemy.ready = false;
    return false;
  }
  const Attack& chosen =
      enemy.attacks[static_cast<std::size_t>(game.rng.mod(static_cast<std::int32_t>(enemy.attacks.size())))];
  const char* name = enemy.shown_name.c_str();
  if (game.rng.chance(chosen.hit_chance)) {
    std::int32_t damage = game.rng.range(chosen.min_damage, chosen.max_damage);
    if (game.has_armor) damage /= 2;
    game.vars.h = std::max(lose_health(game.vars.h, damage), 0);
    if (enemy.is_definite) {
      game.out << format_text("The %s %s (-%d -> %d).\n\n", name, chosen.text.c_str(), damage, game.vars.h);
    } else {
      game.out << format_text("The %s (%d) %s (-%d -> %d).\n\n", name, enemy.instance_number, chosen.text.c_str(),
                              damage, game.vars.h);
    }
    if (game.vars.h <= 0) {
      game.out << "You were killed.\n";
      return true;
    }
  } else if (enemy.is_definite) {
    game.out << format_text("The %s %s (miss).\n\n", name, chosen.text.c_str());
  } else {
    game.out << format_text("The %s (%d) %s (miss).\n\n", name, enemy.instance_number, chosen.text.c_str());
  }
  enemy.ready = false;
  return false;
}

}  // namespace

void sweep_departed_enemies(Game& game) {
  for (std::size_t a = 0; a < game.world.areas.size(); ++a) {
    Area& area = game.world.areas[a];
    const bool current = static_cast<std::int32_t>(a + 1) == game.vars.ca;
    std::erase_if(area.live_enemies, [&](const Enemy& enemy) {
      return !enemy.is_persistent && (!current || (area.is_subdivided && enemy.spot != game.vars.a2));
    });
  }
}

void update_grappled(Game& game) {
  game.grappled = false;
  for (const Enemy& enemy : game.current_area().live_enemies) {
    if (enemy.grapples && stands_with_player(game, enemy)) game.grappled = true;
  }
}

bool run_enemy_turn(Game& game) {
  Area& area = game.current_area();
  let_enemies_arrive(game, area);
  if (game.subdivided_now) {
    renumber_on_spot(area.live_enemies, game.vars.a2, [](const Enemy& e) -> std::string_view { return e.shown_name; });
    renumber_on_spot(area.items, game.vars.a2, [](const Item& i) -> std::string_view { return i.name; });
  }
  for (Enemy& enemy : area.live_enemies) {
    if (!enemy.ready || !stands_with_player(game, enemy)) continue;
    if (attack(game, enemy)) return true;
  }
  return false;
}

void make_enemies_ready(Game& game) {
  for (Enemy& enemy : game.current_area().live_enemies) enemy.ready = true;
}

}  // namespace vesk
