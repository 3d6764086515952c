// The action interpreter: messages, items, enemies, water, variables, arithmetic
// and number input.
#include "script/interpreter.hpp"

#include <cmath>
#include <limits>
#include <ostream>

#include "base/arith.hpp"
#include "base/index.hpp"
#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "script/expand.hpp"
#include "script/saved_game.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"
#include "state/numbering.hpp"

namespace vesk {

namespace {

using Op = ScriptCommand::Op;

// "msf F L": line L of message file F, for the next area view.
void queue_message_line(GameState& game, const ScriptCommand& command) {
  const std::int32_t line = get_variable(game, command.target);
  const TextLines* lines = nth(game.world().messages, command.number);
  if (lines && is_number_in(line, lines->size())) {
    add_pending_message(game, (*lines)[static_cast<std::size_t>(line - 1)]);
  }
}

// ". W A": A rounds of ammunition for the weapon named W (one word only).
void give_ammo(GameState& game, const ScriptCommand& command) {
  const long index = game.world().find_ammo(command.name);
  if (index < 0) return;
  std::int32_t& count = game.ammo[static_cast<std::size_t>(index)];
  count = wrap_add(count, command.number);
  game.out() << "Obtained " << command.text << " ammo for " << command.name << ".\n";
}

void give_item(GameState& game, std::string_view name) {
  const Item* item = game.world().find_item(name);
  if (!item) return;
  game.inventory.add(*item, 1);
  game.out() << "Obtained " << name << ".\n";
}

// "nk V prompt...": asks for a number and writes it to V; anything that is not
// a number reads 0, and so does the end of the input.
void ask_number(GameState& game, const ScriptCommand& command) {
  const std::string prompt = expand_text(game, command.text);
  game.out() << prompt << " (number)> " << std::flush;
  std::string answer;
  game.read_line(answer);
  set_variable(game, command.target, to_int(answer));
}

// The second operand of an arithmetic command: a literal, "xN" (a random number
// 0 to N-1, drawn now), or a variable. False for "x" with no number or 0,
// which names no range: the command then does nothing.
bool read_second_operand(GameState& game, const Operand& operand, std::int32_t& value) {
  if (operand.kind == Operand::Kind::kRandom) {
    if (operand.number == 0) return false;
    value = game.rng.mod(operand.number);
  } else {
    value = get_variable(game, operand);
  }
  return true;
}

// The arithmetic commands. False when the result is not defined (division by
// 0, a power outside 32 bits), which leaves the variable as it is.
bool calculate(Op op, std::int32_t a, std::int32_t x, std::int32_t& result) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  switch (op) {
    case Op::kAdd:
      result = wrap_add(a, x);
      return true;
    case Op::kSubtract:
      result = wrap_sub(a, x);
      return true;
    case Op::kMultiply:
      result = wrap_mul(a, x);
      return true;
    case Op::kDivide:
      if (x == 0) return false;
      result = (a == kMin && x == -1) ? kMin : a / x;
      return true;
    case Op::kRemainder:
      if (x == 0) return false;
      result = x == -1 ? 0 : a % x;
      return true;
    case Op::kPower: {
      const double power = std::trunc(std::pow(static_cast<double>(a), static_cast<double>(x)));
      if (!std::isfinite(power) || power < kMin || power > std::numeric_limits<std::int32_t>::max()) return false;
      result = static_cast<std::int32_t>(power);
      return true;
    }
    case Op::kSet:
      result = x;
      return true;
    default:
      return false;
  }
}

// "sqr V", and "OP V X" for the arithmetic commands. Both operands are read
// before the command word is looked at, so even an unknown command grows the
// variable tables or draws a number as its operands say.
void run_arithmetic(GameState& game, const ScriptCommand& command) {
  const std::int32_t a = get_variable(game, command.target);
  if (command.op == Op::kSquareRoot) {
    if (a >= 0) {
      set_variable(game, command.target, static_cast<std::int32_t>(std::floor(std::sqrt(static_cast<double>(a)))));
    }
    return;
  }
  if (command.op == Op::kReadOnly) return;
  std::int32_t x = 0;
  std::int32_t result = 0;
  if (read_second_operand(game, command.value, x) && calculate(command.op, a, x, result)) {
    set_variable(game, command.target, result);
  }
}

}  // namespace

void place_enemy(GameState& game, std::string_view name, bool definite) {
  const Enemy* found = game.world().find_enemy(name);
  if (!found) return;
  AreaState& here = game.current_area_state();
  if (here.live_enemies.size() >= kMaxLiveEnemies) return;
  LiveEnemy enemy = LiveEnemy::of(*found);
  // Numbered after every enemy of its display name in the area, wherever they stand.
  enemy.instance_number = next_number(here.live_enemies, enemy.shown_name());
  enemy.is_persistent = true;
  enemy.is_definite = definite;
  // In a subdivided area it stands where the player stands, so it can be seen
  // and fought.
  if (game.current_area().is_subdivided) enemy.spot = game.vars.spot;
  here.live_enemies.push_back(enemy);
}

namespace {

// The commands that are no arithmetic.
void run_other_command(GameState& game, const ScriptCommand& command) {
  switch (command.op) {
    case Op::kNothing:
      break;
    case Op::kTerminate:
      game.game_over = true;
      break;
    case Op::kMessageLine:
      queue_message_line(game, command);
      break;
    case Op::kPrint:
      game.out() << expand_text(game, command.text) << "\n";
      break;
    case Op::kPlaceUnique:
    case Op::kPlace:
      place_enemy(game, command.text, command.op == Op::kPlaceUnique);
      break;
    case Op::kGiveAmmo:
      give_ammo(game, command);
      break;
    case Op::kQueueMessage:
      add_pending_message(game, command.text);
      break;
    case Op::kGiveItem:
      give_item(game, command.text);
      break;
    case Op::kSwim:
      game.current_water_level = 1;
      break;
    case Op::kDive:
      game.current_water_level = 2;
      break;
    case Op::kTakeItem:
      game.inventory.remove(command.text);
      break;
    case Op::kLoad:
      load_game(game);
      break;
    case Op::kSave:
      save_game(game);
      break;
    case Op::kFadingCause:
      game.vars.fading_damage_cause = cut(command.text, kDamageCauseCapacity);
      break;
    case Op::kSteadyCause:
      game.vars.steady_damage_cause = cut(command.text, kDamageCauseCapacity);
      break;
    case Op::kSetString: {
      const std::string text = expand_text(game, command.text);
      if (std::string* variable = game.vars.string_variable(command.number)) {
        *variable = cut(text, kStringVariableCapacity);
      }
      break;
    }
    case Op::kAskNumber:
      ask_number(game, command);
      break;
    default:
      break;
  }
}

}  // namespace

void execute_command(GameState& game, const ScriptCommand& command) {
  // Arithmetic, the work of loops, comes last in the list of operations and
  // takes the short way here.
  if (command.op >= Op::kSquareRoot) {
    run_arithmetic(game, command);
  } else {
    run_other_command(game, command);
  }
}

}  // namespace vesk
