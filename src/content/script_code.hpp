// Script lines worked out once when a game loads: every variable name resolved
// to where it lives, every command word to its operation and every literal
// number read, so that running a line does no string work unless it prints or
// expands a text. A script is held as code, a few bytes a line (see Script),
// since a content file may hold millions of script lines; running a line reads
// it back into a small value whose texts view the code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <forward_list>
#include <initializer_list>
#include <iterator>
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

// The texts that compiling makes beyond the words it reads (words joined
// again, a weapon name with spaces for underscores): the compiled parts view
// them, so they are kept here for as long as the parts are used.
class CompileTexts {
 public:
  std::string_view keep(std::string text) { return texts_.emplace_front(std::move(text)); }

 private:
  std::forward_list<std::string> texts_;  // a text kept never moves
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
  std::string_view weapon;  // the catalogue name, spaces for underscores
};

// The name after "a_" is cut to this many characters.
inline constexpr std::size_t kAmmoNameCapacity = 127;

// A variable name as get_variable and set_variable read it: a literal number,
// a named variable, "a_" ammunition, "vv" indirect, "v" numbered, or nothing.
// The weapon name of "a_" is kept in `texts`.
Operand resolve_variable(std::string_view name, CompileTexts& texts);

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
  std::string_view item;  // kHeld: the item's name
  Operand left;
  Operand right;
};

// The condition that `words` say; its texts view `words` or `texts`.
ScriptTest compile_condition(const WordViews& words, CompileTexts& texts);

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
  Operand target;         // V, or the line of "msf"
  Operand value;          // X: a literal, a random range or a variable
  std::string_view text;  // the rest of the words as the command takes them
  std::string_view name;  // "." only: the weapon word
};

// The command that `words` say; its texts view `words` or `texts`.
ScriptCommand compile_command(const WordViews& words, CompileTexts& texts);

// Every word that begins a command, with the operation it names when the line
// has the words the command needs ("s" names kSet, or kSetString before an
// "sN" word); for tools that explain a line that does nothing.
struct CommandWord {
  std::string_view word;
  ScriptCommand::Op op;
};
const std::vector<CommandWord>& command_words();

// What a script and a list of conditions share: the code of their lines, one
// after another, each beginning with where its line came from. A line's piece
// is written as its distance from the piece it would have if every line of the
// list stood on the lines after the first, mostly 0 and one byte.
class LineCode {
 public:
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  // While loading: the file every line comes from.
  void set_source_file(std::uint32_t file) { file_ = file; }
  // Room for `lines` more lines written in `characters` characters.
  void reserve(std::size_t lines, std::size_t characters);

 protected:
  // Starts the code of the next line, from piece `piece`.
  void begin_line(std::uint32_t piece);
  // The source of line `index`, whose code begins at `at`, and where the rest
  // of its code begins.
  SourcePos source_of(std::uint32_t index, const char*& at) const;

  std::string code_;
  std::uint32_t count_ = 0;
  std::uint32_t file_ = 0;
  std::uint32_t first_piece_ = 0;
};

// What the iterators of the lists below share: each reads the values one
// after another into the one it holds, which stays valid until it moves on.
template <typename Value>
class ReadingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = Value;
  using difference_type = std::ptrdiff_t;
  using pointer = const Value*;
  using reference = const Value&;
  const Value& operator*() const { return value_; }
  const Value* operator->() const { return &value_; }

 protected:
  Value value_;
};

// The conditions of a script line, read from the line's code as they are
// walked. They view the script they came from.
class ScriptTests {
 public:
  class const_iterator : public ReadingIterator<ScriptTest> {
   public:
    const_iterator() = default;
    const_iterator& operator++() {
      if (--left_ > 0) read();
      return *this;
    }
    bool operator==(std::default_sentinel_t /*end*/) const { return left_ == 0; }

   private:
    friend class ScriptTests;
    const_iterator(const char* code, std::uint32_t left, std::string_view text) : at_(code), left_(left), text_(text) {
      if (left_ > 0) read();
    }
    void read();

    const char* at_ = nullptr;
    std::uint32_t left_ = 0;  // the conditions from this one to the last
    std::string_view text_;   // the line's text, which the code's texts point into
  };

  ScriptTests() = default;
  ScriptTests(const char* code, std::uint32_t count, std::string_view text) : code_(code), count_(count), text_(text) {}

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  const_iterator begin() const { return {code_, count_, text_}; }
  std::default_sentinel_t end() const { return {}; }

 private:
  const char* code_ = nullptr;
  std::uint32_t count_ = 0;
  std::string_view text_;
};

// A script line: a condition count c, c conditions of three words each, then a
// command. A line whose second-to-last word is "repetition" is a label (its
// last word); one whose second-to-last word is "repeat" jumps back to a label.
// A line read from its script, valid until the script changes.
struct ScriptLine {
  enum class Kind : std::uint8_t {
    kSkip,     // too short, or its condition count does not fit its words
    kLabel,    // "... repetition NAME"
    kRepeat,   // guarded "... repeat NAME"
    kCommand,  // guarded command
  };
  // A repeat line with no label of its name above it jumps nowhere.
  static constexpr std::uint32_t kNoLabel = static_cast<std::uint32_t>(-1);

  std::string_view text;
  Kind kind = Kind::kSkip;
  // Tools only: the condition count is no whole number ("1x", "msg"), so the
  // line was read with what decimal conversion made of it.
  bool count_loose = false;
  std::uint32_t label_line = kNoLabel;  // kRepeat: the line of its label
  ScriptTests conditions;
  ScriptCommand command;
  std::string_view label;  // kLabel: its name; kRepeat: the label it jumps to
  SourcePos source;
};

// The lines of one script list, compiled as they are added. Each repeat line
// learns as it is added where its label is, the nearest line above it
// labelled with its name, so that running a loop never searches.
//
// A line's code is a byte of what it holds, its text, then only the parts its
// form has: its label, where its label is, its conditions and its command,
// each operand a byte of kind with the numbers it needs. The texts of the
// conditions and the command are mostly words of the line's text, and are
// written as where they stand in it. Lines are read in order, and a repeat
// line keeps where the line after its label begins.
class Script : public LineCode {
 public:
  // An area's lists have labels and repeats; an item's use script has
  // conditions and a command on every line.
  enum class Form : std::uint8_t { kList, kUse };

  Script() = default;
  explicit Script(Form form) : form_(form) {}
  Script(Form form, std::initializer_list<std::string_view> lines);
  Script(const Script& other);
  Script& operator=(const Script& other);
  Script(Script&&) noexcept = default;
  Script& operator=(Script&&) noexcept = default;
  ~Script() = default;

  // Compiles `text`, a line of this script's form from piece `piece` of its
  // file, and adds it at the end.
  void push_back(std::string_view text, std::uint32_t piece = 0);

  class const_iterator : public ReadingIterator<ScriptLine> {
   public:
    const_iterator() = default;
    const_iterator& operator++() {
      go_to(index_ + 1, next_);
      return *this;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }
    bool operator==(std::default_sentinel_t /*end*/) const { return index_ == script_->count_; }
    // At a repeat line whose label was found: on to the line after the label.
    void jump_to_label() { go_to(value_.label_line + 1, resume_); }
    // The number of the line, from 0.
    std::uint32_t index() const { return index_; }

   private:
    friend class Script;
    const_iterator(const Script* script, std::uint32_t index, std::uint32_t at) : script_(script) { go_to(index, at); }
    void go_to(std::uint32_t index, std::uint32_t at) {
      index_ = index;
      if (index_ < script_->count_) read(at);
    }
    void read(std::uint32_t at);

    const Script* script_ = nullptr;
    std::uint32_t index_ = 0;
    std::uint32_t next_ = 0;    // where the line after this one begins in the code
    std::uint32_t resume_ = 0;  // a repeat with a label: where the line after the label begins
  };
  const_iterator begin() const { return {this, 0, 0}; }
  // The end of the lines, which a walk compares its iterator with.
  std::default_sentinel_t end() const { return {}; }

 private:
  // A label line: its number, and where the line after it begins.
  struct LabelAt {
    std::uint32_t line = 0;
    std::uint32_t resume = 0;
  };

  Form form_ = Form::kList;
  // The latest line of each label, made with the first label: most scripts have none.
  std::unique_ptr<std::unordered_map<std::string, LabelAt>> last_label_;
};

// A condition as the content files write it, worked out once when loaded,
// since content never changes; read from its list, valid until the list changes.
struct Condition {
  std::string_view text;
  ScriptTest test;
  SourcePos source;
};

// A list of conditions, compiled as they are added: each is its source, its
// text and its test, coded as a script line's conditions are.
class Conditions : public LineCode {
 public:
  Conditions() = default;
  Conditions(std::initializer_list<std::string_view> texts);

  // Compiles the condition `text` from piece `piece` of its file and adds it.
  void push_back(std::string_view text, std::uint32_t piece = 0);

  class const_iterator : public ReadingIterator<Condition> {
   public:
    const_iterator() = default;
    const_iterator& operator++() {
      if (++index_ < list_->count_) read();
      return *this;
    }
    bool operator==(std::default_sentinel_t /*end*/) const { return index_ == list_->count_; }

   private:
    friend class Conditions;
    const_iterator(const Conditions* list, std::uint32_t index) : list_(list), index_(index), at_(list->code_.data()) {
      if (index_ < list_->count_) read();
    }
    void read();

    const Conditions* list_ = nullptr;
    std::uint32_t index_ = 0;
    const char* at_ = nullptr;  // where the code of the next condition begins
  };
  const_iterator begin() const { return {this, 0}; }
  std::default_sentinel_t end() const { return {}; }
};

// The words of a command or repeat line's conditions and of its command, as
// the parser read them, for tools that look at what a line says. Empty for a
// label or a line that is skipped.
struct ScriptWords {
  std::vector<Words> conditions;
  Words command;
};
ScriptWords script_words(const ScriptLine& line);

}  // namespace vesk
