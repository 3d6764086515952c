// Script lines worked out once when a game loads: every variable name resolved
// to where it lives, every command word to its operation and every literal
// number read, so that running a line does no string work unless it prints or
// expands a text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/words.hpp"

namespace vesk {

// The script names of the named integer variables. The game state keeps the
// fields behind them in the same order.
inline constexpr std::array<std::string_view, 12> kNamedVariableNames = {
    "game", "steps", "htcw", "ca", "prev", "a2", "air", "air2", "dt1", "dt2", "h", "m",
};

// Where a record's line came from: the content file (its number in the
// world's list of loaded files, from 1; 0 for a record built in code) and the
// piece of the file that the reader gave (from 0). Only tools read it.
struct SourcePos {
  std::uint32_t file = 0;
  std::uint32_t piece = 0;
};

// A word that a command or a condition reads or writes.
struct Operand {
  enum class Kind : std::uint8_t {
    kNothing,       // no variable: reads 0, writes are ignored
    kLiteral,       // a decimal integer: reads `number`, writes are ignored
    kNamed,         // kNamedVariableNames[number]
    kNumbered,      // "vN": numbered variable `number` (none when out of range)
    kIndirect,      // "vv...": numbered variable `number` read, then `steps` more
                    // numbered variables read through the values, the last one named
    kAmmo,          // "a_long_bow": the ammunition count of the weapon `weapon`
    kItemVariable,  // conditions only, "viN": item variable `number` of the current item
    kRandom,        // second operands only, "xN": a number 0 to N-1 drawn when read;
                    // with `number` 0 there is no range and the command does nothing
  };
  Kind kind = Kind::kNothing;
  // Tools only: the digits after "v", "vv...", "vi" or "x" are no whole number
  // ("v3x", "x"), so `number` is what decimal conversion made of them.
  bool loose = false;
  std::int16_t steps = 0;  // a word has at most 127 characters, so few steps
  std::int32_t number = 0;
  std::string weapon;  // the catalogue name, spaces for underscores
};

// The name after "a_" is cut to this many characters.
inline constexpr std::size_t kAmmoNameCapacity = 127;

// A variable name as get_variable and set_variable read it: a literal number,
// a named variable, "a_" ammunition, "vv" indirect, "v" numbered, or nothing.
Operand resolve_variable(std::string_view name);

// A condition, worked out from its words.
struct ScriptTest {
  enum class Kind : std::uint8_t {
    kFalse,       // too few words: false without reading anything
    kWeekday,     // "tcw LOW HIGH": low <= weekday <= high
    kHour,        // "tch LOW HIGH": low <= hour < high
    kHeld,        // "NAME held"
    kEqual,       // "= X Y"
    kGreater,     // "+ X Y"
    kLess,        // "- X Y"
    kNoOperator,  // any other first word: both operands are read, then false
  };
  Kind kind = Kind::kFalse;
  // Tools only: the word of `low` or `high` is no whole number ("9am").
  bool low_loose = false;
  bool high_loose = false;
  std::int32_t low = 0;
  std::int32_t high = 0;
  std::string item;  // kHeld: the item's name
  Operand left;
  Operand right;
};

ScriptTest compile_condition(const WordViews& words);

// A command, worked out from its words.
struct ScriptCommand {
  enum class Op : std::uint8_t {
    kNothing,       // no words, or too few for the command
    kTerminate,     // terminate
    kMessageLine,   // msf F L: `number` is F, `target` is L
    kPrint,         // msg TEXT
    kPlaceUnique,   // ; ENEMY
    kPlace,         // , ENEMY
    kGiveAmmo,      // . W A: `name` W, `number` A, `text` A as written
    kQueueMessage,  // : TEXT
    kGiveItem,      // _ ITEM
    kSwim,          // swim
    kDive,          // wtr
    kTakeItem,      // n ITEM
    kLoad,          // ld
    kSave,          // sv
    kFadingCause,   // d1t TEXT
    kSteadyCause,   // d2t TEXT
    kSetString,     // s sN TEXT: `number` is N
    kAskNumber,     // nk V PROMPT
    // The arithmetic on a variable V, the rest of the list, in this order.
    kSquareRoot,  // sqr V
    kReadOnly,    // an arithmetic word with V but no X: reads V, changes nothing
    kAdd,         // a V X
    kSubtract,    // d V X
    kMultiply,    // m V X
    kDivide,      // p V X
    kRemainder,   // % V X
    kPower,       // pow V X
    kSet,         // s V X
    kUnknown,     // any other word with V and X: reads both, changes nothing
  };
  Op op = Op::kNothing;
  // Tools only: the word of `number` (F of "msf", A of ".", N of "sN") is no
  // whole number ("2x", "s"), so `number` is what decimal conversion made of it.
  bool loose = false;
  std::int32_t number = 0;
  Operand target;    // V, or the line of "msf"
  Operand value;     // X: a literal, a random range or a variable
  std::string text;  // the rest of the words as the command takes them
  std::string name;  // "." only: the weapon word
};

ScriptCommand compile_command(const WordViews& words);

// Every word that begins a command, with the operation it names when the line
// has the words the command needs ("s" names kSet, or kSetString before an
// "sN" word); for tools that explain a line that does nothing.
struct CommandWord {
  std::string_view word;
  ScriptCommand::Op op;
};
const std::vector<CommandWord>& command_words();

// A condition as the content files write it, worked out once when loaded,
// since content never changes.
struct Condition {
  std::string text;
  ScriptTest test;
  SourcePos source;
};
using Conditions = std::vector<Condition>;

// A script line: a condition count c, c conditions of three words each, then a
// command. A line whose second-to-last word is "repetition" is a label (its
// last word); one whose second-to-last word is "repeat" jumps back to a label.
struct ScriptLine {
  enum class Kind : std::uint8_t {
    kSkip,     // too short, or its condition count does not fit its words
    kLabel,    // "... repetition NAME"
    kRepeat,   // guarded "... repeat NAME"
    kCommand,  // guarded command
  };
  // A repeat line with no label of its name above it jumps nowhere.
  static constexpr std::uint32_t kNoLabel = static_cast<std::uint32_t>(-1);

  std::string text;
  Kind kind = Kind::kSkip;
  // Tools only: the condition count is no whole number ("1x", "msg"), so the
  // line was read with what decimal conversion made of it.
  bool count_loose = false;
  std::uint32_t label_line = kNoLabel;  // kRepeat in a Script: the line of its label
  std::vector<ScriptTest> conditions;
  ScriptCommand command;
  std::string label;  // kLabel: its name; kRepeat: the label it jumps to
  SourcePos source;
};

// The lines of one script list. Each repeat line learns as it is added where
// its label is, the nearest line above it labelled with its name, so that
// running a loop never searches.
class Script {
 public:
  Script() = default;
  Script(std::initializer_list<ScriptLine> lines);
  Script(const Script& other);
  Script& operator=(const Script& other);
  Script(Script&&) noexcept = default;
  Script& operator=(Script&&) noexcept = default;
  ~Script() = default;

  void push_back(ScriptLine line);
  void reserve(std::size_t lines) { lines_.reserve(lines); }

  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const ScriptLine& operator[](std::size_t i) const { return lines_[i]; }
  // While loading: the line just added, and the file every line comes from.
  ScriptLine& back() { return lines_.back(); }
  void set_source_file(std::uint32_t file) {
    for (ScriptLine& line : lines_) line.source.file = file;
  }
  std::vector<ScriptLine>::const_iterator begin() const { return lines_.begin(); }
  std::vector<ScriptLine>::const_iterator end() const { return lines_.end(); }

 private:
  std::vector<ScriptLine> lines_;
  // The latest line of each label, made with the first label: most scripts have none.
  std::unique_ptr<std::unordered_map<std::string, std::uint32_t>> last_label_;
};

Condition parse_condition(std::string text);
// A line of an area's script lists, with labels and repeats.
ScriptLine parse_script_line(std::string text);
// A line of an item's use script: conditions and a command, no labels.
ScriptLine parse_use_script_line(std::string text);

// The words of a command or repeat line's conditions and of its command, as
// the parser read them, for tools that look at what a line says. Empty for a
// label or a line that is skipped.
struct ScriptWords {
  std::vector<Words> conditions;
  Words command;
};
ScriptWords script_words(const ScriptLine& line);

}  // namespace vesk
