// The checker's look at the loaded records: numbers, bounds and chances of
// items and enemies, the lines of each area, and its spot table.
#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <unordered_map>

#include "base/index.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/check_context.hpp"

namespace vesk::kit {

namespace {

std::string plural(std::size_t count, std::string_view word) {
  return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

void check_bounds(Context& ctx, std::size_t file, std::size_t piece, std::string_view what, std::int32_t low,
                  std::int32_t high, std::int32_t chance) {
  if (low > high) {
    ctx.add(file, piece, Check::kReversedBounds,
            "the " + std::string(what) + " runs from " + std::to_string(low) + " down to " + std::to_string(high) +
                "; write the lower number first");
  }
  if (chance <= 0) {
    ctx.add(file, piece, Check::kZeroChance,
            "the chance is " + std::to_string(chance) + " percent, so the " +
                std::string(what == "damage" ? "attack never hits" : "loot is never given") +
                "; write a chance from 1 to 100");
  }
}

void check_items(Context& ctx) {
  for (std::size_t i = 0; i < ctx.world.items.size() && i < ctx.rec.items.size(); ++i) {
    const Item& item = ctx.world.items[i];
    const ItemTrace& trace = ctx.rec.items[i];
    if (!item.is_weapon || !trace.weapon) continue;
    if (item.min_damage > item.max_damage) {
      ctx.add(trace.file, *trace.weapon, Check::kReversedBounds,
              "the damage runs from " + std::to_string(item.min_damage) + " down to " +
                  std::to_string(item.max_damage) + "; write the lower number first");
    }
    if (item.hit_chance <= 0) {
      ctx.add(trace.file, *trace.weapon, Check::kZeroChance,
              "the hit chance is " + std::to_string(item.hit_chance) +
                  " percent, so the weapon never hits; write a chance from 1 to 100");
    }
  }
}

// The items and ammunition that an enemy leaves: each name must match, and
// every item left can be had.
void check_loot(Context& ctx, const Enemy& enemy, const EnemyTrace& trace) {
  for (std::size_t k = 0; k < enemy.loot.size(); ++k) {
    const std::size_t piece = k < trace.loot.size() ? trace.loot[k] : 0;
    const Words words = split_words(enemy.loot[k]);
    const long w = word_count(words);
    if (w < 4 || words[0] == "m") continue;
    if (words[0] == "ammo") {
      const std::string weapon = join_words(words, 1, w - 4);
      if (ctx.world.find_ammo(weapon) < 0) {
        ctx.add(trace.file, piece, Check::kUnknownWeapon,
                "no weapon that fires ammunition is named " + quote_text(weapon) + ctx.weapon_hint(weapon) +
                    " (the loot line gives nothing)");
      }
      continue;
    }
    const std::string name = join_words(words, 0, w - 4);
    if (ctx.world.find_item(name)) {
      ctx.obtainable.insert(name);
    } else {
      ctx.add(trace.file, piece, Check::kUnknownItem,
              "no item is named " + quote_text(name) + ctx.item_hint(name) + " (the loot line gives nothing)");
    }
  }
}

void check_enemies(Context& ctx) {
  for (std::size_t e = 0; e < ctx.world.enemies.size() && e < ctx.rec.enemies.size(); ++e) {
    const Enemy& enemy = ctx.world.enemies[e];
    const EnemyTrace& trace = ctx.rec.enemies[e];
    check_loot(ctx, enemy, trace);
    if (enemy.attacks.empty()) {
      ctx.add(trace.file, 0, Check::kNoAttacks,
              "the enemy has no attack lines, so it never attacks; add lines such as \"bites you 1 4 60\" after the "
              "third line, ended by a blank line");
    }
    if (!enemy.name.empty() && enemy.shown_name.empty()) {
      ctx.add(trace.file, 0, Check::kEmptyDisplayName,
              "the name " + quote_text(enemy.name) +
                  " is only a number, and the game drops a last word that is a number when it shows an enemy, so "
                  "the player sees an empty name; put a word before the number");
    }
    for (std::size_t k = 0; k < enemy.attacks.size(); ++k) {
      const Attack& attack = enemy.attacks[k];
      const std::size_t piece = k < trace.attacks.size() ? trace.attacks[k] : 0;
      // A loot line read as an attack: money, ammunition or an item's name
      // before the three numbers.
      const bool loot_shaped = attack.text == "m" || starts_with(attack.text, "ammo ") ||
                               (!attack.text.empty() && ctx.world.find_item(attack.text));
      if (loot_shaped) {
        ctx.add(trace.file, piece, Check::kLootInAttacks,
                "this line has the form of a loot line, but it stands among the attacks, so the enemy attacks with "
                "the text " +
                    quote_text(attack.text) +
                    " and the line after the next blank line is read as loot; a missing blank line before the loot?");
      }
      check_bounds(ctx, trace.file, piece, "damage", attack.min_damage, attack.max_damage, attack.hit_chance);
    }
    for (std::size_t k = 0; k < enemy.loot.size(); ++k) {
      const Words words = split_words(enemy.loot[k]);
      const long w = word_count(words);
      if (w < 4) continue;
      const std::size_t piece = k < trace.loot.size() ? trace.loot[k] : 0;
      check_bounds(ctx, trace.file, piece, "amount", to_int(words[static_cast<std::size_t>(w - 3)]),
                   to_int(words[static_cast<std::size_t>(w - 2)]), to_int(words[static_cast<std::size_t>(w - 1)]));
    }
  }
}

// The spots first, first + step, ... below end that exist in an area of
// `spots` spots, as the enemy turn decides them: with a step of 0 or below
// only the first spot. Returns whether any spot is in the range and whether
// the range goes past the last spot.
struct RangeReach {
  bool any = false;
  bool beyond = false;
};

RangeReach range_reach(std::int64_t first, std::int64_t end, std::int64_t step, std::int64_t spots) {
  // The end spot is never in the range; a step of 0 or below holds the first
  // spot alone, so it too needs the first spot below the end.
  if (end <= first) return {};
  if (step <= 0) return {first >= 1 && first <= spots, first > spots};
  const std::int64_t last = first + (end - 1 - first) / step * step;
  std::int64_t lowest = first;
  if (lowest < 1) lowest = first + (1 - first + step - 1) / step * step;
  return {lowest <= last && lowest <= spots, last > spots};
}

void check_area_records(Context& ctx, std::size_t a) {
  const Area& area = ctx.world.area(a);
  const AreaTrace& trace = ctx.rec.areas[a];
  const std::size_t f = trace.file;
  const std::size_t count = ctx.world.area_count();
  for (std::size_t p = 0; p < area.paths.size(); ++p) {
    const Path& path = area.paths[p];
    if (is_number_in(path.target_area, count)) continue;
    const std::size_t piece = p < trace.paths.size() ? trace.paths[p] : 0;
    const Words words = split_words(ctx.piece_text(f, piece));
    const bool written =
        words.size() >= 2 && is_integer_text(words[words.size() - 2]) && !words[words.size() - 2].empty();
    ctx.add(f, piece, Check::kBadArea,
            "the path leads to area " + std::to_string(path.target_area) + ", but the areas are numbered 1 to " +
                std::to_string(count) + ", so taking it goes nowhere" +
                (written ? std::string("; write an existing area number")
                         : std::string("; the last two words of a path line are the area number and the travel time "
                                       "(is a blank line missing or misplaced above?)")));
  }
  for (std::size_t k = 0; k < area.enemy_kinds.size(); ++k) {
    const std::size_t piece = k < trace.enemies.size() ? trace.enemies[k] : 0;
    if (area.enemy_kinds[k].chance <= 0) {
      ctx.add(f, piece, Check::kZeroChance,
              "the chance is " + std::to_string(area.enemy_kinds[k].chance) +
                  " percent, so the enemy never appears; write a chance from 1 to 100");
    }
  }
  if (!area.is_subdivided) return;
  const std::size_t m2 = trace.m2.value_or(0);
  const std::int32_t spots = area.spot_count;
  auto before_m2 = [&](const std::vector<std::size_t>& pieces, std::size_t k, std::string_view what,
                       std::string_view effect) {
    if (k >= pieces.size() || pieces[k] >= m2) return false;
    ctx.add(f, pieces[k], Check::kBeforeM2,
            "the " + std::string(what) + " line comes before the \"m2\" line, so it is read without a spot and " +
                std::string(effect) + "; move it below the spot rows and give it a spot");
    return true;
  };
  for (std::size_t k = 0; k < area.items.size(); ++k) {
    if (before_m2(trace.items, k, "item", "the item lies where nobody stands")) continue;
    if (area.items[k].spot > spots && k < trace.items.size()) {
      ctx.add(f, trace.items[k], Check::kBadSpot,
              "the item lies on spot " + std::to_string(area.items[k].spot) + ", but the area has " +
                  plural(static_cast<std::size_t>(spots), "spot") + ", so nobody can find it");
    }
  }
  for (std::size_t k = 0; k < area.ammo_piles.size(); ++k) {
    if (before_m2(trace.ammo, k, "ammo", "the ammunition lies where nobody stands")) continue;
    if (area.ammo_piles[k].spot > spots && k < trace.ammo.size()) {
      ctx.add(f, trace.ammo[k], Check::kBadSpot,
              "the ammunition lies on spot " + std::to_string(area.ammo_piles[k].spot) + ", but the area has " +
                  plural(static_cast<std::size_t>(spots), "spot") + ", so nobody can find it");
    }
  }
  for (std::size_t k = 0; k < area.enemy_kinds.size(); ++k) {
    if (before_m2(trace.enemies, k, "enemy", "the enemy never appears")) continue;
    if (k >= trace.enemies.size()) continue;
    const EnemyKind& kind = area.enemy_kinds[k];
    const RangeReach reach = range_reach(kind.first_spot, kind.end_spot, kind.spot_step, spots);
    const std::string range = "the range from spot " + std::to_string(kind.first_spot) + " below " +
                              std::to_string(kind.end_spot) + " in steps of " + std::to_string(kind.spot_step);
    if (!reach.any) {
      ctx.add(f, trace.enemies[k], Check::kEnemyNowhere,
              range + " holds none of the area's " + plural(static_cast<std::size_t>(spots), "spot") +
                  ", so the enemy never appears; the end spot is not in the range, and a step of 0 or below holds "
                  "the first spot alone, and only when it is below the end");
    } else if (reach.beyond) {
      ctx.add(f, trace.enemies[k], Check::kEnemyRange,
              range + " goes past the area's last spot (" + std::to_string(spots) + "); end it at " +
                  std::to_string(spots + 1) + " or below");
    }
  }
  // Spot rows: numbers skipped leave spots without exits.
  std::int32_t previous = 0;
  for (const auto& [spot, piece] : trace.rows) {
    if (spot > previous + 1) {
      ctx.add(f, piece, Check::kSpotRowOrder,
              "the rows skip from spot " + std::to_string(previous) + " to spot " + std::to_string(spot) + ", so " +
                  (spot == previous + 2
                       ? "spot " + std::to_string(previous + 1) + " has"
                       : "spots " + std::to_string(previous + 1) + " to " + std::to_string(spot - 1) + " have") +
                  " no exits; write a row for every spot");
    }
    previous = spot;
  }
}

std::string spot_range(std::int64_t first, std::int64_t last) {
  return first == last ? "spot " + std::to_string(first)
                       : "spots " + std::to_string(first) + " to " + std::to_string(last);
}

void check_spots(Context& ctx, std::size_t a) {
  const Area& area = ctx.world.area(a);
  const AreaTrace& trace = ctx.rec.areas[a];
  if (!area.is_subdivided || area.spot_count < 1) return;
  const std::size_t f = trace.file;
  const auto spots = static_cast<std::size_t>(area.spot_count);
  // The piece of each spot's row, and for a spot without a row the piece of
  // the next row written (where the skip shows), else the "m2" line.
  std::map<std::int32_t, std::size_t> row_pieces;
  for (const auto& [number, where] : trace.rows) {
    if (is_number_in(number, spots)) row_pieces[number] = where;
  }
  auto piece_of = [&](std::int64_t spot) {
    const auto next = row_pieces.lower_bound(static_cast<std::int32_t>(spot));
    return next == row_pieces.end() ? trace.m2.value_or(0) : next->second;
  };
  const std::size_t count = ctx.world.area_count();
  // Exits that lead nowhere.
  for_each_row(area, [&](std::int32_t s, const SpotExits& exits) {
    for (std::int32_t d = 0; d < 4; ++d) {
      const std::int32_t exit = exits[static_cast<std::size_t>(d)];
      if (exit > 0 && exit > area.spot_count) {
        ctx.add(f, piece_of(s), Check::kBadSpot,
                "spot " + std::to_string(s) + " leads in direction " + std::to_string(d) + " to spot " +
                    std::to_string(exit) + ", but the area has " + plural(spots, "spot") +
                    ", so the exit goes nowhere; write an existing spot, or minus an area number to leave");
      } else if (exit < 0 && !is_number_in(-std::int64_t{exit}, count)) {
        ctx.add(f, piece_of(s), Check::kBadArea,
                "spot " + std::to_string(s) + " leads in direction " + std::to_string(d) + " out to area " +
                    std::to_string(-std::int64_t{exit}) + ", but the areas are numbered 1 to " + std::to_string(count) +
                    ", so the exit goes nowhere");
      }
    }
  });
  // Entries: spot 1 (where the player stands when no spot leads back to the
  // area left), the first spot with an exit to each area, and spots that the
  // area's scripts put the player on.
  std::set<std::int32_t> reached;
  std::deque<std::int32_t> queue;
  auto reach = [&](std::int64_t spot) {
    if (!is_number_in(spot, spots) || !reached.insert(static_cast<std::int32_t>(spot)).second) return;
    queue.push_back(static_cast<std::int32_t>(spot));
  };
  reach(1);
  std::set<std::int32_t> entry_found;
  for_each_row(area, [&](std::int32_t s, const SpotExits& exits) {
    for (const std::int32_t exit : exits) {
      if (exit < 0 && entry_found.insert(exit).second) reach(s);
    }
  });
  if (a < ctx.area_facts.size()) {
    for (std::int32_t spot : ctx.area_facts[a].spot_writes) reach(spot);
  }
  while (!queue.empty()) {
    const std::int32_t s = queue.front();
    queue.pop_front();
    for (std::int32_t d = 0; d < 4; ++d) reach(area.exit_of(s, d));
  }
  // The spots never reached, as runs between the spots reached: one finding
  // for each run, so that a billion spots without rows make one line.
  std::int64_t from = 1;
  auto report_run = [&](std::int64_t last) {
    if (from > last) return;
    ctx.add(f, piece_of(from), Check::kUnreachableSpot,
            "no entry and no exit reaches " + spot_range(from, last) + ", so the player can never stand " +
                (from == last ? "there" : "on them") + "; give another spot an exit to " +
                (from == last ? "it" : "them"));
  };
  for (const std::int32_t spot : reached) {
    report_run(std::int64_t{spot} - 1);
    from = std::int64_t{spot} + 1;
  }
  report_run(area.spot_count);
  // One-way exits.
  for_each_row(area, [&](std::int32_t s, const SpotExits& exits) {
    for (const std::int32_t to : exits) {
      if (to < 1 || to > area.spot_count || to == s) continue;
      bool back = false;
      for (std::int32_t b = 0; b < 4; ++b) back = back || area.exit_of(to, b) == s;
      if (!back) {
        ctx.add(f, piece_of(s), Check::kOneWayExit,
                "spot " + std::to_string(s) + " leads to spot " + std::to_string(to) + ", but spot " +
                    std::to_string(to) + " has no exit back; add one if the way is meant to go both ways");
      }
    }
  });
}

}  // namespace

void check_records(Context& ctx) {
  check_items(ctx);
  check_enemies(ctx);
  for (std::size_t a = 0; a < ctx.world.area_count() && a < ctx.rec.areas.size(); ++a) {
    check_area_records(ctx, a);
    check_spots(ctx, a);
  }
}

}  // namespace vesk::kit
