// Game variables by name: named, ammunition, numbered, indirect and string variables.
#include "script/variables.hpp"

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

// "a_long_bow" is the ammunition count of the weapon named "long bow".
std::int32_t* ammo_variable(GameState& game, std::string_view name) {
  const std::string weapon = replace_char(cut(name.substr(2), kAmmoNameCapacity), '_', ' ');
  const long index = game.world().find_ammo(weapon);
  return index < 0 ? nullptr : &game.ammo[static_cast<std::size_t>(index)];
}

// "vvN" names the numbered variable whose number variable "vN" holds; so does
// "vvvN" through one more step.
std::int32_t* indirect_or_numbered_variable(GameState& game, std::string_view name) {
  if (starts_with(name, "vv")) return game.vars.numbered_variable(get_variable(game, name.substr(1)));
  return game.vars.numbered_variable(to_int(name.substr(1)));
}

}  // namespace

void set_variable(GameState& game, std::string_view name, std::int32_t value) {
  if (std::int32_t Variables::*field = named_field(name)) {
    // Only an existing area can become the current one.
    if (field == &Variables::area) {
      if (!game.is_area_number(value)) return;
      if (game.observer) game.observer->on_area_change(game.vars.area, value, AreaChange::kScript);
    }
    game.vars.*field = value;
  } else if (starts_with(name, "a_")) {
    if (std::int32_t* count = ammo_variable(game, name)) *count = value;
  } else if (starts_with(name, "v")) {
    if (std::int32_t* numbered = indirect_or_numbered_variable(game, name)) *numbered = value;
  }
}

std::int32_t get_variable(GameState& game, std::string_view name) {
  if (is_integer_text(name)) return to_int(name);
  if (std::int32_t Variables::*field = named_field(name)) return game.vars.*field;
  if (starts_with(name, "a_")) {
    const std::int32_t* count = ammo_variable(game, name);
    return count ? *count : 0;
  }
  if (starts_with(name, "v")) {
    const std::int32_t* numbered = indirect_or_numbered_variable(game, name);
    return numbered ? *numbered : 0;
  }
  return 0;
}

namespace {

std::int32_t read_numbered(Variables& vars, std::int32_t number) {
  const std::int32_t* numbered = vars.numbered_variable(number);
  return numbered ? *numbered : 0;
}

// The variable that a resolved name leads to, or nullptr for none.
std::int32_t* resolved_variable(GameState& game, const Operand& variable) {
  switch (variable.kind) {
    case Operand::Kind::kNamed:
      return &(game.vars.*kNamedVariables[static_cast<std::size_t>(variable.number)].field);
    case Operand::Kind::kNumbered:
      return game.vars.numbered_variable(variable.number);
    case Operand::Kind::kIndirect: {
      std::int32_t number = read_numbered(game.vars, variable.number);
      for (std::int32_t step = 1; step < variable.steps; ++step) number = read_numbered(game.vars, number);
      return game.vars.numbered_variable(number);
    }
    case Operand::Kind::kAmmo: {
      const long index = game.world().find_ammo(variable.weapon);
      return index < 0 ? nullptr : &game.ammo[static_cast<std::size_t>(index)];
    }
    case Operand::Kind::kNothing:
    case Operand::Kind::kLiteral:
    case Operand::Kind::kItemVariable:
    case Operand::Kind::kRandom:
      break;
  }
  return nullptr;
}

}  // namespace

void set_resolved_variable(GameState& game, const Operand& variable, std::int32_t value) {
  std::int32_t* target = resolved_variable(game, variable);
  if (!target) return;
  if (target == &game.vars.area) {
    // Only an existing area can become the current one.
    if (!game.is_area_number(value)) return;
    if (game.observer) game.observer->on_area_change(game.vars.area, value, AreaChange::kScript);
  }
  *target = value;
}

std::int32_t get_resolved_variable(GameState& game, const Operand& variable) {
  if (variable.kind == Operand::Kind::kLiteral) return variable.number;
  const std::int32_t* source = resolved_variable(game, variable);
  return source ? *source : 0;
}

namespace {

std::string* string_variable(GameState& game, std::string_view name) {
  return starts_with(name, "s") ? game.vars.string_variable(to_int(name.substr(1))) : nullptr;
}

}  // namespace

void set_string_variable(GameState& game, std::string_view name, std::string_view text) {
  if (std::string* variable = string_variable(game, name)) *variable = cut(text, kStringVariableCapacity);
}

const std::string& get_string_variable(GameState& game, std::string_view name) {
  static const std::string kEmpty;
  const std::string* variable = string_variable(game, name);
  return variable ? *variable : kEmpty;
}

}  // namespace vesk
