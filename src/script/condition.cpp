// Conditions: weekday and hour windows, items held, comparisons of variables.
#include "script/condition.hpp"

#include "base/index.hpp"
#include "base/text.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace vesk {

namespace {

// "vi1" to "vi3" read the item variables of the current item; literal numbers
// stand for themselves; anything else is a variable name.
std::int32_t read_operand(GameState& game, const std::string& word) {
  if (starts_with(word, "vi")) {
    const Item* item = game.current_item_record();
    const std::int32_t n = to_int(std::string_view(word).substr(2));
    if (!item || !is_number_in(n, item->item_variables.size())) return 0;
    return item->item_variables[static_cast<std::size_t>(n - 1)];
  }
  return get_variable(game, word);
}

}  // namespace

bool evaluate_condition(GameState& game, const Words& words) {
  if (words.empty()) return false;
  const std::string& first = words[0];
  if (first == "tcw" || first == "tch") {
    if (words.size() < 3) return false;
    const std::int32_t low = to_int(words[1]);
    const std::int32_t high = to_int(words[2]);
    if (first == "tcw") return low <= game.listing.weekday && game.listing.weekday <= high;
    return low <= game.listing.hour && game.listing.hour < high;
  }
  if (words.back() == "held") {
    return game.inventory.holds(join_words(words, 0, static_cast<long>(words.size()) - 2));
  }
  if (words.size() < 3) return false;
  const std::int32_t a = read_operand(game, words[1]);
  const std::int32_t b = read_operand(game, words[2]);
  if (first == "=") return a == b;
  if (first == "+") return a > b;
  if (first == "-") return a < b;
  return false;
}

bool evaluate_condition(GameState& game, std::string_view condition) {
  return evaluate_condition(game, split_words(condition));
}

namespace {

// all_conditions_hold with every test told to the observer; apart, so that
// the unobserved loop stays as tight as it was. Kept out of line: tools alone
// take this path.
[[gnu::cold, gnu::noinline]] bool all_conditions_hold_observed(GameState& game, const Conditions& conditions) {
  for (const Condition& condition : conditions) {
    const bool holds = evaluate_condition(game, condition.words);
    notify_condition(game, condition.source, 0, condition.words, holds);
    if (!holds) return false;
  }
  return true;
}

}  // namespace

bool all_conditions_hold(GameState& game, const Conditions& conditions) {
  if (game.observer) return all_conditions_hold_observed(game, conditions);
  for (const Condition& condition : conditions) {
    if (!evaluate_condition(game, condition.words)) return false;
  }
  return true;
}

// Reading a condition's operands changes nothing, so reading them again after
// the test gives what the test read.
void notify_condition(GameState& game, const SourcePos& where, std::size_t index, const Words& words, bool holds) {
  ConditionValues read;
  if (!words.empty() && (words[0] == "tcw" || words[0] == "tch") && words.size() >= 3) {
    read.count = 1;
    read.values[0] = words[0] == "tcw" ? game.listing.weekday : game.listing.hour;
  } else if (!words.empty() && words.back() != "held" && words.size() >= 3) {
    read.count = 2;
    read.values = {read_operand(game, words[1]), read_operand(game, words[2])};
  }
  game.observer->on_condition(where, index, words, read, holds);
}

}  // namespace vesk
