// vesk-kit xref: the cross-reference of a game's names, from the compiled
// script records, and the command that prints it as text or JSON.
#include "kit/xref.hpp"

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <tuple>
#include <utility>

#include "base/arith.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/kit.hpp"
#include "kit/trace.hpp"

namespace vesk::kit {

namespace {

using Kind = XrefEntry::Kind;

class CrossReference {
 public:
  explicit CrossReference(const World& world) : world_(world) {}

  std::vector<XrefEntry> run() {
    for (const Item& item : world_.items) script(item.use_scripts);
    for (std::size_t a = 0; a < world_.area_count(); ++a) area(world_.area(a), static_cast<std::int32_t>(a + 1));
    std::vector<XrefEntry> entries;
    entries.reserve(entries_.size());
    for (auto& [key, entry] : entries_) entries.push_back(std::move(entry));
    return entries;
  }

 private:
  void area(const Area& a, std::int32_t number) {
    script(a.turn_scripts);
    script(a.drop_scripts);
    conditions(a.item_conditions);
    for (const Path& path : a.paths) {
      if (path.target_area != number) note(Kind::kArea, std::to_string(path.target_area), path.source, false);
      choice(path);
    }
    for (const Action& action : a.actions) choice(action);
  }

  void choice(const Choice& c) {
    conditions(c.show_conditions);
    conditions(c.use_conditions);
    script(c.success_scripts);
    script(c.failure_scripts);
  }

  void conditions(const Conditions& list) {
    for (const Condition& condition : list) test(condition.test, condition.source);
  }

  void script(const Script& lines) {
    for (const ScriptLine& line : lines) {
      if (line.kind == ScriptLine::Kind::kLabel) {
        note(Kind::kLabel, label_name(line), line.source, true);
        continue;
      }
      if (line.kind == ScriptLine::Kind::kSkip) continue;
      for (const ScriptTest& condition : line.conditions) test(condition, line.source);
      if (line.kind == ScriptLine::Kind::kRepeat) {
        note(Kind::kLabel, label_name(line), line.source, false);
      } else {
        command(line.command, line.source);
      }
    }
  }

  std::string label_name(const ScriptLine& line) const {
    const std::uint32_t file = line.source.file;
    return std::string(line.label) + " (" +
           (file >= 1 && file <= world_.source_files.size() ? world_.source_files[file - 1] : "") + ")";
  }

  void test(const ScriptTest& test, const SourcePos& at) {
    if (test.kind == ScriptTest::Kind::kHeld) {
      note(Kind::kItem, test.item, at, false);
      return;
    }
    // A weekday or hour window reads the calendar, which the clock drives.
    if (test.kind == ScriptTest::Kind::kWeekday || test.kind == ScriptTest::Kind::kHour) {
      note(Kind::kVariable, "game", at, false);
      return;
    }
    XrefEntry* left = operand(test.left, at, false);
    XrefEntry* right = operand(test.right, at, false);
    // A literal on the left turns the comparison around: "+ 5 v1" holds below
    // 5. An indirect variable is compared through others, known only in play.
    if (test.left.kind == Operand::Kind::kIndirect) left = nullptr;
    if (test.right.kind == Operand::Kind::kIndirect) right = nullptr;
    if (left && test.right.kind == Operand::Kind::kLiteral) holding_value(*left, test.kind, test.right.number, 1);
    if (right && test.left.kind == Operand::Kind::kLiteral) holding_value(*right, test.kind, test.left.number, -1);
  }

  static void holding_value(XrefEntry& entry, ScriptTest::Kind kind, std::int32_t literal, std::int32_t side) {
    std::int32_t value = literal;
    if (kind == ScriptTest::Kind::kGreater) {
      value = wrap_add(literal, side);
    } else if (kind == ScriptTest::Kind::kLess) {
      value = wrap_sub(literal, side);
    } else if (kind != ScriptTest::Kind::kEqual) {
      return;
    }
    std::vector<std::int32_t>& values = entry.holding_values;
    const auto at = std::lower_bound(values.begin(), values.end(), value);
    if (at == values.end() || *at != value) values.insert(at, value);
  }

  void command(const ScriptCommand& c, const SourcePos& at) {
    using Op = ScriptCommand::Op;
    switch (c.op) {
      case Op::kMessageLine:
        if (c.target.kind == Operand::Kind::kLiteral) {
          note(Kind::kMessage, "msg" + std::to_string(c.number) + ".txt line " + std::to_string(c.target.number), at,
               false);
        } else {
          note(Kind::kMessage, "msg" + std::to_string(c.number) + ".txt", at, false);
          operand(c.target, at, false);
        }
        break;
      case Op::kPrint:
      case Op::kQueueMessage:
        text(c.text, at);
        break;
      case Op::kPlaceUnique:
      case Op::kPlace:
        note(Kind::kEnemy, c.text, at, true);
        break;
      case Op::kGiveAmmo:
        note(Kind::kVariable, "a_" + replace_char(c.name, ' ', '_'), at, true);
        break;
      case Op::kGiveItem:
      case Op::kTakeItem:
        note(Kind::kItem, c.text, at, true);
        break;
      case Op::kSetString:
        note(Kind::kString, "s" + std::to_string(c.number), at, true, c.number);
        text(c.text, at);
        break;
      case Op::kAskNumber:
        operand(c.target, at, true);
        text(c.text, at);
        break;
      case Op::kSet:
        operand(c.value, at, false);
        operand(c.target, at, true);
        // "s ca N" moves the player to area N.
        if (c.target.kind == Operand::Kind::kNamed &&
            kNamedVariableNames[static_cast<std::size_t>(c.target.number)] == "ca" &&
            c.value.kind == Operand::Kind::kLiteral) {
          note(Kind::kArea, std::to_string(c.value.number), at, true);
        }
        break;
      case Op::kSquareRoot:
      case Op::kAdd:
      case Op::kSubtract:
      case Op::kMultiply:
      case Op::kDivide:
      case Op::kRemainder:
      case Op::kPower:
        operand(c.target, at, false);
        operand(c.value, at, false);
        operand(c.target, at, true);
        break;
      case Op::kReadOnly:
      case Op::kUnknown:
        operand(c.target, at, false);
        operand(c.value, at, false);
        break;
      default:
        break;
    }
  }

  // The entry of the variable noted, or nullptr for an operand that names none.
  XrefEntry* operand(const Operand& o, const SourcePos& at, bool write) {
    const std::string name = xref_variable_name(o);
    if (name.empty()) return nullptr;
    // Of an indirect variable the first is read; the one finally written is
    // known only in play.
    const bool numbered = o.kind == Operand::Kind::kNumbered || o.kind == Operand::Kind::kIndirect;
    return &note(Kind::kVariable, name, at, write && o.kind != Operand::Kind::kIndirect, numbered ? o.number : 0);
  }

  // The "+vN" and "+sN" words of a text that the game expands when shown; N
  // is read by decimal conversion, as the expansion reads it ("+s2." is s2).
  void text(std::string_view shown, const SourcePos& at) {
    if (shown.find('+') == std::string_view::npos) return;
    for (const std::string& word : split_words(shown)) {
      if (word.size() < 3 || word[0] != '+' || (word[1] != 'v' && word[1] != 's')) continue;
      const std::int32_t number = to_int(std::string_view(word).substr(2));
      if (number < 1) continue;
      note(word[1] == 'v' ? Kind::kVariable : Kind::kString, std::string(1, word[1]) + std::to_string(number), at,
           false, number);
    }
  }

  // `number`: N of a "vN" or "sN" name.
  XrefEntry& note(Kind kind, std::string_view name, const SourcePos& at, bool write, std::int32_t number = 0) {
    auto [it, fresh] = entries_.try_emplace({kind, std::string(name)});
    if (fresh) {
      it->second.kind = kind;
      it->second.name = name;
      it->second.number = number;
    }
    std::vector<SourcePos>& places = write ? it->second.written : it->second.read;
    const auto same = [&](const SourcePos& place) { return place.file == at.file && place.piece == at.piece; };
    if (std::none_of(places.begin(), places.end(), same)) places.push_back(at);
    return it->second;
  }

  const World& world_;
  std::map<std::pair<Kind, std::string>, XrefEntry> entries_;
};

constexpr const char* kXrefUsage = "usage: vesk-kit xref [--json] [GAME_DIR] [NAME]\n";

// The places as file names and physical lines, each line once.
using Places = std::vector<std::pair<std::string, std::int64_t>>;

Places lines_of(const World& world, SourceMap& sources, const std::vector<SourcePos>& places) {
  Places lines;
  for (const SourcePos& place : places) {
    std::pair<std::string, std::int64_t> line{sources.file_name(world, place), sources.line(world, place)};
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(std::move(line));
  }
  return lines;
}

std::string places_text(const Places& places) {
  std::string text;
  for (const auto& [file, line] : places) text += (text.empty() ? "" : ", ") + file + ":" + std::to_string(line);
  return text.empty() ? "nowhere" : text;
}

}  // namespace

std::string xref_variable_name(const Operand& operand) {
  switch (operand.kind) {
    case Operand::Kind::kNamed:
      return std::string(kNamedVariableNames[static_cast<std::size_t>(operand.number)]);
    case Operand::Kind::kNumbered:
    case Operand::Kind::kIndirect:
      return "v" + std::to_string(operand.number);
    case Operand::Kind::kAmmo:
      return "a_" + replace_char(operand.weapon, ' ', '_');
    case Operand::Kind::kItemVariable:
      return "vi" + std::to_string(operand.number);
    default:
      return {};
  }
}

const char* xref_kind_name(XrefEntry::Kind kind) {
  switch (kind) {
    case Kind::kVariable:
      return "variable";
    case Kind::kString:
      return "string";
    case Kind::kItem:
      return "item";
    case Kind::kEnemy:
      return "enemy";
    case Kind::kLabel:
      return "label";
    case Kind::kArea:
      return "area";
    case Kind::kMessage:
      return "message";
  }
  return "variable";
}

std::vector<XrefEntry> cross_reference(const World& world) { return CrossReference(world).run(); }

int run_xref(const Arguments& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  std::vector<std::string> operands;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--help" || arg == "-h") {
      out << kXrefUsage;
      return kExitClean;
    } else if (arg.starts_with("-")) {
      err << "vesk-kit xref: unknown option \"" << arg << "\"\n" << kXrefUsage;
      return kExitUsage;
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() > 2) {
    err << "vesk-kit xref: a game directory and one name at most\n" << kXrefUsage;
    return kExitUsage;
  }
  const std::filesystem::path game(operands.empty() ? std::string(".") : operands[0]);
  const DirectoryFiles files(game);
  const World world = load_world(files);
  if (!world.has_areas()) {
    err << "vesk-kit xref: no game in \"" << game.string() << "\": area1.txt is missing\n";
    return kExitUsage;
  }
  SourceMap sources(files);
  std::vector<XrefEntry> entries = cross_reference(world);
  if (operands.size() == 2) {
    std::erase_if(entries, [&](const XrefEntry& entry) { return entry.name != operands[1]; });
  }
  if (json) {
    nlohmann::json names = nlohmann::json::array();
    auto places = [&](const std::vector<SourcePos>& list) {
      nlohmann::json array = nlohmann::json::array();
      for (const auto& [file, line] : lines_of(world, sources, list)) {
        array.push_back({{"file", file}, {"line", line}});
      }
      return array;
    };
    for (const XrefEntry& entry : entries) {
      names.push_back({{"kind", xref_kind_name(entry.kind)},
                       {"name", entry.name},
                       {"written", places(entry.written)},
                       {"read", places(entry.read)}});
    }
    // Content files need not be UTF-8: stray bytes become U+FFFD.
    out << nlohmann::json{{"names", names}}.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  } else {
    for (const XrefEntry& entry : entries) {
      out << xref_kind_name(entry.kind) << " " << entry.name
          << "\n  written: " << places_text(lines_of(world, sources, entry.written))
          << "\n  read: " << places_text(lines_of(world, sources, entry.read)) << "\n";
    }
  }
  if (operands.size() == 2 && entries.empty()) {
    err << "vesk-kit xref: no script writes or reads \"" << operands[1] << "\"\n";
    return kExitFindings;
  }
  return kExitClean;
}

}  // namespace vesk::kit
