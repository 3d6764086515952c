// Instance numbering of area items and live enemies.
#include "content/numbering.hpp"

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

void number_area_items(std::vector<Item>& items, bool subdivided) {
  const auto key = [subdivided](const Item& item) {
    return std::pair<std::string_view, std::int32_t>{item.name, subdivided ? item.spot : 0};
  };
  // Most areas hold a few items, and looking back over a few costs less than
  // making a map.
  constexpr std::size_t kFewItems = 16;
  if (items.size() <= kFewItems) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      std::int32_t number = 1;
      for (std::size_t j = 0; j < i; ++j) number += key(items[j]) == key(items[i]) ? 1 : 0;
      items[i].instance_number = number;
    }
    return;
  }
  std::map<std::pair<std::string_view, std::int32_t>, std::int32_t> seen;
  for (Item& item : items) item.instance_number = ++seen[key(item)];
}

void number_by_name(std::vector<Item>& items, std::size_t first) { number_from(std::span<Item>(items), first); }
void number_by_name(std::span<Enemy> enemies, std::size_t first) { number_from(enemies, first); }

std::int32_t next_number(const std::vector<Item>& items, std::string_view name, std::int32_t spot) {
  return count_named(std::span<const Item>(items), name, spot);
}
std::int32_t next_number(const LiveEnemies& enemies, std::string_view name, std::int32_t spot) {
  if (spot == kAnySpot) return enemies.count_named(name) + 1;
  return count_named(enemies.all(), name, spot);
}

void number_on_spot(std::vector<Item>& items, std::int32_t spot) { number_spot(std::span<Item>(items), spot); }
void number_on_spot(std::span<Enemy> enemies, std::int32_t spot) { number_spot(enemies, spot); }

}  // namespace vesk
