// The checker's look at scripts and conditions: command words, condition
// counts, names of items, enemies, weapons and variables, labels and repeats,
// and what the scripts do to the player's whereabouts.
#include <algorithm>
#include <unordered_map>

#include "base/index.hpp"
#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/check_context.hpp"
#include "script/variables.hpp"
#include "state/variables.hpp"

namespace vesk::kit {

namespace {

constexpr std::int32_t kNoArea = -1;

// Where a script line or condition is, and what it belongs to.
struct Site {
  std::size_t file = 0;
  std::size_t piece = 0;
  std::int32_t area = kNoArea;  // index of the area whose lists hold it; kNoArea for use scripts
  bool turn = false;            // a turn script line
};

bool operator<(const Site& a, const Site& b) { return std::tie(a.file, a.piece) < std::tie(b.file, b.piece); }

struct Reads {
  Site first;
  std::size_t count = 0;
};

const std::vector<std::string>& command_words() {
  static const std::vector<std::string> kWords = {"terminate", "msf", "msg", ";",  ",",  ".",   ":",   "_",
                                                  "swim",      "wtr", "n",   "ld", "sv", "d1t", "d2t", "s",
                                                  "nk",        "sqr", "a",   "d",  "m",  "p",   "%",   "pow"};
  return kWords;
}

bool is_arithmetic(const std::string& word) {
  return word == "a" || word == "d" || word == "m" || word == "p" || word == "%" || word == "pow" || word == "s";
}

bool is_condition_word(const std::string& word) {
  return word == "=" || word == "+" || word == "-" || word == "tcw" || word == "tch";
}

class ScriptChecker {
 public:
  explicit ScriptChecker(Context& ctx) : ctx_(ctx) {
    std::vector<std::string> names;
    names.reserve(kNamedVariables.size());
    for (const NamedVariable& variable : kNamedVariables) names.emplace_back(variable.name);
    variable_names_ = NearestName(names);
    commands_ = NearestName(command_words());
    ctx_.area_facts.resize(ctx_.world.area_count());
  }

  void run() {
    const World& world = ctx_.world;
    for (std::size_t i = 0; i < world.items.size() && i < ctx_.rec.items.size(); ++i) {
      const ItemTrace& trace = ctx_.rec.items[i];
      check_script(world.items[i].use_scripts, trace.use_scripts, Site{trace.file, 0, kNoArea, false});
    }
    for (std::size_t i = 0; i < world.enemies.size() && i < ctx_.rec.enemies.size(); ++i) {
      check_loot(world.enemies[i], ctx_.rec.enemies[i]);
    }
    for (std::size_t a = 0; a < world.area_count() && a < ctx_.rec.areas.size(); ++a) check_area(a);
    for (std::size_t m = 0; m < world.messages.size() && m < ctx_.rec.messages.size(); ++m) {
      const TextLines& lines = world.messages[m];
      for (std::size_t k = 0; k < lines.size(); ++k) {
        read_text(lines[k], Site{ctx_.rec.messages[m], k});
        note_long_line(lines[k], Site{ctx_.rec.messages[m], k});
      }
    }
    for (const Area& area : world.all_areas()) {
      for (const PlacedItem& item : area.items) ctx_.obtainable.insert(item.item->name);
    }
    finish();
  }

 private:
  void check_area(std::size_t a) {
    const Area& area = ctx_.world.area(a);
    const AreaTrace& trace = ctx_.rec.areas[a];
    const auto area_index = static_cast<std::int32_t>(a);
    Site site{trace.file, 0, area_index, false};
    for (std::size_t k = 0; k < area.long_description.size(); ++k) {
      read_text(area.long_description[k], at(site, k));
      note_long_line(area.long_description[k], at(site, k));
    }
    const std::size_t short_start = area.long_description.size() + 1;
    for (std::size_t k = 0; k < area.short_description.size(); ++k) {
      read_text(area.short_description[k], at(site, short_start + k));
      note_long_line(area.short_description[k], at(site, short_start + k));
    }
    Site turn = site;
    turn.turn = true;
    check_script(area.turn_scripts, trace.turn_scripts, turn);
    check_script(area.drop_scripts, trace.drop_scripts, site);
    check_conditions(area.item_conditions, trace.item_conditions, site);
    auto lists = [&](const auto& entries, const std::vector<ListPieces>& pieces) {
      static const ListPieces kNone;
      for (std::size_t e = 0; e < entries.size(); ++e) {
        const ListPieces& where = e < pieces.size() ? pieces[e] : kNone;
        const Choice& choice = entries[e];
        check_conditions(choice.show_conditions, where[0], site);
        check_conditions(choice.use_conditions, where[1], site);
        check_script(choice.success_scripts, where[2], site);
        check_script(choice.failure_scripts, where[3], site);
      }
    };
    lists(area.paths, trace.path_lists);
    lists(area.actions, trace.action_lists);
  }

  static Site at(Site site, std::size_t piece) {
    site.piece = piece;
    return site;
  }

  static Site at(Site site, const std::vector<std::size_t>& pieces, std::size_t index) {
    site.piece = index < pieces.size() ? pieces[index] : 0;
    return site;
  }

  void add(const Site& site, std::string_view check, std::string message) {
    ctx_.add(site.file, site.piece, check, std::move(message));
  }

  // --- conditions -----------------------------------------------------------

  void check_conditions(const Conditions& conditions, const std::vector<std::size_t>& pieces, const Site& site) {
    for (std::size_t k = 0; k < conditions.size(); ++k) {
      check_condition(split_words(conditions[k].text), at(site, pieces, k), false);
    }
  }

  // `in_script`: one of the three-word conditions of a script line, where a
  // malformed condition most likely means a wrong condition count.
  void check_condition(const Words& words, const Site& site, bool in_script) {
    const std::string text = join_words(words, 0, word_count(words) - 1);
    const std::string_view check = in_script ? "condition-count" : "bad-condition";
    const std::string count_hint = in_script ? "; check the line's condition count" : "";
    if (words.empty()) {
      add(site, check, "the condition is empty, so it is always false; write a condition such as \"= v1 0\"");
      return;
    }
    const std::string& first = words[0];
    if (first == "tcw" || first == "tch") {
      if (words.size() < 3 || !is_integer_text(words[1]) || !is_integer_text(words[2]) || words[1].empty() ||
          words[2].empty()) {
        add(site, check,
            "the condition " + quote_text(text) + " needs two plain numbers after " + quote_text(first) +
                " (variables are not read there): \"" + first + (first == "tcw" ? " 1 5\"" : " 9 17\"") + count_hint);
      }
      return;
    }
    if (words.back() == "held") {
      const std::string name = join_words(words, 0, word_count(words) - 2);
      if (name.empty()) {
        add(site, check, R"(the condition "held" names no item, so it is always false; write "rusty key held")");
      } else {
        held_.emplace_back(name, site);
      }
      return;
    }
    if (words.size() < 3 || (first != "=" && first != "+" && first != "-")) {
      add(site, check,
          "the condition " + quote_text(text) +
              " is always false: a condition is \"= A B\", \"+ A B\" (A above B), \"- A B\" (A below B), \"tcw D1 "
              "D2\", "
              "\"tch H1 H2\" or \"NAME held\"" +
              count_hint);
      return;
    }
    if (words.size() > 3) {
      add(site, check,
          "the condition " + quote_text(text) + " has words after its two operands, which the game ignores" +
              (count_hint.empty() ? std::string("; remove them") : count_hint));
    }
    read_operand(words[1], site);
    read_operand(words[2], site);
  }

  void read_operand(const std::string& word, const Site& site) {
    if (starts_with(word, "vi")) {
      if (!is_number_in(to_int(std::string_view(word).substr(2)), 3)) {
        add(site, "unknown-variable",
            quote_text(word) + " names no item variable (vi1, vi2 and vi3 exist), so it always reads 0");
      }
      return;
    }
    read_variable(word, site);
  }

  // --- variables ------------------------------------------------------------

  void read_variable(const std::string& name, const Site& site) {
    if (is_integer_text(name) || named_field(name)) return;
    if (starts_with(name, "a_")) {
      check_ammo_variable(name, site);
    } else if (starts_with(name, "vv")) {
      read_variable(name.substr(1), site);
    } else if (starts_with(name, "v")) {
      const std::int32_t number = to_int(std::string_view(name).substr(1));
      if (!is_number_in(number, kMaxNumberedVariables)) {
        unknown_variable(name, site, "reads 0");
        return;
      }
      Reads& reads = numbered_reads_[number];
      if (reads.count++ == 0 || site < reads.first) reads.first = site;
    } else {
      unknown_variable(name, site, "reads 0");
    }
  }

  // Writes `name`; `value` is the value written when the line fixes it.
  void write_variable(const std::string& name, const Site& site, std::optional<std::int32_t> value) {
    if (is_integer_text(name)) {
      add(site, "unknown-variable",
          "the number " + quote_text(name) + " cannot be written to; name a variable such as v1");
      return;
    }
    if (named_field(name)) {
      if (name == "ca") write_area(site, value);
      if (name == "a2" && value && site.area != kNoArea) {
        ctx_.area_facts[static_cast<std::size_t>(site.area)].spot_writes.push_back(*value);
      }
      return;
    }
    if (starts_with(name, "a_")) {
      check_ammo_variable(name, site);
    } else if (starts_with(name, "vv")) {
      indirect_writes_ = true;
      read_variable(name.substr(1), site);
    } else if (starts_with(name, "v")) {
      const std::int32_t number = to_int(std::string_view(name).substr(1));
      if (!is_number_in(number, kMaxNumberedVariables)) {
        unknown_variable(name, site, "is never written");
        return;
      }
      numbered_written_.insert(number);
      if (value) numbered_values_[number].emplace_back(*value, site);
    } else {
      unknown_variable(name, site, "is never written (the game ignores the write)");
    }
  }

  void write_area(const Site& site, std::optional<std::int32_t> value) {
    if (!value) {
      ctx_.unknown_area_writes = true;
      if (site.area == kNoArea) ctx_.use_scripts_change_area = true;
      if (site.area != kNoArea) ctx_.area_facts[static_cast<std::size_t>(site.area)].may_leave = true;
      return;
    }
    const std::size_t count = ctx_.world.area_count();
    if (!is_number_in(*value, count)) {
      add(site, "bad-area",
          "there is no area " + std::to_string(*value) + " (the game has " + std::to_string(count) +
              "), so the game ignores this write to \"ca\"; write an area number from 1 to " + std::to_string(count));
      return;
    }
    if (site.area == kNoArea) {
      ctx_.use_scripts_change_area = true;
      ctx_.use_area_writes.push_back(*value);
      return;
    }
    ctx_.area_facts[static_cast<std::size_t>(site.area)].area_writes.emplace_back(*value, site.piece);
    if (site.turn && ctx_.world.area(static_cast<std::size_t>(*value - 1)).is_subdivided) {
      add(site, "turn-ca-subdivided",
          "a turn script moves the player to area " + std::to_string(*value) +
              ", which is subdivided: the player arrives with no spot shown until the next turn passes; move the "
              "player with a path or an action's script instead");
    }
  }

  void check_ammo_variable(const std::string& name, const Site& site) {
    const std::string weapon = replace_char(cut(std::string_view(name).substr(2), kAmmoNameCapacity), '_', ' ');
    if (ctx_.world.find_ammo(weapon) >= 0) return;
    std::string hint = ctx_.weapon_hint(weapon);
    add(site, "unknown-weapon",
        "no weapon that fires ammunition is named " + quote_text(weapon) + ", so " + quote_text(name) +
            " is no variable (it reads 0)" + hint + " (write spaces in the name as \"_\")");
  }

  void unknown_variable(const std::string& name, const Site& site, std::string_view effect) {
    add(site, "unknown-variable",
        quote_text(name) + " is no variable the game knows, so it " + std::string(effect) +
            did_you_mean(variable_names_.nearest(name)) +
            " (the variables are game, steps, htcw, ca, prev, a2, air, air2, dt1, dt2, h, m, a_WEAPON, vN, vvN, and "
            "sN for texts)");
  }

  // "+vN" and "+sN" words of a text that the game expands.
  void read_text(std::string_view text, const Site& site) {
    if (text.find('+') == std::string_view::npos) return;
    for (const std::string& word : split_words(text)) {
      if (starts_with(word, "+v")) {
        const std::int32_t number = to_int(std::string_view(word).substr(2));
        if (!is_number_in(number, kMaxNumberedVariables)) continue;
        Reads& reads = numbered_reads_[number];
        if (reads.count++ == 0 || site < reads.first) reads.first = site;
      } else if (starts_with(word, "+s")) {
        const std::int32_t number = to_int(std::string_view(word).substr(2));
        if (!is_number_in(number, kMaxStringVariables)) continue;
        Reads& reads = string_reads_[number];
        if (reads.count++ == 0 || site < reads.first) reads.first = site;
      }
    }
  }

  // A line of text wider than an 80-column console, where the terminal breaks
  // it in the middle of a word.
  void note_long_line(std::string_view text, const Site& site) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    std::size_t characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    // A line the game cuts into pieces has its own finding (text-cut).
    if (characters <= kConsoleLine || text.size() >= kLineCapacity) return;
    add(site, "long-line",
        format_text("the text is %zu characters long, wider than the %zu columns that an 80-column console shows "
                    "whole, so the console breaks it, often inside a word; break it into shorter lines",
                    characters, kConsoleLine));
  }
  static constexpr std::size_t kConsoleLine = 79;

  // --- scripts --------------------------------------------------------------

  // An area's script lists and an item's use script alike: any list of lines.
  template <typename ScriptLines>
  void check_script(const ScriptLines& script, const std::vector<std::size_t>& pieces, const Site& where) {
    // Labels of this list: name -> index of each label line.
    std::unordered_map<std::string, std::vector<std::size_t>> labels;
    std::vector<bool> label_used(script.size(), false);
    for (std::size_t i = 0; i < script.size(); ++i) {
      const ScriptLine& line = script[i];
      const Site site = at(where, pieces, i);
      switch (line.kind) {
        case ScriptLine::Kind::kSkip:
          skipped_line(line, site, where.area == kNoArea);
          break;
        case ScriptLine::Kind::kLabel: {
          labels[line.label].push_back(i);
          const Words words = split_words(line.text);
          if (words.size() > 3) {
            add(site, "keyword-trap",
                "the second-to-last word is \"repetition\", so the line is only the label " + quote_text(line.label) +
                    " and nothing else of it runs; a label line is \"0 repetition NAME\"");
          }
          break;
        }
        case ScriptLine::Kind::kRepeat: {
          guarded(line, site);
          const Words words = split_words(line.text);
          if (words.size() > 3 * line.conditions.size() + 3) {
            add(site, "keyword-trap",
                "the second-to-last word is \"repeat\", so the line jumps back to the label " + quote_text(line.label) +
                    " and its other words do not run; a repeat line is \"COUNT CONDITIONS repeat NAME\"");
          }
          auto found = labels.find(line.label);
          if (found == labels.end()) {
            add(site, "missing-label",
                "no label " + quote_text(line.label) +
                    " stands above this repeat line in its list, so the game goes on with the next line; put \"0 "
                    "repetition " +
                    line.label + "\" above it");
          } else {
            label_used[found->second.back()] = true;
          }
          break;
        }
        case ScriptLine::Kind::kCommand:
          guarded(line, site);
          check_command(script_words(line).command, site);
          break;
      }
    }
    for (const auto& [name, indices] : labels) {
      for (std::size_t index : indices) {
        if (label_used[index]) continue;
        add(at(where, pieces, index), "unused-label",
            "no repeat line below it jumps to the label " + quote_text(name) +
                "; remove it or add \"COUNT CONDITIONS repeat " + name + "\" below it");
      }
    }
  }

  void skipped_line(const ScriptLine& line, const Site& site, bool use_script) {
    const Words words = split_words(line.text);
    if (words.empty() || (words.size() == 1 && words[0].empty())) {
      add(site, "short-line", "the script line is empty, so it does nothing; write \"0 msg Hello\" or remove it");
      return;
    }
    if (words.size() == 1 && !use_script) {
      if (is_integer_text(words[0])) {
        add(site, "short-line", "the script line has a condition count but no command, so it does nothing");
      } else {
        add(site, "condition-count",
            "the script line has no condition count, so the game skips it; write \"0 " + words[0] + "\"");
      }
      return;
    }
    const std::int32_t count = to_int(words[0]);
    add(site, "condition-count",
        "the condition count " + quote_text(words[0]) +
            (count < 0
                 ? std::string(" is below 0")
                 : " asks for " + std::to_string(3 * std::int64_t{count}) + " words of conditions but the line has " +
                       std::to_string(words.size() - 1) + " words after it") +
            ", so the game skips the line; each condition is three words");
  }

  // The guard of a script line: its count and conditions.
  void guarded(const ScriptLine& line, const Site& site) {
    const Words words = split_words(line.text);
    if (!words.empty() && !is_integer_text(words[0])) {
      add(site, "condition-count",
          "the line begins with " + quote_text(words[0]) +
              ", not a condition count: the game reads the count as 0 and runs the words after it; begin the line "
              "with \"0\"");
      return;
    }
    for (const Words& condition : script_words(line).conditions) check_condition(condition, site, true);
  }

  void check_command(const Words& words, const Site& site) {
    if (words.empty()) {
      add(site, "short-line", "the script line has conditions but no command, so it does nothing");
      return;
    }
    const std::string& word = words[0];
    const std::size_t w = words.size();
    if (word == "terminate" || word == "swim" || word == "wtr" || word == "ld" || word == "sv" || word == "d1t" ||
        word == "d2t") {
      if ((word == "terminate" || word == "ld") && site.area != kNoArea) {
        ctx_.area_facts[static_cast<std::size_t>(site.area)].may_leave = true;
      }
      if (word == "ld" && site.area == kNoArea) ctx_.use_scripts_change_area = true;
    } else if (word == "msf") {
      check_message(words, site);
    } else if (word == "msg" || word == ":") {
      read_text(words_from(words, 1), site);
      note_long_line(words_from(words, 1), site);
    } else if (word == ";" || word == ",") {
      const std::string name = words_from(words, 1);
      if (name.empty()) {
        add(site, "short-line", "\"" + word + "\" needs the name of the enemy to place: \"" + word + " goblin\"");
      } else if (!ctx_.world.find_enemy(name)) {
        add(site, "unknown-enemy",
            "no enemy is named " + quote_text(name) + ctx_.enemy_hint(name) + " (the command places nothing)");
      }
    } else if (word == ".") {
      if (w < 3) {
        add(site, "short-line", R"("." needs a weapon and an amount: ". crossbow 6")");
      } else if (ctx_.world.find_ammo(words[1]) < 0) {
        add(site, "unknown-weapon",
            "no weapon that fires ammunition is named " + quote_text(words[1]) + ctx_.weapon_hint(words[1]) +
                " (the command gives nothing; it names the weapon by one word only)");
      }
    } else if (word == "_" || word == "n") {
      const std::string name = words_from(words, 1);
      if (name.empty()) {
        add(site, "short-line", "\"" + word + "\" needs the name of an item: \"" + word + " rusty key\"");
      } else if (!ctx_.world.find_item(name)) {
        add(site, "unknown-item",
            "no item is named " + quote_text(name) + ctx_.item_hint(name) +
                (word == "_" ? " (the command gives nothing)" : " (the command takes nothing)"));
      } else if (word == "_") {
        ctx_.obtainable.insert(name);
      }
    } else if (word == "s" && w >= 2 && starts_with(words[1], "s") && words[1] != "steps") {
      const std::int32_t number = to_int(std::string_view(words[1]).substr(1));
      if (!is_number_in(number, kMaxStringVariables)) {
        unknown_variable(words[1], site, "is never written");
      } else {
        strings_written_.insert(number);
      }
      read_text(words_from(words, 2), site);
    } else if (word == "nk") {
      if (w < 2) {
        add(site, "short-line", R"("nk" needs a variable and a prompt: "nk v1 How many?")");
        return;
      }
      write_variable(words[1], site, std::nullopt);
      read_text(words_from(words, 2), site);
    } else if (word == "sqr" || is_arithmetic(word)) {
      check_arithmetic(words, site);
    } else if (is_condition_word(word)) {
      add(site, "condition-count",
          "the command begins with " + quote_text(word) +
              ", which begins a condition: the line holds more conditions than its count says; raise the count");
    } else {
      add(site, "unknown-command",
          quote_text(word) + " is no command, so the line does nothing" + did_you_mean(commands_.nearest(word)));
    }
  }

  void check_message(const Words& words, const Site& site) {
    if (words.size() < 3) {
      add(site, "short-line", R"("msf" needs a file and a line number: "msf 1 3")");
      return;
    }
    const std::int32_t file = to_int(words[1]);
    const std::size_t files = ctx_.world.messages.size();
    if (!is_number_in(file, files)) {
      add(site, "bad-message",
          "there is no message file msg" + words[1] + ".txt (the game has " + std::to_string(files) +
              "), so the command shows nothing");
      return;
    }
    if (!is_integer_text(words[2])) {
      read_variable(words[2], site);
      const Operand line = resolve_variable(words[2]);
      if (line.kind == Operand::Kind::kNumbered) message_lines_.push_back({file, line.number, site});
      return;
    }
    const std::size_t lines = ctx_.world.messages[static_cast<std::size_t>(file - 1)].size();
    if (!is_number_in(to_int(words[2]), lines)) {
      add(site, "bad-message",
          "msg" + std::to_string(file) + ".txt has no line " + words[2] + " (it has " + std::to_string(lines) +
              "), so the command shows nothing");
    }
  }

  void check_arithmetic(const Words& words, const Site& site) {
    const std::string& op = words[0];
    if (words.size() < (op == "sqr" ? 2U : 3U)) {
      add(site, "short-line",
          quote_text(op) +
              (op == "sqr" ? " needs a variable: \"sqr v1\"" : " needs a variable and a value: \"" + op + " v1 5\""));
      return;
    }
    if (op == "sqr") {
      write_variable(words[1], site, std::nullopt);
      return;
    }
    const std::string& operand = words[2];
    std::optional<std::int32_t> value;
    if (is_integer_text(operand)) {
      value = to_int(operand);
    } else if (starts_with(operand, "x")) {
      if (to_int(std::string_view(operand).substr(1)) == 0) {
        add(site, "unknown-variable",
            quote_text(operand) +
                " is a random number below N only with a number N after the \"x\" (\"x6\"); as written "
                "the command does nothing");
      }
    } else {
      read_variable(operand, site);
    }
    write_variable(words[1], site, op == "s" ? value : std::nullopt);
  }

  // --- loot -------------------------------------------------------------------

  void check_loot(const Enemy& enemy, const EnemyTrace& trace) {
    for (std::size_t k = 0; k < enemy.loot.size(); ++k) {
      const Site site{trace.file, k < trace.loot.size() ? trace.loot[k] : 0};
      const Words words = split_words(enemy.loot[k]);
      const long w = word_count(words);
      if (w < 4 || words[0] == "m") continue;
      if (words[0] == "ammo") {
        const std::string weapon = join_words(words, 1, w - 4);
        if (ctx_.world.find_ammo(weapon) < 0) {
          add(site, "unknown-weapon",
              "no weapon that fires ammunition is named " + quote_text(weapon) + ctx_.weapon_hint(weapon) +
                  " (the loot line gives nothing)");
        }
        continue;
      }
      const std::string name = join_words(words, 0, w - 4);
      if (ctx_.world.find_item(name)) {
        ctx_.obtainable.insert(name);
      } else {
        add(site, "unknown-item",
            "no item is named " + quote_text(name) + ctx_.item_hint(name) + " (the loot line gives nothing)");
      }
    }
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
        add(read.site, "bad-message",
            "the line is read from v" + std::to_string(read.variable) + ", which a script in " +
                ctx_.rec.files[writer.file].name + " sets to " + std::to_string(value) + ", but msg" +
                std::to_string(read.file) + ".txt has " + std::to_string(lines) +
                " lines, so the command shows nothing then");
      }
    }
    for (const auto& [name, site] : held_) {
      if (!ctx_.world.find_item(name)) {
        add(site, "unknown-item",
            "no item is named " + quote_text(name) + ctx_.item_hint(name) + ", so the \"held\" test is always false");
      } else if (!ctx_.obtainable.count(name)) {
        add(site, "never-obtainable",
            "the condition tests for " + quote_text(name) +
                ", but no area holds it, no script gives it and no enemy leaves it, so it is always false; place it "
                "with an \"item\" line, a \"_\" command or a loot line");
      }
    }
    if (!indirect_writes_) {
      for (const auto& [number, reads] : numbered_reads_) {
        if (numbered_written_.count(number)) continue;
        add(reads.first, "unwritten-variable",
            "v" + std::to_string(number) + " is read here" + more_places(reads.count) +
                ", but no script writes it, so it is always 0; write it somewhere (\"s v" + std::to_string(number) +
                " 1\") or read the variable that is meant");
      }
    }
    for (const auto& [number, reads] : string_reads_) {
      if (strings_written_.count(number)) continue;
      add(reads.first, "unwritten-variable",
          "s" + std::to_string(number) + " is shown here" + more_places(reads.count) +
              ", but no script writes it, so it is always empty; write it (\"s s" + std::to_string(number) +
              " some text\") or show the text that is meant");
    }
  }

  static std::string more_places(std::size_t count) {
    if (count <= 1) return {};
    return " (and in " + std::to_string(count - 1) + " more place" + (count == 2 ? ")" : "s)");
  }

  Context& ctx_;
  NearestName variable_names_;
  NearestName commands_;
  std::vector<std::pair<std::string, Site>> held_;
  std::unordered_map<std::int32_t, Reads> numbered_reads_;
  std::unordered_map<std::int32_t, Reads> string_reads_;
  std::unordered_set<std::int32_t> numbered_written_;
  std::unordered_map<std::int32_t, std::vector<std::pair<std::int32_t, Site>>> numbered_values_;  // literal sets
  struct MessageLine {
    std::int32_t file;      // the message file, from 1
    std::int32_t variable;  // the numbered variable that gives the line
    Site site;
  };
  std::vector<MessageLine> message_lines_;
  std::unordered_set<std::int32_t> strings_written_;
  bool indirect_writes_ = false;
};

}  // namespace

void check_scripts(Context& ctx) { ScriptChecker(ctx).run(); }

}  // namespace vesk::kit
