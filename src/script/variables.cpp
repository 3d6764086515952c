// Game variables as scripts name them: named, ammunition, numbered and indirect variables.
#include "script/variables.hpp"

#include "state/game_state.hpp"

namespace vesk {

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

}  // namespace vesk
