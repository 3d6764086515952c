// The script-line format: a condition count, conditions of three words each and
// a command, split and worked out once when a game loads.
#include <algorithm>
#include <optional>
#include <utility>

#include "base/text.hpp"
#include "content/records.hpp"

namespace vesk {

namespace {

// Words `first` to `last` joined with single spaces and split again. Where
// no word is empty and the join fits a built text, that gives the words
// themselves, so they are copied rather than joined and split.
Words rejoined(const Words& words, long first, long last) {
  first = std::max(first, 0L);
  last = std::min(last, word_count(words) - 1);
  if (first > last) return {};
  std::size_t length = 0;
  for (long k = first; k <= last; ++k) {
    const std::string& word = words[static_cast<std::size_t>(k)];
    if (word.empty()) return split_words(join_words(words, first, last));
    length += word.size() + (k > first ? 1 : 0);
  }
  if (length > kTextCapacity) return split_words(join_words(words, first, last));
  Words slice(words.begin() + first, words.begin() + last + 1);
  return slice;
}

// The conditions and the command of a guarded line. Both are the words joined
// with single spaces and split again, exactly as running the joined text would
// split it. Nothing when the condition count does not fit the line.
std::optional<ScriptWords> guarded_words(const Words& words, bool with_command) {
  const std::int32_t count = words.empty() ? 0 : to_int(words[0]);
  if (count < 0 || 1 + 3 * std::int64_t{count} > word_count(words)) return std::nullopt;
  ScriptWords parts;
  parts.conditions.reserve(static_cast<std::size_t>(count));
  for (long k = 0; k < count; ++k) parts.conditions.push_back(rejoined(words, 3 * k + 1, 3 * k + 3));
  if (with_command) parts.command = rejoined(words, 3 * long{count} + 1, word_count(words) - 1);
  return parts;
}

bool split_guarded_line(const Words& words, ScriptLine& line, bool with_command) {
  const std::optional<ScriptWords> parts = guarded_words(words, with_command);
  if (!parts) return false;
  line.conditions.reserve(parts->conditions.size());
  for (const Words& condition : parts->conditions) line.conditions.push_back(compile_condition(condition));
  if (with_command) line.command = compile_command(parts->command);
  return true;
}

}  // namespace

Condition parse_condition(std::string text) {
  ScriptTest test = compile_condition(split_words(text));
  return Condition{std::move(text), std::move(test), {}};
}

ScriptLine parse_script_line(std::string text) {
  ScriptLine line;
  const Words words = split_words(text);
  line.text = std::move(text);
  const long w = word_count(words);
  if (w < 2) return line;
  const std::string& marker = words[static_cast<std::size_t>(w - 2)];
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

ScriptWords script_words(const ScriptLine& line) {
  const Words words = split_words(line.text);
  const bool with_command = line.kind == ScriptLine::Kind::kCommand;
  if (line.kind == ScriptLine::Kind::kSkip || line.kind == ScriptLine::Kind::kLabel) return {};
  return guarded_words(words, with_command).value_or(ScriptWords{});
}

ScriptLine parse_use_script_line(std::string text) {
  ScriptLine line;
  const Words words = split_words(text);
  line.text = std::move(text);
  if (split_guarded_line(words, line, true)) line.kind = ScriptLine::Kind::kCommand;
  return line;
}

Script::Script(std::initializer_list<ScriptLine> lines) {
  lines_.reserve(lines.size());
  for (const ScriptLine& line : lines) push_back(line);
}

void Script::push_back(ScriptLine line) {
  if (line.kind == ScriptLine::Kind::kLabel) {
    last_label_[line.label] = lines_.size();
  } else if (line.kind == ScriptLine::Kind::kRepeat) {
    const auto label = last_label_.find(line.label);
    line.label_line = label == last_label_.end() ? ScriptLine::kNoLabel : label->second;
  }
  lines_.push_back(std::move(line));
}

}  // namespace vesk
