// The script-line format: a condition count, conditions of three words each and
// a command, split and worked out once when a game loads, and the code that
// scripts and lists of conditions hold their lines in.
#include <algorithm>
#include <utility>

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/records.hpp"

namespace vesk {

namespace {

// --- the code -----------------------------------------------------------------

// Numbers go in 7-bit groups, the lowest first, each but the last with its
// high bit set, so that the small numbers of most lines take one byte. Signed
// numbers go zigzag: 0, -1, 1, -2, ... as 0, 1, 2, 3, ...
std::uint64_t zigzag(std::int64_t value) {
  return (static_cast<std::uint64_t>(value) << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0);
}

std::int64_t unzigzag(std::uint64_t value) {
  return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

void put_number(std::string& code, std::uint64_t value) {
  while (value >= 0x80) {
    code += static_cast<char>((value & 0x7f) | 0x80);
    value >>= 7;
  }
  code += static_cast<char>(value);
}

// Writes the code of one line's parts. A text of the parts is written as where
// it stands in the line's text (offset * 2, then its size) when it stands
// there, as most do, and else as its characters (size * 2 + 1, then them).
class CodeWriter {
 public:
  CodeWriter(std::string& code, std::string_view text) : code_(code), text_(text) {}

  void byte(unsigned value) { code_ += static_cast<char>(value); }
  void number(std::uint64_t value) { put_number(code_, value); }
  void signed_number(std::int64_t value) { put_number(code_, zigzag(value)); }
  void text(std::string_view part) {
    const std::size_t at = text_.find(part);
    if (at == std::string_view::npos) {
      number((std::uint64_t{part.size()} << 1) | 1);
      code_ += part;
    } else {
      number(std::uint64_t{at} << 1);
      number(part.size());
    }
  }

 private:
  std::string& code_;
  std::string_view text_;
};

// Reads code that a CodeWriter wrote, which the lists alone write, so it
// needs no checks.
class CodeReader {
 public:
  explicit CodeReader(const char* at) : at_(at) {}

  const char* at() const { return at_; }
  void skip(std::size_t bytes) { at_ += bytes; }
  unsigned byte() { return static_cast<unsigned char>(*at_++); }
  std::uint64_t number() {
    unsigned group = byte();
    std::uint64_t value = group & 0x7f;
    for (int shift = 7; group & 0x80; shift += 7) {
      group = byte();
      value |= std::uint64_t{group & 0x7f} << shift;
    }
    return value;
  }
  std::int64_t signed_number() { return unzigzag(number()); }
  std::int32_t int32() { return static_cast<std::int32_t>(signed_number()); }
  // Characters written as they are: their size, then them.
  std::string_view own_text() {
    const auto size = static_cast<std::size_t>(number());
    const std::string_view text(at_, size);
    at_ += size;
    return text;
  }
  // A text written by CodeWriter::text for a line whose text is `text`.
  std::string_view text(std::string_view text) {
    const std::uint64_t head = number();
    if (head & 1) {
      const auto size = static_cast<std::size_t>(head >> 1);
      const std::string_view own(at_, size);
      at_ += size;
      return own;
    }
    return text.substr(static_cast<std::size_t>(head >> 1), static_cast<std::size_t>(number()));
  }

 private:
  const char* at_;
};

// An operand: a byte of its kind (3 bits) and of which fields are not 0 or
// empty, then those fields.
constexpr unsigned kOperandLoose = 8, kOperandNumber = 16, kOperandSteps = 32, kOperandWeapon = 64;

void write_operand(CodeWriter& code, const Operand& operand) {
  code.byte(static_cast<unsigned>(operand.kind) | (operand.loose ? kOperandLoose : 0) |
            (operand.number != 0 ? kOperandNumber : 0) | (operand.steps != 0 ? kOperandSteps : 0) |
            (operand.weapon.empty() ? 0 : kOperandWeapon));
  if (operand.number != 0) code.signed_number(operand.number);
  if (operand.steps != 0) code.signed_number(operand.steps);
  if (!operand.weapon.empty()) code.text(operand.weapon);
}

// The readers write every field, those that the code leaves out as 0 or
// empty: a line is read into the value that held the line before it.
void read_operand(CodeReader& code, std::string_view text, Operand& operand) {
  const unsigned bits = code.byte();
  operand.kind = static_cast<Operand::Kind>(bits & 7);
  operand.loose = (bits & kOperandLoose) != 0;
  operand.number = bits & kOperandNumber ? code.int32() : 0;
  operand.steps = bits & kOperandSteps ? static_cast<std::int16_t>(code.int32()) : std::int16_t{0};
  operand.weapon = bits & kOperandWeapon ? code.text(text) : std::string_view();
}

void clear_operand(Operand& operand) {
  operand.kind = Operand::Kind::kNothing;
  operand.loose = false;
  operand.number = 0;
  operand.steps = 0;
  operand.weapon = {};
}

// A condition: a byte of its kind (3 bits) and of its fields, those fields,
// then its two operands.
constexpr unsigned kTestLowLoose = 8, kTestHighLoose = 16, kTestLow = 32, kTestHigh = 64, kTestItem = 128;

void write_test(CodeWriter& code, const ScriptTest& test) {
  code.byte(static_cast<unsigned>(test.kind) | (test.low_loose ? kTestLowLoose : 0) |
            (test.high_loose ? kTestHighLoose : 0) | (test.low != 0 ? kTestLow : 0) | (test.high != 0 ? kTestHigh : 0) |
            (test.item.empty() ? 0 : kTestItem));
  if (test.low != 0) code.signed_number(test.low);
  if (test.high != 0) code.signed_number(test.high);
  if (!test.item.empty()) code.text(test.item);
  write_operand(code, test.left);
  write_operand(code, test.right);
}

void read_test(CodeReader& code, std::string_view text, ScriptTest& test) {
  const unsigned bits = code.byte();
  test.kind = static_cast<ScriptTest::Kind>(bits & 7);
  test.low_loose = (bits & kTestLowLoose) != 0;
  test.high_loose = (bits & kTestHighLoose) != 0;
  test.low = bits & kTestLow ? code.int32() : 0;
  test.high = bits & kTestHigh ? code.int32() : 0;
  test.item = bits & kTestItem ? code.text(text) : std::string_view();
  read_operand(code, text, test.left);
  read_operand(code, text, test.right);
}

// A command: a byte of its operation, a byte of which fields it has, then those.
constexpr unsigned kCommandLoose = 1, kCommandNumber = 2, kCommandTarget = 4, kCommandValue = 8, kCommandText = 16,
                   kCommandName = 32;

bool is_nothing(const Operand& operand) {
  return operand.kind == Operand::Kind::kNothing && !operand.loose && operand.number == 0 && operand.steps == 0 &&
         operand.weapon.empty();
}

void write_command(CodeWriter& code, const ScriptCommand& command) {
  code.byte(static_cast<unsigned>(command.op));
  code.byte((command.loose ? kCommandLoose : 0) | (command.number != 0 ? kCommandNumber : 0) |
            (is_nothing(command.target) ? 0 : kCommandTarget) | (is_nothing(command.value) ? 0 : kCommandValue) |
            (command.text.empty() ? 0 : kCommandText) | (command.name.empty() ? 0 : kCommandName));
  if (command.number != 0) code.signed_number(command.number);
  if (!is_nothing(command.target)) write_operand(code, command.target);
  if (!is_nothing(command.value)) write_operand(code, command.value);
  if (!command.text.empty()) code.text(command.text);
  if (!command.name.empty()) code.text(command.name);
}

// A line without a command reads as one without code: an operation of
// kNothing and no fields.
void read_command(CodeReader& code, std::string_view text, ScriptCommand& command, bool present) {
  command.op = present ? static_cast<ScriptCommand::Op>(code.byte()) : ScriptCommand::Op::kNothing;
  const unsigned bits = present ? code.byte() : 0;
  command.loose = (bits & kCommandLoose) != 0;
  command.number = bits & kCommandNumber ? code.int32() : 0;
  if (bits & kCommandTarget) {
    read_operand(code, text, command.target);
  } else {
    clear_operand(command.target);
  }
  if (bits & kCommandValue) {
    read_operand(code, text, command.value);
  } else {
    clear_operand(command.value);
  }
  command.text = bits & kCommandText ? code.text(text) : std::string_view();
  command.name = bits & kCommandName ? code.text(text) : std::string_view();
}

// A script line: its source, a byte of its kind (2 bits) and of the parts it
// has, its text, then those parts: its label, where its label is (its line
// and where the line after it begins), its conditions (their count, the size
// of their code, then their code, so that they can be read only when walked)
// and its command.
constexpr unsigned kLineCountLoose = 4, kLineLabel = 8, kLineJump = 16, kLineConditions = 32, kLineCommand = 64;

// --- the line format ------------------------------------------------------------

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

// A line worked out from its words, its parts already in code.
struct CompiledLine {
  ScriptLine::Kind kind = ScriptLine::Kind::kSkip;
  bool count_loose = false;
  std::uint32_t conditions = 0;
  std::string_view label;
  std::string condition_code;
  std::string command_code;
};

// The conditions and command of a guarded line, in code. False when its
// condition count does not fit the line.
bool compile_guarded(const WordViews& words, std::string_view text, bool with_command, CompiledLine& line) {
  line.count_loose = !words.empty() && !is_whole_number(words[0]);
  CompileTexts texts;
  CodeWriter conditions(line.condition_code, text);
  CodeWriter command(line.command_code, text);
  return for_guarded_words(
      words, with_command,
      [&](const WordViews& part) {
        write_test(conditions, compile_condition(part, texts));
        ++line.conditions;
      },
      [&](const WordViews& part) { write_command(command, compile_command(part, texts)); });
}

CompiledLine compile_line(std::string_view text, Script::Form form) {
  CompiledLine line;
  const WordViews words = word_views(text);
  if (form == Script::Form::kUse) {
    if (compile_guarded(words, text, true, line)) line.kind = ScriptLine::Kind::kCommand;
    return line;
  }
  const long w = word_count(words);
  if (w < 2) return line;
  const std::string_view marker = words[static_cast<std::size_t>(w - 2)];
  if (marker == "repetition") {
    line.kind = ScriptLine::Kind::kLabel;
    line.label = words.back();
  } else if (marker == "repeat") {
    if (compile_guarded(words, text, false, line)) {
      line.kind = ScriptLine::Kind::kRepeat;
      line.label = words.back();
    }
  } else if (compile_guarded(words, text, true, line)) {
    line.kind = ScriptLine::Kind::kCommand;
  }
  return line;
}

}  // namespace

// --- lists of lines ---------------------------------------------------------------

void LineCode::reserve(std::size_t lines, std::size_t characters) {
  // A line's code is about its text and a few bytes: its source, its kind and
  // those of its command.
  constexpr std::size_t kLineBytes = 6;
  code_.reserve(code_.size() + characters + kLineBytes * lines);
}

void LineCode::begin_line(std::uint32_t piece) {
  if (count_ == 0) first_piece_ = piece;
  put_number(code_, zigzag(std::int64_t{piece} - first_piece_ - count_));
}

SourcePos LineCode::source_of(std::uint32_t index, const char*& at) const {
  CodeReader code(at);
  const std::int64_t piece = std::int64_t{first_piece_} + index + code.signed_number();
  at = code.at();
  return {file_, static_cast<std::uint32_t>(piece)};
}

Script::Script(Form form, std::initializer_list<std::string_view> lines) : form_(form) {
  for (const std::string_view line : lines) push_back(line);
}

Script::Script(const Script& other) : LineCode(other), form_(other.form_) {
  if (other.last_label_) last_label_ = std::make_unique<std::unordered_map<std::string, LabelAt>>(*other.last_label_);
}

Script& Script::operator=(const Script& other) {
  if (this != &other) *this = Script(other);
  return *this;
}

void Script::push_back(std::string_view text, std::uint32_t piece) {
  const CompiledLine line = compile_line(text, form_);
  const LabelAt* jump = nullptr;
  if (line.kind == ScriptLine::Kind::kRepeat && last_label_) {
    const auto label = last_label_->find(std::string(line.label));
    if (label != last_label_->end()) jump = &label->second;
  }
  begin_line(piece);
  CodeWriter code(code_, text);
  code.byte(static_cast<unsigned>(line.kind) | (line.count_loose ? kLineCountLoose : 0) |
            (line.label.empty() ? 0 : kLineLabel) | (jump ? kLineJump : 0) |
            (line.conditions > 0 ? kLineConditions : 0) | (line.command_code.empty() ? 0 : kLineCommand));
  code.number(text.size());
  code_ += text;
  if (!line.label.empty()) code.text(line.label);
  if (jump) {
    code.number(jump->line);
    code.number(jump->resume);
  }
  if (line.conditions > 0) {
    code.number(line.conditions);
    code.number(line.condition_code.size());
    code_ += line.condition_code;
  }
  code_ += line.command_code;
  if (line.kind == ScriptLine::Kind::kLabel) {
    if (!last_label_) last_label_ = std::make_unique<std::unordered_map<std::string, LabelAt>>();
    (*last_label_)[std::string(line.label)] = LabelAt{count_, static_cast<std::uint32_t>(code_.size())};
  }
  ++count_;
}

void Script::const_iterator::read(std::uint32_t at) {
  const char* start = script_->code_.data() + at;
  value_.source = script_->source_of(index_, start);
  CodeReader code(start);
  const unsigned bits = code.byte();
  value_.kind = static_cast<ScriptLine::Kind>(bits & 3);
  value_.count_loose = (bits & kLineCountLoose) != 0;
  value_.text = code.own_text();
  value_.label = bits & kLineLabel ? code.text(value_.text) : std::string_view();
  value_.label_line = ScriptLine::kNoLabel;
  if (bits & kLineJump) {
    value_.label_line = static_cast<std::uint32_t>(code.number());
    resume_ = static_cast<std::uint32_t>(code.number());
  }
  value_.conditions = ScriptTests();
  if (bits & kLineConditions) {
    const auto count = static_cast<std::uint32_t>(code.number());
    const auto size = static_cast<std::size_t>(code.number());
    value_.conditions = ScriptTests(code.at(), count, value_.text);
    code.skip(size);
  }
  read_command(code, value_.text, value_.command, (bits & kLineCommand) != 0);
  next_ = static_cast<std::uint32_t>(code.at() - script_->code_.data());
}

void ScriptTests::const_iterator::read() {
  CodeReader code(at_);
  read_test(code, text_, value_);
  at_ = code.at();
}

Conditions::Conditions(std::initializer_list<std::string_view> texts) {
  for (const std::string_view text : texts) push_back(text);
}

// A condition's code: its source, its text, then its test.
void Conditions::push_back(std::string_view text, std::uint32_t piece) {
  CompileTexts texts;
  const ScriptTest test = compile_condition(word_views(text), texts);
  begin_line(piece);
  CodeWriter code(code_, text);
  code.number(text.size());
  code_ += text;
  write_test(code, test);
  ++count_;
}

void Conditions::const_iterator::read() {
  value_.source = list_->source_of(index_, at_);
  CodeReader code(at_);
  value_.text = code.own_text();
  read_test(code, value_.text, value_.test);
  at_ = code.at();
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

}  // namespace vesk
