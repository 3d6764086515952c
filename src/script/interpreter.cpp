// The action interpreter: messages, items, enemies, water, variables, arithmetic
// and number input.
#include "script/interpreter.hpp"

#include <cmath>
#include <limits>
#include <ostream>

#include "base/arith.hpp"
#include "base/index.hpp"
#include "base/text.hpp"
#include "content/numbering.hpp"
#include "script/expand.hpp"
#include "script/saved_game.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

// "msf F L": line L of message file F, for the next area view.
void queue_message_line(GameState& game, const Words& words) {
  if (words.size() < 3) return;
  const std::int32_t file = to_int(words[1]);
  const std::int32_t line = get_variable(game, words[2]);
  const Lines* lines = nth(game.world.messages, file);
  if (!lines) return;
  if (const std::string* text = nth(*lines, line)) add_pending_message(game, *text);
}

// ". W A": A rounds of ammunition for the weapon named W (one word only).
void give_ammo(GameState& game, const Words& words) {
  if (words.size() < 3) return;
  const long index = game.world.find_ammo(words[1]);
  if (index < 0) return;
  AmmoEntry& entry = game.world.ammo[static_cast<std::size_t>(index)];
  entry.count = wrap_add(entry.count, to_int(words[2]));
  game.out << format_text("Obtained %s ammo for %s.\n", words[2].c_str(), words[1].c_str());
}

void give_item(GameState& game, const Words& words) {
  const std::string name = words_from(words, 1);
  const Item* item = game.world.find_item(name);
  if (!item) return;
  game.inventory.add(*item, 1);
  game.out << format_text("Obtained %s.\n", name.c_str());
}

void take_item(GameState& game, const Words& words) { game.inventory.remove(words_from(words, 1)); }

// "nk V prompt...": asks for a number and writes it to V; anything that is not
// a number reads 0, and so does the end of the input.
void ask_number(GameState& game, const Words& words) {
  if (words.size() < 2) return;
  const std::string prompt = expand_text(game, words_from(words, 2));
  game.out << prompt << " (number)> " << std::flush;
  std::string answer;
  game.read_line(answer);
  set_variable(game, words[1], to_int(answer));
}

// The second operand of an arithmetic command: a literal, "xN" (a random number
// 0 to N-1, drawn now), or a variable. False for "x" with no number or 0,
// which names no range: the command then does nothing.
bool read_second_operand(GameState& game, const std::string& word, std::int32_t& value) {
  if (is_integer_text(word)) {
    value = to_int(word);
  } else if (starts_with(word, "x")) {
    const std::int32_t range = to_int(std::string_view(word).substr(1));
    if (range == 0) return false;
    value = game.rng.mod(range);
  } else {
    value = get_variable(game, word);
  }
  return true;
}

// The arithmetic commands. False when the result is not defined (division by
// 0, a power outside 32 bits), which leaves the variable as it is.
bool calculate(const std::string& op, std::int32_t a, std::int32_t x, std::int32_t& result) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  if (op == "a") {
    result = wrap_add(a, x);
  } else if (op == "d") {
    result = wrap_sub(a, x);
  } else if (op == "m") {
    result = wrap_mul(a, x);
  } else if (op == "p") {
    if (x == 0) return false;
    result = (a == kMin && x == -1) ? kMin : a / x;
  } else if (op == "%") {
    if (x == 0) return false;
    result = x == -1 ? 0 : a % x;
  } else if (op == "pow") {
    const double power = std::trunc(std::pow(static_cast<double>(a), static_cast<double>(x)));
    if (!std::isfinite(power) || power < kMin || power > std::numeric_limits<std::int32_t>::max()) return false;
    result = static_cast<std::int32_t>(power);
  } else if (op == "s") {
    result = x;
  } else {
    return false;
  }
  return true;
}

// "sqr V", and "OP V X" for the arithmetic commands. Both operands are read
// before the command word is looked at, so even an unknown command grows the
// variable tables or draws a number as its operands say.
void run_arithmetic(GameState& game, const Words& words) {
  if (words.size() < 2) return;
  const std::string& op = words[0];
  const std::int32_t a = get_variable(game, words[1]);
  if (op == "sqr") {
    if (a >= 0) set_variable(game, words[1], static_cast<std::int32_t>(std::floor(std::sqrt(static_cast<double>(a)))));
    return;
  }
  if (words.size() < 3) return;
  std::int32_t x = 0;
  std::int32_t result = 0;
  if (read_second_operand(game, words[2], x) && calculate(op, a, x, result)) set_variable(game, words[1], result);
}

}  // namespace

void place_enemy(GameState& game, std::string_view name, bool definite) {
  const Enemy* found = game.world.find_enemy(name);
  if (!found) return;
  Area& area = game.current_area();
  if (area.live_enemies.size() >= kMaxLiveEnemies) return;
  Enemy enemy = *found;
  // Numbered after every enemy of its display name in the area, wherever they stand.
  enemy.instance_number = next_number(area.live_enemies, enemy.shown_name);
  enemy.is_persistent = true;
  if (definite) enemy.is_definite = true;
  // In a subdivided area it stands where the player stands, so it can be seen
  // and fought.
  if (area.is_subdivided) enemy.spot = game.vars.spot;
  area.live_enemies.push_back(std::move(enemy));
}

void execute_command(GameState& game, const Words& words) {
  if (words.empty()) return;
  const std::string& word = words[0];
  if (word == "terminate") {
    game.game_over = true;
  } else if (word == "msf") {
    queue_message_line(game, words);
  } else if (word == "msg") {
    game.out << expand_text(game, words_from(words, 1)) << "\n";
  } else if (word == ";" || word == ",") {
    place_enemy(game, words_from(words, 1), word == ";");
  } else if (word == ".") {
    give_ammo(game, words);
  } else if (word == ":") {
    add_pending_message(game, words_from(words, 1));
  } else if (word == "_") {
    give_item(game, words);
  } else if (word == "swim") {
    game.current_water_level = 1;
  } else if (word == "wtr") {
    game.current_water_level = 2;
  } else if (word == "n") {
    take_item(game, words);
  } else if (word == "ld") {
    load_game(game);
  } else if (word == "sv") {
    save_game(game);
  } else if (word == "d1t") {
    game.vars.fading_damage_cause = cut(words_from(words, 1), kDamageCauseCapacity);
  } else if (word == "d2t") {
    game.vars.steady_damage_cause = cut(words_from(words, 1), kDamageCauseCapacity);
  } else if (word == "s" && words.size() >= 2 && starts_with(words[1], "s") && words[1] != "steps") {
    set_string_variable(game, words[1], expand_text(game, words_from(words, 2)));
  } else if (word == "nk") {
    ask_number(game, words);
  } else {
    run_arithmetic(game, words);
  }
}

void execute_command(GameState& game, std::string_view command) { execute_command(game, split_words(command)); }

}  // namespace vesk
