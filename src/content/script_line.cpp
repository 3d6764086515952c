// The script-line format: a condition count, conditions of three words each and
// a command, split and worked out once when a game loads.
#include <algorithm>
#include <utility>

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/records.hpp"

namespace vesk {

namespace {

// The number of conditions of a guarded line, -1 when it does not fit the line.
std::int32_t condition_count(const WordViews& words) {
  const std::int32_t count = words.empty() ? 0 : to_int(words[0]);
  return count < 0 || 1 + 3 * std::int64_t{count} > word_count(words) ? -1 : count;
}

// Hands the words of a guarded line's conditions to `take_condition`, then
// those of its command to `take_command` when it has one: each part is its
// words joined with single spaces and split again, exactly as running the
// joined text would split it. False when the condition count does not fit the
// line.
template <typename TakeCondition, typename TakeCommand>
bool for_guarded_words(const WordViews& words, bool with_command, TakeCondition take_condition,
                       TakeCommand take_command) {
  const std::int32_t count = condition_count(words);
  if (count < 0) return false;
  const auto take = [&](long first, long last, auto& taker) {
    const std::string part = join_words(words, first, last);
    taker(word_views(part));
  };
  for (long k = 0; k < count; ++k) take(3 * k + 1, 3 * k + 3, take_condition);
  if (with_command) take(3 * long{count} + 1, word_count(words) - 1, take_command);
  return true;
}

bool split_guarded_line(const WordViews& words, ScriptLine& line, bool with_command) {
  line.count_loose = !words.empty() && !is_whole_number(words[0]);
  line.conditions.reserve(static_cast<std::size_t>(std::max(0, condition_count(words))));
  return for_guarded_words(
      words, with_command, [&](const WordViews& part) { line.conditions.push_back(compile_condition(part)); },
      [&](const WordViews& part) { line.command = compile_command(part); });
}

}  // namespace

Condition parse_condition(std::string text) {
  Condition condition{{}, compile_condition(word_views(text)), {}};
  condition.text = std::move(text);
  return condition;
}

ScriptLine parse_script_line(std::string text) {
  ScriptLine line;
  const WordViews words = word_views(text);
  const long w = word_count(words);
  if (w >= 2) {
    const std::string_view marker = words[static_cast<std::size_t>(w - 2)];
    if (marker == "repetition") {
      line.kind = ScriptLine::Kind::kLabel;
      line.label = words.back();
    } else if (marker == "repeat") {
      if (split_guarded_line(words, line, false)) {
        line.kind = ScriptLine::Kind::kRepeat;
        line.label = words.back();
      }
    } else if (split_guarded_line(words, line, true)) {
      line.kind = ScriptLine::Kind::kCommand;
    }
  }
  line.text = std::move(text);
  return line;
}

ScriptWords script_words(const ScriptLine& line) {
  if (line.kind == ScriptLine::Kind::kSkip || line.kind == ScriptLine::Kind::kLabel) return {};
  ScriptWords parts;
  const auto words_of = [](const WordViews& part) { return Words(part.begin(), part.end()); };
  for_guarded_words(
      word_views(line.text), line.kind == ScriptLine::Kind::kCommand,
      [&](const WordViews& part) { parts.conditions.push_back(words_of(part)); },
      [&](const WordViews& part) { parts.command = words_of(part); });
  return parts;
}

ScriptLine parse_use_script_line(std::string text) {
  ScriptLine line;
  line.text = std::move(text);
  if (split_guarded_line(word_views(line.text), line, true)) line.kind = ScriptLine::Kind::kCommand;
  return line;
}

Script::Script(std::initializer_list<ScriptLine> lines) {
  lines_.reserve(lines.size());
  for (const ScriptLine& line : lines) push_back(line);
}

Script::Script(const Script& other) : lines_(other.lines_) {
  if (other.last_label_) {
    last_label_ = std::make_unique<std::unordered_map<std::string, std::uint32_t>>(*other.last_label_);
  }
}

Script& Script::operator=(const Script& other) {
  if (this != &other) *this = Script(other);
  return *this;
}

void Script::push_back(ScriptLine line) {
  const auto number = static_cast<std::uint32_t>(lines_.size());
  if (line.kind == ScriptLine::Kind::kLabel) {
    if (!last_label_) last_label_ = std::make_unique<std::unordered_map<std::string, std::uint32_t>>();
    (*last_label_)[line.label] = number;
  } else if (line.kind == ScriptLine::Kind::kRepeat) {
    line.label_line = ScriptLine::kNoLabel;
    if (last_label_) {
      const auto label = last_label_->find(line.label);
      if (label != last_label_->end()) line.label_line = label->second;
    }
  }
  lines_.push_back(std::move(line));
}

}  // namespace vesk
