// The script-line format: a condition count, conditions of three words each and
// a command, split and worked out once when a game loads.
#include <algorithm>
#include <optional>
#include <utility>

#include "base/text.hpp"
#include "content/records.hpp"

namespace vesk {

namespace {

// Hands the words of a guarded line's conditions to `take_condition`, then
// those of its command to `take_command` when it has one. Both are the words
// joined with single spaces and split again, exactly as running the joined text
// would split it. False when the condition count does not fit the line.
// The number of conditions of a guarded line, -1 when it does not fit the line.
std::int32_t condition_count(WordSpan words) {
  const std::int32_t count = words.empty() ? 0 : to_int(words[0]);
  return count < 0 || 1 + 3 * std::int64_t{count} > word_count(words) ? -1 : count;
}

template <typename TakeCondition, typename TakeCommand>
bool for_guarded_words(WordSpan words, bool with_command, TakeCondition take_condition, TakeCommand take_command) {
  const std::int32_t count = condition_count(words);
  if (count < 0) return false;
  // The words of a line from a file are their own rejoin, and are handed on
  // as they are; only other texts are rejoined.
  const bool as_is = rejoins_as_is(words);
  WordViews part;
  const auto run = [&](long first, long last) -> WordSpan {
    if (!as_is) {
      rejoin_words(words, first, last, part);
      return part;
    }
    const auto from = static_cast<std::size_t>(std::min(first, word_count(words)));
    return words.subspan(from,
                         static_cast<std::size_t>(std::max(0L, std::min(last, word_count(words) - 1) - first + 1)));
  };
  for (long k = 0; k < count; ++k) take_condition(run(3 * k + 1, 3 * k + 3));
  if (with_command) take_command(run(3 * long{count} + 1, word_count(words) - 1));
  return true;
}

bool split_guarded_line(WordSpan words, ScriptLine& line, bool with_command) {
  line.conditions.reserve(static_cast<std::size_t>(std::max(0, condition_count(words))));
  return for_guarded_words(
      words, with_command, [&](WordSpan part) { line.conditions.push_back(compile_condition(part)); },
      [&](WordSpan part) { line.command = compile_command(part); });
}

}  // namespace

Condition parse_condition(std::string text) {
  Condition condition{{}, compile_condition(word_views(text)), {}};
  condition.text = std::move(text);
  return condition;
}

Condition parse_condition(std::string text, WordSpan words) {
  return Condition{std::move(text), compile_condition(words), {}};
}

ScriptLine parse_script_line(std::string text, WordSpan words) {
  ScriptLine line;
  line.text = std::move(text);
  const long w = word_count(words);
  if (w < 2) return line;
  const std::string_view marker = words[static_cast<std::size_t>(w - 2)];
  if (marker == "repetition") {
    line.kind = ScriptLine::Kind::kLabel;
    line.label = words.back();
    return line;
  }
  const bool repeat = marker == "repeat";
  if (!split_guarded_line(words, line, !repeat)) return line;
  if (repeat) {
    line.kind = ScriptLine::Kind::kRepeat;
    line.label = words.back();
  } else {
    line.kind = ScriptLine::Kind::kCommand;
  }
  return line;
}

ScriptLine parse_script_line(std::string text) {
  // The words point into `text`, so it moves into the line only once they are read.
  ScriptLine line = parse_script_line({}, word_views(text));
  line.text = std::move(text);
  return line;
}

ScriptWords script_words(const ScriptLine& line) {
  if (line.kind == ScriptLine::Kind::kSkip || line.kind == ScriptLine::Kind::kLabel) return {};
  ScriptWords parts;
  const auto words_of = [](WordSpan part) { return Words(part.begin(), part.end()); };
  for_guarded_words(
      word_views(line.text), line.kind == ScriptLine::Kind::kCommand,
      [&](WordSpan part) { parts.conditions.push_back(words_of(part)); },
      [&](WordSpan part) { parts.command = words_of(part); });
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
    (*last_label_)[line.label.str()] = number;
  } else if (line.kind == ScriptLine::Kind::kRepeat) {
    line.label_line = ScriptLine::kNoLabel;
    if (last_label_) {
      const auto label = last_label_->find(line.label.str());
      if (label != last_label_->end()) line.label_line = label->second;
    }
  }
  lines_.push_back(std::move(line));
}

}  // namespace vesk
