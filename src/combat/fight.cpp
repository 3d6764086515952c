// The player's attack: target, weapon checks, hit, damage, defeat and loot.
#include "combat/fight.hpp"

#include <cmath>
#include <limits>
#include <ostream>

#include "base/arith.hpp"
#include "base/index.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "state/game_state.hpp"
#include "state/numbering.hpp"

namespace vesk {

namespace {

// "fight rat 2": the live enemy shown as "rat" with number 2, on the player's
// spot; the number is 1 when not given. Its index, or -1.
long find_target(GameState& game, const Words& words) {
  if (words.size() < 2) return -1;
  const auto [name, number] = name_and_number(words);
  const LiveEnemies& enemies = game.current_area_state().live_enemies;
  if (!is_number_in(number, enemies.size())) return -1;
  for (std::size_t i = 0; i < enemies.size(); ++i) {
    const LiveEnemy& enemy = enemies[i];
    if (enemy.shown_name() == name && enemy.instance_number == number && game.is_with_player(enemy.spot)) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

// Whether the selected weapon can be used now; a ranged weapon spends a round
// here, before the hit roll, so a miss costs it too.
bool weapon_ready(GameState& game) {
  if (game.selected_weapon == "strike") return true;
  const Item* weapon = game.world().find_item(game.selected_weapon);
  if (weapon && weapon->is_melee) return true;
  if (weapon) {
    if (game.grappled) {
      game.out() << "You'd hit yourself because you're grappled.\n";
      return false;
    }
    if (game.current_water_level != 0 && weapon->water_use == 0) {
      game.out() << "This weapon doesn't work under water.\n";
      return false;
    }
    if (game.current_water_level == 0 && weapon->water_use == 1) {
      game.out() << "This weapon only works under water.\n";
      return false;
    }
  }
  const long ammo = game.world().find_ammo(game.selected_weapon);
  if (ammo < 0 || game.ammo[static_cast<std::size_t>(ammo)] <= 0) {
    game.out() << "No ammo.\n";
    return false;
  }
  --game.ammo[static_cast<std::size_t>(ammo)];
  return true;
}

// A damage bound times an attribute factor, truncated toward zero; beyond 32
// bits it saturates, and a factor that is not a number gives 0.
std::int32_t scaled(std::int32_t bound, double factor) {
  const double product = std::trunc(bound * factor);
  if (std::isnan(product)) return 0;
  if (product >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (product <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(product);
}

// Loads the weapon profile: bare hands, or the selected weapon's numbers. A
// weapon that is no catalogue weapon leaves the last profile in place. Returns
// the weapon that gave the profile.
const Item* load_weapon_profile(GameState& game) {
  if (game.selected_weapon == "strike") {
    game.weapon = WeaponProfile{};
    return nullptr;
  }
  const Item* weapon = game.world().find_weapon(game.selected_weapon);
  if (!weapon) return nullptr;
  game.weapon = WeaponProfile{weapon->min_damage, weapon->max_damage, weapon->hit_chance};
  return weapon;
}

// Every attribute of the target, in the enemy's order, that the weapon shares
// multiplies the damage bound by its factor.
void apply_attribute_factors(GameState& game, const Item& weapon, const Enemy& target) {
  for (const EnemyAttribute& attribute : target.attributes) {
    for (const std::string& own : weapon.attributes) {
      if (own == attribute.name) game.weapon.max_damage = scaled(game.weapon.max_damage, attribute.factor);
    }
  }
}

// Each loot line is rolled on its own: "m LOW HIGH CHANCE" (money), "ammo
// WEAPON LOW HIGH CHANCE", or "ITEM NAME LOW HIGH CHANCE".
void roll_loot(GameState& game, const std::string& line) {
  const Words words = split_words(line);
  const long w = word_count(words);
  if (w < 4) return;
  const std::int32_t low = to_int(words[static_cast<std::size_t>(w - 3)]);
  const std::int32_t high = to_int(words[static_cast<std::size_t>(w - 2)]);
  const std::int32_t chance = to_int(words[static_cast<std::size_t>(w - 1)]);
  if (words[0] == "m") {
    if (!game.rng.chance(chance)) return;
    const std::int32_t amount = game.rng.range(low, high);
    game.out() << format_text("Obtained %dm.\n", amount);
    game.vars.money = wrap_add(game.vars.money, amount);
  } else if (words[0] == "ammo") {
    const std::string weapon = join_words(words, 1, w - 4);
    const long entry = game.world().find_ammo(weapon);
    if (entry < 0 || !game.rng.chance(chance)) return;
    const std::int32_t amount = game.rng.range(low, high);
    game.out() << format_text("Obtained %d ammo for %s.\n", amount, weapon.c_str());
    std::int32_t& count = game.ammo[static_cast<std::size_t>(entry)];
    count = wrap_add(count, amount);
  } else {
    if (!game.rng.chance(chance)) return;
    const std::string name = join_words(words, 0, w - 4);
    const Item* item = game.world().find_item(name);
    if (!item) return;
    const std::int32_t amount = game.rng.range(low, high);
    game.out() << format_text("Obtained %d %s(s).\n", amount, name.c_str());
    game.inventory.add(*item, amount);
  }
}

// The target leaves the area; enemies after it are numbered anew by their
// display name, counting every enemy before them.
void defeat(GameState& game, std::size_t index) {
  LiveEnemies& enemies = game.current_area_state().live_enemies;
  const LiveEnemy target = enemies[index];
  if (game.observer) game.observer->on_defeat(target);
  if (target.is_definite) {
    game.out() << format_text("The %s was defeated.\n", target.shown_name().c_str());
  } else {
    game.out() << format_text("The %s (%d) was defeated.\n", target.shown_name().c_str(), target.instance_number);
  }
  for (const std::string& line : target.kind->loot) roll_loot(game, line);
  enemies.erase(index);
  number_by_name(enemies.all(), index);
  game.out() << "\n";
}

}  // namespace

Outcome fight_command(GameState& game, const Words& words) {
  const long found = find_target(game, words);
  if (found < 0) return game.invalid_entry();
  const auto index = static_cast<std::size_t>(found);
  if (game.observer) game.observer->on_fight(game.current_area_state().live_enemies[index]);
  if (!weapon_ready(game)) return Outcome::turn();
  LiveEnemy& target = game.current_area_state().live_enemies[index];
  const Item* weapon = load_weapon_profile(game);
  // A grappled player cannot miss.
  if (!game.grappled && !game.rng.chance(game.weapon.hit_chance)) {
    game.out() << "Your attack missed.\n";
    return Outcome::turn();
  }
  if (weapon) apply_attribute_factors(game, *weapon, *target.kind);
  const std::int32_t damage = game.rng.range(game.weapon.min_damage, game.weapon.max_damage);
  target.health = lose_health(target.health, damage);
  game.out() << format_text("Your attack hit for %d damage.\n", damage);
  if (target.health <= 0) defeat(game, index);
  return Outcome::turn();
}

}  // namespace vesk
