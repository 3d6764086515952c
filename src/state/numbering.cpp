// Instance numbering of area items and live enemies.
#include "state/numbering.hpp"

#include <map>
#include <unordered_map>
#include <utility>

namespace vesk {

namespace {

template <typename Thing>
void number_from(std::span<Thing> things, std::size_t first) {
  std::unordered_map<std::string_view, std::int32_t> before;
  for (std::size_t i = 0; i < things.size(); ++i) {
    std::int32_t& seen = before[numbering_name(things[i])];
    if (i >= first) things[i].instance_number = seen + 1;
    ++seen;
  }
}

template <typename Thing>
std::int32_t count_named(std::span<const Thing> things, std::string_view name, std::int32_t spot) {
  std::int32_t count = 1;
  for (const Thing& thing : things) {
    if (numbering_name(thing) == name && (spot == kAnySpot || thing.spot == spot)) ++count;
  }
  return count;
}

template <typename Thing>
void number_spot(std::span<Thing> things, std::int32_t spot) {
  std::unordered_map<std::string_view, std::int32_t> earlier;
  for (Thing& thing : things) {
    std::int32_t& seen = earlier[numbering_name(thing)];
    thing.instance_number = thing.spot == spot ? seen + 1 : 1;
    ++seen;
  }
}

}  // namespace

void number_area_items(AreaItems& items, bool subdivided) {
  std::map<std::pair<std::string_view, std::int32_t>, std::int32_t> seen;
  for (ItemInstance& item : items) item.instance_number = ++seen[{item.name(), subdivided ? item.spot : 0}];
  items.set_numbered_in_order(!subdivided);
}

void number_by_name(AreaItems& items) {
  number_from(items.all(), 0);
  items.set_numbered_in_order(true);
}
void number_by_name(std::span<LiveEnemy> enemies, std::size_t first) { number_from(enemies, first); }

std::int32_t next_number(const AreaItems& items, std::string_view name, std::int32_t spot) {
  if (spot == kAnySpot) return items.count_named(name) + 1;
  return count_named(items.all(), name, spot);
}
std::int32_t next_number(const LiveEnemies& enemies, std::string_view name, std::int32_t spot) {
  if (spot == kAnySpot) return enemies.count_named(name) + 1;
  return count_named(enemies.all(), name, spot);
}

void number_on_spot(AreaItems& items, std::int32_t spot) {
  number_spot(items.all(), spot);
  items.set_numbered_in_order(false);
}
void number_on_spot(std::span<LiveEnemy> enemies, std::int32_t spot) { number_spot(enemies, spot); }

}  // namespace vesk
