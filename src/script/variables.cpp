// Game variables: named, ammunition, numbered, indirect and string variables.
#include "script/variables.hpp"

#include "content/text.hpp"
#include "core/game.hpp"

namespace vesk {

namespace {

// The named variables that are plain integers of the game state. "ca" is
// handled apart, since only existing area numbers may be written to it.
std::int32_t* named_variable(Game& game, std::string_view name) {
  Variables& v = game.vars;
  if (name == "game") return &v.game;
  if (name == "steps") return &v.steps;
  if (name == "htcw") return &v.htcw;
  if (name == "prev") return &v.prev;
  if (name == "a2") return &v.a2;
  if (name == "air") return &v.air;
  if (name == "air2") return &v.air2;
  if (name == "dt1") return &v.dt1;
  if (name == "dt2") return &v.dt2;
  if (name == "h") return &v.h;
  if (name == "m") return &v.m;
  return nullptr;
}

// "a_long_bow" is the ammunition count of the weapon named "long bow".
AmmoEntry* ammo_variable(Game& game, std::string_view name) {
  const std::string weapon = replace_char(cut(name.substr(2), kAmmoNameCapacity), '_', ' ');
  const long index = game.world.find_ammo(weapon);
  return index < 0 ? nullptr : &game.world.ammo[static_cast<std::size_t>(index)];
}

// "vvN" names the numbered variable whose number variable "vN" holds; so does
// "vvvN" through one more step.
std::int32_t* indirect_or_numbered_variable(Game& game, std::string_view name) {
  if (starts_with(name, "vv")) return numbered_variable(game, get_variable(game, name.substr(1)));
  return numbered_variable(game, to_int(name.substr(1)));
}

}  // namespace

std::int32_t* numbered_variable(Game& game, std::int32_t number) {
  if (number < 1 || number > kMaxNumberedVariables) return nullptr;
  std::vector<std::int32_t>& table = game.vars.numbered;
  if (table.size() < static_cast<std::size_t>(number)) table.resize(static_cast<std::size_t>(number), 0);
  return &table[static_cast<std::size_t>(number - 1)];
}

void set_variable(Game& game, std::string_view name, std::int32_t value) {
  if (std::int32_t* named = named_variable(game, name)) {
    *named = value;
  } else if (name == "ca") {
    if (value >= 1 && static_cast<std::size_t>(value) <= game.world.areas.size()) game.vars.ca = value;
  } else if (starts_with(name, "a_")) {
    if (AmmoEntry* entry = ammo_variable(game, name)) entry->count = value;
  } else if (starts_with(name, "v")) {
    if (std::int32_t* numbered = indirect_or_numbered_variable(game, name)) *numbered = value;
  }
}

std::int32_t get_variable(Game& game, std::string_view name) {
  if (is_integer_text(name)) return to_int(name);
  if (std::int32_t* named = named_variable(game, name)) return *named;
  if (name == "ca") return game.vars.ca;
  if (starts_with(name, "a_")) {
    const AmmoEntry* entry = ammo_variable(game, name);
    return entry ? entry->count : 0;
  }
  if (starts_with(name, "v")) {
    const std::int32_t* numbered = indirect_or_numbered_variable(game, name);
    return numbered ? *numbered : 0;
  }
  return 0;
}

namespace {

std::string* string_variable(Game& game, std::string_view name) {
  if (!starts_with(name, "s")) return nullptr;
  const std::int32_t number = to_int(name.substr(1));
  if (number < 1 || number > kMaxStringVariables) return nullptr;
  std::vector<std::string>& table = game.vars.strings;
  if (table.size() < static_cast<std::size_t>(number)) table.resize(static_cast<std::size_t>(number));
  return &table[static_cast<std::size_t>(number - 1)];
}

}  // namespace

void set_string_variable(Game& game, std::string_view name, std::string_view text) {
  if (std::string* variable = string_variable(game, name)) *variable = cut(text, kStringVariableCapacity);
}

const std::string& get_string_variable(Game& game, std::string_view name) {
  static const std::string kEmpty;
  const std::string* variable = string_variable(game, name);
  return variable ? *variable : kEmpty;
}

}  // namespace vesk
