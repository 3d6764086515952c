// The script-line format: a condition count, conditions of three words each and
// a command, split once when a game loads.
#include "base/text.hpp"
#include "content/records.hpp"

namespace vesk {

namespace {

// Fills the conditions and the command of a guarded line. Both are the words
// joined with single spaces and split again, exactly as running the joined
// text would split it. False when the condition count does not fit the line.
bool split_guarded_line(const Words& words, ScriptLine& line) {
  const std::int32_t conditions = words.empty() ? 0 : to_int(words[0]);
  if (conditions < 0 || 1 + 3 * std::int64_t{conditions} > word_count(words)) return false;
  for (long k = 0; k < conditions; ++k) line.conditions.push_back(split_words(join_words(words, 3 * k + 1, 3 * k + 3)));
  line.command = split_words(join_words(words, 3 * long{conditions} + 1, word_count(words) - 1));
  return true;
}

}  // namespace

Condition parse_condition(std::string text) {
  Words words = split_words(text);
  return Condition{std::move(text), std::move(words), {}};
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
  if (!split_guarded_line(words, line)) return line;
  if (marker == "repeat") {
    line.kind = ScriptLine::Kind::kRepeat;
    line.label = words.back();
    line.command.clear();
  } else {
    line.kind = ScriptLine::Kind::kCommand;
  }
  return line;
}

ScriptLine parse_use_script_line(std::string text) {
  ScriptLine line;
  const Words words = split_words(text);
  line.text = std::move(text);
  if (split_guarded_line(words, line)) line.kind = ScriptLine::Kind::kCommand;
  return line;
}

}  // namespace vesk
