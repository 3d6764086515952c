// Working out script words once: variable names, conditions and commands.
#include "content/script_code.hpp"

#include <algorithm>
#include <limits>

#include "base/numbers.hpp"
#include "base/words.hpp"

namespace vesk {

namespace {

Operand make(Operand::Kind kind, std::int32_t number = 0) {
  Operand operand;
  operand.kind = kind;
  operand.number = number;
  return operand;
}

}  // namespace

// The tests come in the order in which get_variable makes them. A literal
// cannot also be a named, ammunition or numbered name, so the same answer
// serves set_variable, which ignores literals.
Operand resolve_variable(std::string_view name, CompileTexts& texts) {
  if (is_integer_text(name)) return make(Operand::Kind::kLiteral, to_int(name));
  const auto* named = std::find_if(kNamedVariableNames.begin(), kNamedVariableNames.end(),
                                   [&](std::string_view known) { return known == name; });
  if (named != kNamedVariableNames.end()) {
    return make(Operand::Kind::kNamed, static_cast<std::int32_t>(named - kNamedVariableNames.begin()));
  }
  if (starts_with(name, "a_")) {
    Operand operand = make(Operand::Kind::kAmmo);
    operand.weapon = texts.keep(replace_char(cut(name.substr(2), kAmmoNameCapacity), '_', ' '));
    return operand;
  }
  if (!starts_with(name, "v")) return {};
  // "vvv3" reads v3, then the variable its value numbers, and names the one
  // that value numbers in turn: one step per "v" after the first.
  std::size_t vs = 0;
  while (vs < name.size() && name[vs] == 'v') ++vs;
  Operand operand = make(vs == 1 ? Operand::Kind::kNumbered : Operand::Kind::kIndirect, to_int(name.substr(vs)));
  operand.loose = !is_whole_number(name.substr(vs));
  operand.steps = static_cast<std::int16_t>(std::min<std::size_t>(vs - 1, std::numeric_limits<std::int16_t>::max()));
  return operand;
}

namespace {

// The second operand of arithmetic: a literal, "xN" for a random number, or a variable.
Operand resolve_value(std::string_view word, CompileTexts& texts) {
  if (!is_integer_text(word) && starts_with(word, "x")) {
    Operand operand = make(Operand::Kind::kRandom, to_int(word.substr(1)));
    operand.loose = !is_whole_number(word.substr(1));
    return operand;
  }
  return resolve_variable(word, texts);
}

// An operand of a comparison: "viN" for an item variable, or a variable.
Operand resolve_compared(std::string_view word, CompileTexts& texts) {
  if (starts_with(word, "vi")) {
    Operand operand = make(Operand::Kind::kItemVariable, to_int(word.substr(2)));
    operand.loose = !is_whole_number(word.substr(2));
    return operand;
  }
  return resolve_variable(word, texts);
}

}  // namespace

ScriptTest compile_condition(const WordViews& words, CompileTexts& texts) {
  ScriptTest test;
  if (words.empty()) return test;
  const std::string_view first = words[0];
  if (first == "tcw" || first == "tch") {
    if (words.size() < 3) return test;
    test.kind = first == "tcw" ? ScriptTest::Kind::kWeekday : ScriptTest::Kind::kHour;
    test.low = to_int(words[1]);
    test.high = to_int(words[2]);
    test.low_loose = !is_whole_number(words[1]);
    test.high_loose = !is_whole_number(words[2]);
    return test;
  }
  if (words.back() == "held") {
    test.kind = ScriptTest::Kind::kHeld;
    test.item = texts.keep(join_words(words, 0, word_count(words) - 2));
    return test;
  }
  if (words.size() < 3) return test;
  test.left = resolve_compared(words[1], texts);
  test.right = resolve_compared(words[2], texts);
  if (first == "=") {
    test.kind = ScriptTest::Kind::kEqual;
  } else if (first == "+") {
    test.kind = ScriptTest::Kind::kGreater;
  } else if (first == "-") {
    test.kind = ScriptTest::Kind::kLess;
  } else {
    test.kind = ScriptTest::Kind::kNoOperator;
  }
  return test;
}

namespace {

using Op = ScriptCommand::Op;

struct Keyword {
  std::string_view word;
  Op op;
};

// The command words that take the rest of the line as they are, tested
// before anything else.
constexpr std::array<Keyword, 15> kKeywords = {{
    {"terminate", Op::kTerminate},
    {"msf", Op::kMessageLine},
    {"msg", Op::kPrint},
    {";", Op::kPlaceUnique},
    {",", Op::kPlace},
    {".", Op::kGiveAmmo},
    {":", Op::kQueueMessage},
    {"_", Op::kGiveItem},
    {"swim", Op::kSwim},
    {"wtr", Op::kDive},
    {"n", Op::kTakeItem},
    {"ld", Op::kLoad},
    {"sv", Op::kSave},
    {"d1t", Op::kFadingCause},
    {"d2t", Op::kSteadyCause},
}};

// The words of arithmetic on a variable V and an operand X.
constexpr std::array<Keyword, 7> kArithmetic = {{
    {"a", Op::kAdd},
    {"d", Op::kSubtract},
    {"m", Op::kMultiply},
    {"p", Op::kDivide},
    {"%", Op::kRemainder},
    {"pow", Op::kPower},
    {"s", Op::kSet},
}};

ScriptCommand with_op(Op op) {
  ScriptCommand command;
  command.op = op;
  return command;
}

ScriptCommand compile_keyword(Op op, const WordViews& words, CompileTexts& texts) {
  ScriptCommand command = with_op(op);
  switch (op) {
    case Op::kMessageLine:
      if (words.size() < 3) return {};
      command.number = to_int(words[1]);
      command.loose = !is_whole_number(words[1]);
      command.target = resolve_variable(words[2], texts);
      break;
    case Op::kGiveAmmo:
      if (words.size() < 3) return {};
      command.name = words[1];
      command.text = words[2];
      command.number = to_int(words[2]);
      command.loose = !is_whole_number(words[2]);
      break;
    case Op::kTerminate:
    case Op::kSwim:
    case Op::kDive:
    case Op::kLoad:
    case Op::kSave:
      break;
    default:
      command.text = texts.keep(join_words(words, 1, word_count(words) - 1));
      break;
  }
  return command;
}

}  // namespace

ScriptCommand compile_command(const WordViews& words, CompileTexts& texts) {
  if (words.empty()) return {};
  const std::string_view word = words[0];
  for (const Keyword& keyword : kKeywords) {
    if (word == keyword.word) return compile_keyword(keyword.op, words, texts);
  }
  // "s s3 TEXT" assigns a string variable; "s steps 5" is arithmetic.
  if (word == "s" && words.size() >= 2 && starts_with(words[1], "s") && words[1] != "steps") {
    ScriptCommand command = with_op(Op::kSetString);
    command.number = to_int(words[1].substr(1));
    command.loose = !is_whole_number(words[1].substr(1));
    command.text = texts.keep(join_words(words, 2, word_count(words) - 1));
    return command;
  }
  if (word == "nk") {
    if (words.size() < 2) return {};
    ScriptCommand command = with_op(Op::kAskNumber);
    command.target = resolve_variable(words[1], texts);
    command.text = texts.keep(join_words(words, 2, word_count(words) - 1));
    return command;
  }
  if (words.size() < 2) return {};
  ScriptCommand command = with_op(Op::kUnknown);
  command.target = resolve_variable(words[1], texts);
  if (word == "sqr") {
    command.op = Op::kSquareRoot;
    return command;
  }
  if (words.size() < 3) {
    command.op = Op::kReadOnly;
    return command;
  }
  command.value = resolve_value(words[2], texts);
  for (const Keyword& keyword : kArithmetic) {
    if (word == keyword.word) command.op = keyword.op;
  }
  return command;
}

const std::vector<CommandWord>& command_words() {
  static const std::vector<CommandWord> kWords = [] {
    std::vector<CommandWord> words;
    words.reserve(kKeywords.size() + 2 + kArithmetic.size());
    for (const Keyword& keyword : kKeywords) words.push_back({keyword.word, keyword.op});
    words.push_back({"nk", Op::kAskNumber});
    words.push_back({"sqr", Op::kSquareRoot});
    for (const Keyword& keyword : kArithmetic) words.push_back({keyword.word, keyword.op});
    return words;
  }();
  return kWords;
}

}  // namespace vesk
