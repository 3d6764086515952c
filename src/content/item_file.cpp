// Item files: the name on the first line, then keyword lines that make the item
// a weapon, a lamp, armour or an air supply and give it attributes and use scripts.
#include "base/text.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

// Applies the first keyword that `line` begins with. Every line of the file is
// tested, the name line too, so a name such as "airship ticket" supplies air.
void apply_item_keyword(Item& item, Lines& attributes, Script& use_scripts, const std::string& line) {
  if (starts_with(line, "lamp")) {
    item.is_lamp = true;
  } else if (starts_with(line, "def")) {
    item.is_definite = true;
  } else if (starts_with(line, "weapon")) {
    // The last three words are the damage range and the hit chance; a line
    // without three words after the keyword is no weapon line.
    const Words words = split_words(line);
    const std::size_t w = words.size();
    if (w < 4) return;
    item.is_weapon = true;
    item.min_damage = to_int(words[w - 3]);
    item.max_damage = to_int(words[w - 2]);
    item.hit_chance = to_int(words[w - 1]);
  } else if (starts_with(line, "wtr")) {
    item.water_use = 1;
  } else if (starts_with(line, "both")) {
    item.water_use = 2;
  } else if (starts_with(line, "air")) {
    item.supplies_air = true;
  } else if (starts_with(line, "attr ")) {
    const Words words = split_words(line);
    attributes.push_back(cut(words_from(words, 1), kAttributeCapacity));
  } else if (starts_with(line, "melee")) {
    item.is_melee = true;
  } else if (starts_with(line, "a_")) {
    item.ammo_capacity = to_int(std::string_view(line).substr(2));
  } else if (starts_with(line, "d ")) {
    const Words words = split_words(line);
    use_scripts.push_back(parse_use_script_line(words_from(words, 1)));
  } else if (starts_with(line, "armor")) {
    item.is_armor = true;
  }
}

}  // namespace

Item parse_item(const Lines& lines) {
  Item item;
  if (!lines.empty() && !lines.front().empty()) {
    // The name is the first line less its last character, normally the line feed.
    const std::string& first = lines.front();
    item.name = cut(std::string_view(first).substr(0, first.size() - 1), kItemNameCapacity);
  }
  Lines attributes;
  Script use_scripts;
  for (const std::string& line : lines) apply_item_keyword(item, attributes, use_scripts, line);
  item.attributes = std::move(attributes);
  item.use_scripts = std::move(use_scripts);
  return item;
}

}  // namespace vesk
