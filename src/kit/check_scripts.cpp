// The checker's look at scripts and conditions, on the records the game runs:
// each line's compiled conditions and command, its operands as they were
// resolved, and the label that each repeat line found when it was loaded. The
// words of a line serve only to quote them in a message.
#include <algorithm>
#include <optional>
#include <unordered_map>

#include "base/index.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/script_code.hpp"
#include "kit/check_context.hpp"
#include "kit/tools.hpp"
#include "kit/xref.hpp"
#include "state/variables.hpp"

namespace vesk::kit {

namespace {

using Op = ScriptCommand::Op;
using OperandKind = Operand::Kind;

constexpr std::int32_t kNoArea = -1;

// What a script line or condition belongs to.
struct Owner {
  std::int32_t area = kNoArea;  // index of the area whose lists hold it; kNoArea for use scripts
  bool turn = false;            // a turn script line
};

// Where a script line or condition is, and what it belongs to.
struct Site {
  std::size_t file = 0;  // in the recorder's list of files
  std::size_t piece = 0;
  Owner owner;
};

Site site_of(const SourcePos& source, const Owner& owner) {
  return Site{source.file > 0 ? source.file - 1 : 0, source.piece, owner};
}

// The word `k` of a line's words, or the empty word.
std::string word_at(const Words& words, std::size_t k) { return k < words.size() ? words[k] : std::string(); }

bool is_named(const Operand& operand, std::string_view name) {
  return operand.kind == OperandKind::kNamed && kNamedVariableNames[static_cast<std::size_t>(operand.number)] == name;
}

bool is_arithmetic(Op op) { return op >= Op::kAdd && op <= Op::kSet; }

std::string more_places(std::size_t count) {
  if (count <= 1) return {};
  return " (and in " + std::to_string(count - 1) + " more place" + (count == 2 ? ")" : "s)");
}

class ScriptChecker {
 public:
  explicit ScriptChecker(Context& ctx) : ctx_(ctx) {
    std::vector<std::string> names(kNamedVariableNames.begin(), kNamedVariableNames.end());
    variable_names_ = NearestName(names);
    std::vector<std::string> commands;
    for (const CommandWord& command : command_words()) commands.emplace_back(command.word);
    commands_ = NearestName(commands);
  }

  void run() {
    const World& world = ctx_.world;
    for (const Item& item : world.items) check_script(item.use_scripts, Owner{});
    for (std::size_t a = 0; a < world.area_count(); ++a) check_area(a);
    note_long_shown_lines();
    finish();
  }

 private:
  void check_area(std::size_t a) {
    const Area& area = ctx_.world.area(a);
    const Owner owner{static_cast<std::int32_t>(a), false};
    check_script(area.turn_scripts, Owner{owner.area, true});
    check_script(area.drop_scripts, owner);
    check_conditions(area.item_conditions, owner);
    auto lists = [&](const auto& choices) {
      for (const Choice& choice : choices) {
        check_conditions(choice.show_conditions, owner);
        check_conditions(choice.use_conditions, owner);
        check_script(choice.success_scripts, owner);
        check_script(choice.failure_scripts, owner);
      }
    };
    lists(area.paths);
    lists(area.actions);
  }

  void add(const Site& site, Check check, std::string message) {
    ctx_.add(site.file, site.piece, check, std::move(message));
  }

  // A number word that is no whole number: the game reads it by decimal
  // conversion, as `read_as`.
  void not_a_number(const Site& site, std::string_view word, const std::string& read_as, std::string_view hint = {}) {
    add(site, Check::kNotANumber,
        quote_text(word) + " stands where the game reads a number, and is no whole number, so the game reads it as " +
            read_as + std::string(hint));
  }

  // --- conditions -----------------------------------------------------------

  void check_conditions(const Conditions& conditions, const Owner& owner) {
    for (const Condition& condition : conditions) {
      check_condition(condition.test, split_words(condition.text), site_of(condition.source, owner), false);
    }
  }

  // `in_script`: one of the three-word conditions of a script line, where a
  // malformed condition most likely means a wrong condition count.
  void check_condition(const ScriptTest& test, const Words& words, const Site& site, bool in_script) {
    const std::string text = join_words(words, 0, word_count(words) - 1);
    const Check check = in_script ? Check::kConditionCount : Check::kBadCondition;
    const std::string count_hint = in_script ? "; check the line's condition count" : "";
    const std::string always_false =
        "the condition " + quote_text(text) +
        " is always false: a condition is \"= A B\", \"+ A B\" (A above B), \"- A B\" (A below B), \"tcw D1 D2\", "
        "\"tch H1 H2\" or \"NAME held\"" +
        count_hint;
    switch (test.kind) {
      case ScriptTest::Kind::kFalse: {
        if (words.empty()) {
          add(site, check, "the condition is empty, so it is always false; write a condition such as \"= v1 0\"");
          return;
        }
        // Too few words: what the condition would have been with its operands.
        const std::string& first = words[0];
        CompileTexts texts;
        const ScriptTest meant = compile_condition(WordViews{first, "0", "0"}, texts);
        if (meant.kind == ScriptTest::Kind::kWeekday || meant.kind == ScriptTest::Kind::kHour) {
          add(site, check,
              "the condition " + quote_text(text) + " needs two plain numbers after " + quote_text(first) + ": \"" +
                  first + (meant.kind == ScriptTest::Kind::kWeekday ? " 1 5\"" : " 9 17\"") + count_hint);
        } else {
          add(site, check, always_false);
        }
        return;
      }
      case ScriptTest::Kind::kWeekday:
      case ScriptTest::Kind::kHour: {
        const std::string_view hint = " (the bounds are plain numbers: variables are not read there)";
        if (test.low_loose) not_a_number(site, word_at(words, 1), std::to_string(test.low), hint);
        if (test.high_loose) not_a_number(site, word_at(words, 2), std::to_string(test.high), hint);
        return;
      }
      case ScriptTest::Kind::kHeld:
        if (test.item.empty()) {
          add(site, check, R"(the condition "held" names no item, so it is always false; write "rusty key held")");
        } else {
          ctx_.held_tests.push_back({std::string(test.item), site.file, site.piece});
        }
        return;
      case ScriptTest::Kind::kNoOperator:
        add(site, check, always_false);
        return;
      case ScriptTest::Kind::kEqual:
      case ScriptTest::Kind::kGreater:
      case ScriptTest::Kind::kLess:
        break;
    }
    if (words.size() > 3) {
      add(site, check,
          "the condition " + quote_text(text) + " has words after its two operands, which the game ignores" +
              (count_hint.empty() ? std::string("; remove them") : count_hint));
    }
    read_compared(test.left, word_at(words, 1), site);
    read_compared(test.right, word_at(words, 2), site);
  }

  void read_compared(const Operand& operand, const std::string& word, const Site& site) {
    if (operand.kind != OperandKind::kItemVariable) {
      read_variable(operand, word, site);
    } else if (!is_number_in(operand.number, 3)) {
      add(site, Check::kUnknownVariable,
          quote_text(word) + " names no item variable (vi1, vi2 and vi3 exist), so it always reads 0");
    } else if (operand.loose) {
      not_a_number(site, word, "vi" + std::to_string(operand.number));
    }
  }

  // --- variables ------------------------------------------------------------

  // A numbered variable, direct or the first of an indirect chain: false,
  // with a finding, when it is out of range.
  bool numbered(const Operand& operand, const std::string& word, const Site& site, std::string_view effect) {
    if (!is_number_in(operand.number, kMaxNumberedVariables)) {
      unknown_variable(word, site, effect);
      return false;
    }
    if (operand.loose) not_a_number(site, word, "v" + std::to_string(operand.number));
    return true;
  }

  void read_variable(const Operand& operand, const std::string& word, const Site& site) {
    switch (operand.kind) {
      case OperandKind::kAmmo:
        check_ammo_variable(operand, word, site);
        break;
      case OperandKind::kNumbered:
      case OperandKind::kIndirect:
        numbered(operand, word, site, "reads 0");
        break;
      case OperandKind::kNothing:
        unknown_variable(word, site, "reads 0");
        break;
      default:
        break;
    }
  }

  // Writes `operand`; `value` is the value written when the line fixes it.
  void write_variable(const Operand& operand, const std::string& word, const Site& site,
                      std::optional<std::int32_t> value) {
    switch (operand.kind) {
      case OperandKind::kLiteral:
        add(site, Check::kUnknownVariable,
            "the number " + quote_text(word) + " cannot be written to; name a variable such as v1");
        break;
      case OperandKind::kNamed:
        if (is_named(operand, "ca")) write_area(site, value);
        if (is_named(operand, "a2") && value && site.owner.area != kNoArea) {
          ctx_.area_facts[static_cast<std::size_t>(site.owner.area)].spot_writes.push_back(*value);
        }
        break;
      case OperandKind::kAmmo:
        check_ammo_variable(operand, word, site);
        break;
      case OperandKind::kIndirect:
        // The variable finally written is known only in play.
        indirect_writes_ = true;
        numbered(operand, word, site, "reads 0");
        break;
      case OperandKind::kNumbered:
        if (numbered(operand, word, site, "is never written") && value) {
          numbered_values_[operand.number].emplace_back(*value, site);
        }
        break;
      default:
        unknown_variable(word, site, "is never written (the game ignores the write)");
        break;
    }
  }

  void write_area(const Site& site, std::optional<std::int32_t> value) {
    const std::int32_t area = site.owner.area;
    if (!value) {
      ctx_.unknown_area_writes = true;
      if (area == kNoArea) ctx_.use_scripts_change_area = true;
      if (area != kNoArea) ctx_.area_facts[static_cast<std::size_t>(area)].may_leave = true;
      return;
    }
    const std::size_t count = ctx_.world.area_count();
    if (!is_number_in(*value, count)) {
      add(site, Check::kBadArea,
          "there is no area " + std::to_string(*value) + " (the game has " + std::to_string(count) +
              "), so the game ignores this write to \"ca\"; write an area number from 1 to " + std::to_string(count));
      return;
    }
    if (area == kNoArea) {
      ctx_.use_scripts_change_area = true;
      ctx_.use_area_writes.push_back(*value);
      return;
    }
    ctx_.area_facts[static_cast<std::size_t>(area)].area_writes.emplace_back(*value, site.piece);
    if (site.owner.turn && ctx_.world.area(static_cast<std::size_t>(*value - 1)).is_subdivided) {
      add(site, Check::kTurnCaSubdivided,
          "a turn script moves the player to area " + std::to_string(*value) +
              ", which is subdivided: the player arrives with no spot shown until the next turn passes; move the "
              "player with a path or an action's script instead");
    }
  }

  void check_ammo_variable(const Operand& operand, const std::string& word, const Site& site) {
    if (ctx_.world.find_ammo(operand.weapon) >= 0) return;
    add(site, Check::kUnknownWeapon,
        "no weapon that fires ammunition is named " + quote_text(operand.weapon) + ", so " + quote_text(word) +
            " is no variable (it reads 0)" + ctx_.weapon_hint(operand.weapon) + " (write spaces in the name as \"_\")");
  }

  void unknown_variable(const std::string& word, const Site& site, std::string_view effect) {
    add(site, Check::kUnknownVariable,
        quote_text(word) + " is no variable the game knows, so it " + std::string(effect) +
            did_you_mean(variable_names_.nearest(word)) +
            " (the variables are game, steps, htcw, ca, prev, a2, air, air2, dt1, dt2, h, m, a_WEAPON, vN, vvN, and "
            "sN for texts)");
  }

  // --- scripts --------------------------------------------------------------

  // An area's script lists and an item's use script alike.
  void check_script(const Script& script, const Owner& owner) {
    std::vector<bool> label_used(script.size(), false);
    for (const ScriptLine& line : script) {
      const Site site = site_of(line.source, owner);
      switch (line.kind) {
        case ScriptLine::Kind::kSkip:
          skipped_line(line, site, owner.area == kNoArea);
          break;
        case ScriptLine::Kind::kLabel:
          if (word_views(line.text).size() > 3) {
            add(site, Check::kKeywordTrap,
                "the second-to-last word is \"repetition\", so the line is only the label " + quote_text(line.label) +
                    " and nothing else of it runs; a label line is \"0 repetition NAME\"");
          }
          break;
        case ScriptLine::Kind::kRepeat: {
          guarded(line, site);
          if (word_views(line.text).size() > 3 * line.conditions.size() + 3) {
            add(site, Check::kKeywordTrap,
                "the second-to-last word is \"repeat\", so the line jumps back to the label " + quote_text(line.label) +
                    " and its other words do not run; a repeat line is \"COUNT CONDITIONS repeat NAME\"");
          }
          if (line.label_line == ScriptLine::kNoLabel) {
            add(site, Check::kMissingLabel,
                "no label " + quote_text(line.label) +
                    " stands above this repeat line in its list, so the game goes on with the next line; put \"0 "
                    "repetition " +
                    std::string(line.label) + "\" above it");
          } else if (line.label_line < label_used.size()) {
            label_used[line.label_line] = true;
          }
          break;
        }
        case ScriptLine::Kind::kCommand:
          guarded(line, site);
          check_command(line.command, script_words(line).command, site);
          break;
      }
    }
    std::size_t k = 0;
    for (const ScriptLine& line : script) {
      if (line.kind == ScriptLine::Kind::kLabel && !label_used[k]) {
        add(site_of(line.source, owner), Check::kUnusedLabel,
            "no repeat line below it jumps to the label " + quote_text(line.label) +
                "; remove it or add \"COUNT CONDITIONS repeat " + std::string(line.label) + "\" below it");
      }
      ++k;
    }
  }

  // A line that the game skips has no conditions and no command to look at:
  // only its words tell why.
  void skipped_line(const ScriptLine& line, const Site& site, bool use_script) {
    const Words words = split_words(line.text);
    if (words.empty() || (words.size() == 1 && words[0].empty())) {
      add(site, Check::kShortLine, "the script line is empty, so it does nothing; write \"0 msg Hello\" or remove it");
      return;
    }
    if (words.size() == 1 && !use_script) {
      if (is_whole_number(words[0])) {
        add(site, Check::kShortLine, "the script line has a condition count but no command, so it does nothing");
      } else {
        add(site, Check::kConditionCount,
            "the script line has no condition count, so the game skips it; write \"0 " + words[0] + "\"");
      }
      return;
    }
    const std::int32_t count = to_int(words[0]);
    add(site, Check::kConditionCount,
        "the condition count " + quote_text(words[0]) +
            (count < 0
                 ? std::string(" is below 0")
                 : " asks for " + std::to_string(3 * std::int64_t{count}) + " words of conditions but the line has " +
                       std::to_string(words.size() - 1) + " words after it") +
            ", so the game skips the line; each condition is three words");
  }

  // The guard of a script line: its count and conditions.
  void guarded(const ScriptLine& line, const Site& site) {
    const ScriptWords words = script_words(line);
    if (line.count_loose) {
      const std::string count = split_words(line.text).front();
      if (line.conditions.empty() && to_int(count) == 0) {
        add(site, Check::kConditionCount,
            "the line begins with " + quote_text(count) +
                ", not a condition count: the game reads the count as 0 and runs the words after it; begin the line "
                "with \"0\"");
        return;
      }
      not_a_number(site, count, std::to_string(line.conditions.size()), " (the line's condition count)");
    }
    std::size_t k = 0;
    for (const ScriptTest& condition : line.conditions) {
      if (k == words.conditions.size()) break;
      check_condition(condition, words.conditions[k++], site, true);
    }
  }

  void check_command(const ScriptCommand& command, const Words& words, const Site& site) {
    const std::int32_t area = site.owner.area;
    switch (command.op) {
      case Op::kNothing:
      case Op::kReadOnly:
      case Op::kUnknown:
        idle_command(words, site);
        break;
      case Op::kTerminate:
      case Op::kLoad:
        if (area != kNoArea) ctx_.area_facts[static_cast<std::size_t>(area)].may_leave = true;
        if (command.op == Op::kLoad && area == kNoArea) ctx_.use_scripts_change_area = true;
        break;
      case Op::kMessageLine:
        check_message(command, words, site);
        break;
      case Op::kPlaceUnique:
      case Op::kPlace:
        if (command.text.empty()) {
          add(site, Check::kShortLine,
              quote_text(words[0]) + " needs the name of the enemy to place: \"" + words[0] + " goblin\"");
        } else if (!ctx_.world.find_enemy(command.text)) {
          add(site, Check::kUnknownEnemy,
              "no enemy is named " + quote_text(command.text) + ctx_.enemy_hint(command.text) +
                  " (the command places nothing)");
        }
        break;
      case Op::kGiveAmmo:
        if (ctx_.world.find_ammo(command.name) < 0) {
          add(site, Check::kUnknownWeapon,
              "no weapon that fires ammunition is named " + quote_text(command.name) + ctx_.weapon_hint(command.name) +
                  " (the command gives nothing; it names the weapon by one word only)");
        } else if (command.loose) {
          not_a_number(site, command.text, std::to_string(command.number));
        }
        break;
      case Op::kGiveItem:
      case Op::kTakeItem: {
        const bool give = command.op == Op::kGiveItem;
        if (command.text.empty()) {
          add(site, Check::kShortLine,
              quote_text(words[0]) + " needs the name of an item: \"" + words[0] + " rusty key\"");
        } else if (!ctx_.world.find_item(command.text)) {
          add(site, Check::kUnknownItem,
              "no item is named " + quote_text(command.text) + ctx_.item_hint(command.text) +
                  (give ? " (the command gives nothing)" : " (the command takes nothing)"));
        } else if (give) {
          ctx_.obtainable.emplace(command.text);
        }
        break;
      }
      case Op::kSetString:
        if (!is_number_in(command.number, kMaxStringVariables)) {
          unknown_variable(word_at(words, 1), site, "is never written");
        } else if (command.loose) {
          not_a_number(site, word_at(words, 1), "s" + std::to_string(command.number));
        }
        break;
      case Op::kAskNumber:
      case Op::kSquareRoot:
        write_variable(command.target, word_at(words, 1), site, std::nullopt);
        break;
      case Op::kPrint:
      case Op::kQueueMessage:
        note_long_line(command.text, site);
        break;
      default:
        if (is_arithmetic(command.op)) check_arithmetic(command, words, site);
        break;
    }
  }

  // A line of text wider than an 80-column console, where the terminal breaks
  // it in the middle of a word.
  void note_long_line(std::string_view text, const Site& site) {
    text = without_line_end(text);
    std::size_t characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    // A line the game cuts into pieces has its own finding (text-cut).
    if (characters <= kConsoleLine || text.size() >= kLineCapacity) return;
    add(site, Check::kLongLine,
        format_text("the text is %zu characters long, wider than the %zu columns that an 80-column console shows "
                    "whole, so the console breaks it, often inside a word; break it into shorter lines",
                    characters, kConsoleLine));
  }
  static constexpr std::size_t kConsoleLine = 79;

  // The lines that the game shows as they stand: messages and descriptions.
  void note_long_shown_lines() {
    const World& world = ctx_.world;
    for (std::size_t m = 0; m < world.messages.size() && m < ctx_.rec.messages.size(); ++m) {
      const TextLines& lines = world.messages[m];
      for (std::size_t k = 0; k < lines.size(); ++k) note_long_line(lines[k], Site{ctx_.rec.messages[m], k, Owner{}});
    }
    for (std::size_t a = 0; a < world.area_count() && a < ctx_.rec.areas.size(); ++a) {
      const Area& area = world.area(a);
      const Site site{ctx_.rec.areas[a].file, 0, Owner{static_cast<std::int32_t>(a), false}};
      const auto at = [&](std::size_t piece) {
        Site here = site;
        here.piece = piece;
        return here;
      };
      for (std::size_t k = 0; k < area.long_description.size(); ++k) note_long_line(area.long_description[k], at(k));
      const std::size_t short_start = area.long_description.size() + 1;
      for (std::size_t k = 0; k < area.short_description.size(); ++k) {
        note_long_line(area.short_description[k], at(short_start + k));
      }
    }
  }

  // A command that does nothing: too few words for its command word, or no
  // command word at all.
  void idle_command(const Words& words, const Site& site) {
    if (words.empty()) {
      add(site, Check::kShortLine, "the script line has conditions but no command, so it does nothing");
      return;
    }
    const std::string& word = words[0];
    const auto& known = command_words();
    const auto named = std::find_if(known.begin(), known.end(), [&](const CommandWord& c) { return c.word == word; });
    if (named != known.end()) {
      add(site, Check::kShortLine, short_command_form(named->op, word));
      return;
    }
    CompileTexts texts;
    const ScriptTest meant = compile_condition(WordViews{word, "0", "0"}, texts);
    if (meant.kind != ScriptTest::Kind::kNoOperator) {
      add(site, Check::kConditionCount,
          "the command begins with " + quote_text(word) +
              ", which begins a condition: the line holds more conditions than its count says; raise the count");
      return;
    }
    add(site, Check::kUnknownCommand,
        quote_text(word) + " is no command, so the line does nothing" + did_you_mean(commands_.nearest(word)));
  }

  // What a command word needs after it, for a command with too few words.
  static std::string short_command_form(Op op, const std::string& word) {
    switch (op) {
      case Op::kMessageLine:
        return R"("msf" needs a file and a line number: "msf 1 3")";
      case Op::kGiveAmmo:
        return R"("." needs a weapon and an amount: ". crossbow 6")";
      case Op::kAskNumber:
        return R"("nk" needs a variable and a prompt: "nk v1 How many?")";
      case Op::kSquareRoot:
        return R"("sqr" needs a variable: "sqr v1")";
      default:
        return quote_text(word) + " needs a variable and a value: \"" + word + " v1 5\"";
    }
  }

  void check_message(const ScriptCommand& command, const Words& words, const Site& site) {
    const std::int32_t file = command.number;
    const std::size_t files = ctx_.world.messages.size();
    if (!is_number_in(file, files)) {
      add(site, Check::kBadMessage,
          "there is no message file msg" + word_at(words, 1) + ".txt (the game has " + std::to_string(files) +
              "), so the command shows nothing");
      return;
    }
    if (command.loose) not_a_number(site, word_at(words, 1), std::to_string(file));
    if (command.target.kind != OperandKind::kLiteral) {
      read_variable(command.target, word_at(words, 2), site);
      if (command.target.kind == OperandKind::kNumbered) message_lines_.push_back({file, command.target.number, site});
      return;
    }
    const std::size_t lines = ctx_.world.messages[static_cast<std::size_t>(file - 1)].size();
    if (!is_number_in(command.target.number, lines)) {
      add(site, Check::kBadMessage,
          "msg" + std::to_string(file) + ".txt has no line " + word_at(words, 2) + " (it has " + std::to_string(lines) +
              "), so the command shows nothing");
    }
  }

  void check_arithmetic(const ScriptCommand& command, const Words& words, const Site& site) {
    const Operand& value = command.value;
    const std::string word = word_at(words, 2);
    std::optional<std::int32_t> fixed;
    if (value.kind == OperandKind::kLiteral) {
      fixed = value.number;
    } else if (value.kind == OperandKind::kRandom) {
      if (value.number == 0) {
        add(site, Check::kUnknownVariable,
            quote_text(word) +
                " is a random number below N only with a number N after the \"x\" (\"x6\"); as written "
                "the command does nothing");
      } else if (value.loose) {
        not_a_number(site, word, "x" + std::to_string(value.number));
      }
    } else {
      read_variable(value, word, site);
    }
    write_variable(command.target, word_at(words, 1), site, command.op == Op::kSet ? fixed : std::nullopt);
  }

  // --- after every script -----------------------------------------------------

  void finish() {
    // An "msf" line number read from a variable: every value that a script
    // sets it to is seen here, and one outside the file shows nothing.
    for (const MessageLine& read : message_lines_) {
      const auto values = numbered_values_.find(read.variable);
      if (values == numbered_values_.end()) continue;
      const std::size_t lines = ctx_.world.messages[static_cast<std::size_t>(read.file - 1)].size();
      for (const auto& [value, writer] : values->second) {
        if (is_number_in(value, lines)) continue;
        add(read.site, Check::kBadMessage,
            "the line is read from v" + std::to_string(read.variable) + ", which a script in " +
                ctx_.rec.files[writer.file].name + " sets to " + std::to_string(value) + ", but msg" +
                std::to_string(read.file) + ".txt has " + std::to_string(lines) +
                " lines, so the command shows nothing then");
      }
    }
    unwritten_variables();
  }

  // Variables that something reads and nothing writes, from the cross
  // reference of the whole game. A write through "vvN" may write any numbered
  // variable, so then none of them counts as unwritten.
  void unwritten_variables() {
    for (const XrefEntry& entry : cross_reference(ctx_.world)) {
      if (!entry.written.empty() || entry.read.empty() || entry.name.size() < 2) continue;
      const std::string number = std::to_string(entry.number);
      if (entry.name != entry.name.substr(0, 1) + number) continue;  // "vi1", "a_bow", "h": not numbered
      const SourcePos first = *std::min_element(entry.read.begin(), entry.read.end(), [](const auto& a, const auto& b) {
        return std::tie(a.file, a.piece) < std::tie(b.file, b.piece);
      });
      const Site site = site_of(first, Owner{});
      const std::string more = more_places(entry.read.size());
      if (entry.kind == XrefEntry::Kind::kVariable && !indirect_writes_ &&
          is_number_in(entry.number, kMaxNumberedVariables)) {
        add(site, Check::kUnwrittenVariable,
            format_text("v%s is read here%s, but no script writes it, so it is always 0; write it somewhere (\"s v%s "
                        "1\") or read the variable that is meant",
                        number.c_str(), more.c_str(), number.c_str()));
      } else if (entry.kind == XrefEntry::Kind::kString && is_number_in(entry.number, kMaxStringVariables)) {
        add(site, Check::kUnwrittenVariable,
            format_text("s%s is shown here%s, but no script writes it, so it is always empty; write it (\"s s%s some "
                        "text\") or show the text that is meant",
                        number.c_str(), more.c_str(), number.c_str()));
      }
    }
  }

  Context& ctx_;
  NearestName variable_names_;
  NearestName commands_;
  std::unordered_map<std::int32_t, std::vector<std::pair<std::int32_t, Site>>> numbered_values_;  // literal sets
  struct MessageLine {
    std::int32_t file;      // the message file, from 1
    std::int32_t variable;  // the numbered variable that gives the line
    Site site;
  };
  std::vector<MessageLine> message_lines_;
  bool indirect_writes_ = false;
};

}  // namespace

void check_scripts(Context& ctx) { ScriptChecker(ctx).run(); }

}  // namespace vesk::kit
