// The checker's look at the world as a whole: which areas and spots the
// player can reach and leave, and what the game lacks that its areas need.
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

void check_world(Context& ctx) {
  const World& world = ctx.world;
  const std::size_t count = std::min(world.area_count(), ctx.rec.areas.size());

  // Where each area leads: paths, exits to other areas, constant "ca" writes.
  std::vector<std::vector<std::size_t>> leads(count);
  for (std::size_t a = 0; a < count; ++a) {
    const Area& area = world.area(a);
    auto lead = [&](std::int64_t number) {
      if (is_number_in(number, count) && static_cast<std::size_t>(number - 1) != a) {
        leads[a].push_back(static_cast<std::size_t>(number - 1));
      }
    };
    // A subdivided area is left by its spot exits; its paths are never offered.
    if (!area.is_subdivided) {
      for (const Path& path : area.paths) lead(path.target_area);
    } else {
      for_each_row(area, [&](std::int32_t, const SpotExits& exits) {
        for (const std::int32_t exit : exits) {
          if (exit < 0) lead(-std::int64_t{exit});
        }
      });
    }
    if (a < ctx.area_facts.size()) {
      for (const auto& [target, piece] : ctx.area_facts[a].area_writes) lead(target);
    }
  }
  if (!ctx.unknown_area_writes && count > 0) {
    std::vector<bool> reached(count, false);
    std::deque<std::size_t> queue;
    auto reach = [&](std::size_t a) {
      if (a < count && !reached[a]) {
        reached[a] = true;
        queue.push_back(a);
      }
    };
    reach(0);
    for (std::int32_t target : ctx.use_area_writes) reach(static_cast<std::size_t>(target - 1));
    while (!queue.empty()) {
      const std::size_t a = queue.front();
      queue.pop_front();
      for (std::size_t next : leads[a]) reach(next);
    }
    for (std::size_t a = 0; a < count; ++a) {
      if (reached[a]) continue;
      ctx.add(ctx.rec.areas[a].file, 0, Check::kUnreachableArea,
              "nothing leads to area " + std::to_string(a + 1) +
                  " from area 1 (no path, no exit and no script's \"ca\"), so the player never gets here; add a way in "
                  "or remove the area");
    }
  }
  if (!ctx.use_scripts_change_area) {
    for (std::size_t a = 0; a < count; ++a) {
      if (!leads[a].empty() || (a < ctx.area_facts.size() && ctx.area_facts[a].may_leave)) continue;
      ctx.add(ctx.rec.areas[a].file, 0, Check::kDeadEnd,
              "area " + std::to_string(a + 1) +
                  " has no way out (no path, no exit and no script that moves the player or ends the game), so the "
                  "player is stuck here; add a path back");
    }
  }

  // A "held" test for an item that nothing gives is always false.
  for (const Area& area : world.all_areas()) {
    for (const PlacedItem& item : area.items) ctx.obtainable.insert(item.item->name);
  }
  for (const HeldTest& held : ctx.held_tests) {
    const std::string& name = held.item;
    if (!world.find_item(name)) {
      ctx.add(held.file, held.piece, Check::kUnknownItem,
              "no item is named " + quote_text(name) + ctx.item_hint(name) + ", so the \"held\" test is always false");
    } else if (!ctx.obtainable.count(name)) {
      ctx.add(held.file, held.piece, Check::kNeverObtainable,
              "the condition tests for " + quote_text(name) +
                  ", but no area holds it, no script gives it and no enemy leaves it, so it is always false; place it "
                  "with an \"item\" line, a \"_\" command or a loot line");
    }
  }

  bool lamp = false;
  bool air = false;
  for (const Item& item : world.items) {
    if (!ctx.obtainable.count(item.name)) continue;
    lamp = lamp || item.is_lamp;
    air = air || item.supplies_air;
  }
  for (std::size_t a = 0; a < count; ++a) {
    const Area& area = world.area(a);
    const AreaTrace& trace = ctx.rec.areas[a];
    if (area.is_dark && !lamp) {
      ctx.add(trace.file, trace.dark.value_or(0), Check::kDarkNoLamp,
              "the area is dark, but the game has no lamp to be had (no area holds one, no script gives one, no enemy "
              "leaves one), so the player always moves here at random; place a lamp item");
    }
    if (area.water_level == 2 && !air) {
      ctx.add(trace.file, trace.water.value_or(0), Check::kWaterNoAir,
              "the area is under water, but the game has no air supply to be had, so the player loses air quickly "
              "here; place an item with an \"air\" line if long dives are meant");
    }
  }
}

}  // namespace vesk::kit
