// vesk-kit lsp: a game as an editor sees it. One load through the engine's
// loaders, with an observer that hears where each line went, and the
// cross-reference of that world, give every answer about lines and names.
#include "kit/lsp_game.hpp"

#include <algorithm>

#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/keywords.hpp"
#include "content/script_code.hpp"
#include "kit/lsp_protocol.hpp"
#include "kit/source_map.hpp"
#include "kit/tools.hpp"

namespace vesk::kit::lsp {

namespace {

using Kind = XrefEntry::Kind;

template <typename Effect, std::size_t N>
std::string_view keyword_of(const KeywordTable<Effect, N>& table, std::string_view piece) {
  const Keyword<Effect>* found = find_keyword(table, piece);
  return found ? found->word() : std::string_view{};
}

std::string_view keyword_of(FileKind kind, std::string_view piece) {
  switch (kind) {
    case FileKind::kArea:
      return keyword_of(kAreaKeywords, piece);
    case FileKind::kItem:
      return keyword_of(kItemKeywords, piece);
    case FileKind::kEnemy:
      return keyword_of(kEnemyKeywords, piece);
    default:
      return {};
  }
}

// The name of a variable word as the cross-reference names it: "v9", "h",
// "a_crossbow", "vi2"; empty for a word that names no variable.
std::string variable_name(std::string_view word) {
  CompileTexts texts;  // the weapon name of "a_", which is not used here
  return xref_variable_name(resolve_variable(word, texts));
}

// The bytes of `name` in `line` where its words stand one after another, as
// the game joins words with single spaces.
std::optional<std::pair<std::size_t, std::size_t>> find_words(std::string_view line, std::string_view name) {
  const WordViews wanted = word_views(name);
  if (wanted.empty()) return std::nullopt;
  const std::vector<WordSpan> words = word_spans(line);
  for (std::size_t first = 0; first + wanted.size() <= words.size(); ++first) {
    bool same = true;
    for (std::size_t k = 0; k < wanted.size() && same; ++k) {
      same = without_line_end(words[first + k].text) == without_line_end(wanted[k]);
    }
    if (same) {
      const WordSpan& last = words[first + wanted.size() - 1];
      return std::make_pair(words[first].begin, last.begin + without_line_end(last.text).size());
    }
  }
  return std::nullopt;
}

const char* role_text(Role role) {
  switch (role) {
    case Role::kName:
      return "the name";
    case Role::kLongDescription:
      return "long description";
    case Role::kShortDescription:
      return "short description";
    case Role::kPath:
      return "paths section";
    case Role::kAction:
      return "actions section";
    case Role::kNone:
      return "\"none\": an empty entry, skipped";
    case Role::kSectionEnd:
      return "blank line: ends the section";
    case Role::kHealth:
      return "health";
    case Role::kSkipped:
      return "line 3: never read";
    case Role::kAttack:
      return "attack";
    case Role::kLoot:
      return "loot";
    case Role::kMessage:
      return "message";
    case Role::kKeyword:
      return "keyword line";
    case Role::kSpotRow:
      return "spot row";
    case Role::kComment:
      return "comment";
    case Role::kBlank:
      return "blank line";
    case Role::kOther:
      break;
  }
  return "read as nothing: begins with no keyword";
}

std::string operand_text(const Operand& o) {
  switch (o.kind) {
    case Operand::Kind::kLiteral:
      return std::to_string(o.number);
    case Operand::Kind::kNamed:
      return std::string(kNamedVariableNames[static_cast<std::size_t>(o.number)]);
    case Operand::Kind::kNumbered:
      return "v" + std::to_string(o.number);
    case Operand::Kind::kIndirect:
      return "the variable that v" + std::to_string(o.number) + " leads to";
    case Operand::Kind::kAmmo:
      return "the ammunition of " + quote_text(o.weapon);
    case Operand::Kind::kItemVariable:
      return "item variable " + std::to_string(o.number);
    case Operand::Kind::kRandom:
      return "a random number below " + std::to_string(o.number);
    default:
      return "nothing (reads 0)";
  }
}

// What a condition of three words means as the game tests it.
std::string condition_meaning(const ScriptTest& test) {
  switch (test.kind) {
    case ScriptTest::Kind::kHeld:
      return "holds while the player carries " + quote_text(test.item);
    case ScriptTest::Kind::kEqual:
      return "holds when " + operand_text(test.left) + " equals " + operand_text(test.right);
    case ScriptTest::Kind::kGreater:
      return "holds when " + operand_text(test.left) + " is greater than " + operand_text(test.right);
    case ScriptTest::Kind::kLess:
      return "holds when " + operand_text(test.left) + " is less than " + operand_text(test.right);
    case ScriptTest::Kind::kWeekday:
      return "holds on weekdays " + std::to_string(test.low) + " to " + std::to_string(test.high);
    case ScriptTest::Kind::kHour:
      return "holds from hour " + std::to_string(test.low) + " up to hour " + std::to_string(test.high);
    case ScriptTest::Kind::kNoOperator:
      return "never holds: its first word is no operator (=, +, -, tch, tcw or held)";
    case ScriptTest::Kind::kFalse:
      break;
  }
  return "never holds: too few words";
}

std::string command_meaning(const ScriptCommand& c) {
  using Op = ScriptCommand::Op;
  switch (c.op) {
    case Op::kTerminate:
      return "ends the game";
    case Op::kMessageLine:
      return "shows line " + operand_text(c.target) + " of msg" + std::to_string(c.number) + ".txt";
    case Op::kPrint:
    case Op::kQueueMessage:
      return "shows a message";
    case Op::kPlaceUnique:
      return "places the enemy " + quote_text(c.text) + " unless one is there";
    case Op::kPlace:
      return "places the enemy " + quote_text(c.text);
    case Op::kGiveAmmo:
      return "gives ammunition for " + quote_text(c.name);
    case Op::kGiveItem:
      return "gives the item " + quote_text(c.text);
    case Op::kTakeItem:
      return "takes the item " + quote_text(c.text);
    case Op::kSetString:
      return "sets s" + std::to_string(c.number);
    case Op::kAskNumber:
      return "asks the player for " + operand_text(c.target);
    case Op::kSet:
      return "sets " + operand_text(c.target) + " to " + operand_text(c.value);
    case Op::kAdd:
      return "adds " + operand_text(c.value) + " to " + operand_text(c.target);
    case Op::kSubtract:
      return "subtracts " + operand_text(c.value) + " from " + operand_text(c.target);
    case Op::kMultiply:
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kPower:
    case Op::kSquareRoot:
      return "changes " + operand_text(c.target);
    case Op::kSwim:
    case Op::kDive:
    case Op::kLoad:
    case Op::kSave:
    case Op::kFadingCause:
    case Op::kSteadyCause:
      return "runs the command " + quote_text(c.text.empty() ? "" : c.text);
    case Op::kReadOnly:
    case Op::kUnknown:
    case Op::kNothing:
      break;
  }
  return "does nothing";
}

// A script line as the engine reads it, compiled as the loader compiles it:
// its conditions and then its command or its jump back, or the label it
// sets. A label line's conditions are never tested, and a line whose
// condition count does not fit its words never runs.
std::string script_meaning(std::string_view text, Script::Form form) {
  Script script(form);
  script.push_back(without_line_end(text));
  const Script::const_iterator first = script.begin();  // holds the line read
  const ScriptLine& line = *first;
  if (line.kind == ScriptLine::Kind::kSkip) {
    return word_views(line.text).empty() ? "an empty script line: does nothing"
                                         : "too few words for its condition count: the line never runs";
  }
  if (line.kind == ScriptLine::Kind::kLabel) return "- labels this line " + quote_text(line.label);
  const ScriptWords words = script_words(line);
  std::string out;
  std::size_t k = 0;
  for (const ScriptTest& test : line.conditions) {
    out += "- if `" + words_from(words.conditions[k++], 0) + "`: " + condition_meaning(test) + "\n";
  }
  if (line.kind == ScriptLine::Kind::kRepeat) return out + "- jumps back to the label " + quote_text(line.label);
  return out + "- then `" + words_from(words.command, 0) + "`: " + command_meaning(line.command);
}

// A condition of a "cd" or "cv" list or an item's conditions, compiled as
// the loader compiles it.
std::string condition_line_meaning(std::string_view text) {
  const Conditions conditions{text};
  const Conditions::const_iterator condition = conditions.begin();
  return "`" + std::string(text) + "`: " + condition_meaning(condition->test);
}

const char* list_name(LineUse use) {
  switch (use) {
    case LineUse::kPathShow:
    case LineUse::kActionShow:
      return "cv: a condition for listing it";
    case LineUse::kPathUse:
    case LineUse::kActionUse:
      return "cd: a condition for taking it";
    case LineUse::kPathSuccess:
    case LineUse::kActionSuccess:
      return "dp: a script line run when its conditions hold";
    case LineUse::kPathFailure:
    case LineUse::kActionFailure:
      return "dn: a script line run when they do not";
    default:
      return "";
  }
}

bool is_condition_use(LineUse use) {
  return use == LineUse::kPathShow || use == LineUse::kPathUse || use == LineUse::kActionShow ||
         use == LineUse::kActionUse || use == LineUse::kItemCondition;
}

bool is_script_use(LineUse use) {
  return use == LineUse::kPathSuccess || use == LineUse::kPathFailure || use == LineUse::kActionSuccess ||
         use == LineUse::kActionFailure || use == LineUse::kTurnScript || use == LineUse::kDropScript ||
         use == LineUse::kUseScript;
}

bool is_path_list(LineUse use) { return use >= LineUse::kPathShow && use <= LineUse::kPathFailure; }

}  // namespace

FileKind file_kind(std::string_view name, std::int32_t* number) {
  constexpr std::pair<std::string_view, FileKind> kStems[] = {
      {"area", FileKind::kArea}, {"item", FileKind::kItem}, {"enemy", FileKind::kEnemy}, {"msg", FileKind::kMessage}};
  if (!is_content_file_name(name)) return FileKind::kOther;
  for (const auto& [stem, kind] : kStems) {
    if (!name.starts_with(stem)) continue;
    if (number) *number = to_int(name.substr(stem.size()));
    return kind;
  }
  return FileKind::kOther;
}

std::vector<WordSpan> word_spans(std::string_view line) {
  std::vector<WordSpan> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size()) break;
    std::size_t end = at;
    while (end < line.size() && line[end] != ' ') ++end;
    words.push_back(WordSpan{line.substr(at, end - at), at});
    at = end;
  }
  return words;
}

std::string_view FileOutline::line(std::size_t index) const { return without_line_end(line_text(text, starts, index)); }

// Hears the loaders of every file: the pieces each file gives and the record
// list each kept piece went to.
class OutlineRecorder : public LoadDiagnostics {
 public:
  explicit OutlineRecorder(std::map<std::string, FileOutline>& files) : files_(files) {}

  void begin_file(std::string_view file_name, const Lines& pieces) override {
    FileOutline& outline = files_[std::string(file_name)];
    outline.kind = file_kind(file_name, &outline.number);
    for (const std::string& piece : pieces) outline.text += piece;
    outline.starts = line_starts(outline.text);
    if (!outline.text.empty() && outline.text.back() == '\n') outline.starts.pop_back();
    outline.lines.assign(std::max<std::size_t>(outline.starts.size(), 1), LineInfo{});
    outline.line_of_piece.clear();
    std::size_t line = 0;
    for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
      const std::size_t at = std::min(line, outline.lines.size() - 1);
      if (outline.line_of_piece.empty() || outline.line_of_piece.back() != at) outline.lines[at].piece = piece;
      outline.line_of_piece.push_back(at);
      if (!pieces[piece].empty() && pieces[piece].back() == '\n') ++line;
    }
    current_ = &outline;
    pieces_ = &pieces;
  }
  void fault(std::size_t, LineFault, std::string_view) override {}
  void kept(std::size_t piece, LineUse use, std::int32_t entry) override {
    if (!current_ || piece >= current_->line_of_piece.size()) return;
    LineInfo& info = current_->lines[current_->line_of_piece[piece]];
    if (info.use) {
      info.keyword_also = true;
      return;
    }
    info.use = use;
    info.entry = entry;
  }

 private:
  std::map<std::string, FileOutline>& files_;
  FileOutline* current_ = nullptr;
  const Lines* pieces_ = nullptr;
};

Analysis::Analysis(const GameFiles& files) {
  OutlineRecorder recorder(files_);
  world_ = vesk::load_world([&](const std::string& name) { return files.content(name); }, &recorder);
  outline_roles();
  index_symbols();
}

// The sections of each file, by the rules its loader follows: an area's four
// blank-ended sections before its keyword part, an enemy's fixed lines, an
// item's name line, a message file's numbered lines.
void Analysis::outline_roles() {
  for (auto& [name, outline] : files_) {
    std::size_t section = 0;
    std::int32_t paths = 0;
    std::int32_t actions = 0;
    bool rows = false;
    for (std::size_t index = 0; index < outline.lines.size(); ++index) {
      LineInfo& info = outline.lines[index];
      const std::string_view text = line_text(outline.text, outline.starts, index);
      // The line as the loader tests it, with its line end where it has one.
      const std::string_view piece = std::string_view(outline.text).substr(outline.starts[index], text.size() + 1);
      info.keyword = keyword_of(outline.kind, piece);
      const bool blank = is_blank_line(piece);
      const Role keyword_role = info.use == LineUse::kSpotRow   ? Role::kSpotRow
                                : !info.keyword.empty()         ? Role::kKeyword
                                : blank || is_blank_text(piece) ? Role::kBlank
                                : piece.starts_with("#")        ? Role::kComment
                                                                : Role::kOther;
      switch (outline.kind) {
        case FileKind::kMessage:
          info.role = Role::kMessage;
          info.entry = static_cast<std::int32_t>(info.piece + 1);
          break;
        case FileKind::kItem:
          info.role = index == 0 ? Role::kName : keyword_role;
          break;
        case FileKind::kEnemy:
          if (index < 3) {
            info.role = index == 0 ? Role::kName : index == 1 ? Role::kHealth : Role::kSkipped;
          } else if (section < 2) {
            info.role = blank ? Role::kSectionEnd : section == 0 ? Role::kAttack : Role::kLoot;
            if (blank) ++section;
          } else {
            info.role = keyword_role;
          }
          break;
        case FileKind::kArea:
          if (rows && info.use != LineUse::kSpotRow) rows = false;
          if (section < 4) {
            if (blank) {
              info.role = Role::kSectionEnd;
              ++section;
            } else if (section >= 2 && piece.starts_with("none")) {
              info.role = Role::kNone;
            } else {
              constexpr Role kSections[] = {Role::kLongDescription, Role::kShortDescription, Role::kPath,
                                            Role::kAction};
              info.role = kSections[section];
              if (info.role == Role::kPath && info.use == LineUse::kPath) info.entry = ++paths;
              if (info.role == Role::kAction && info.use == LineUse::kAction) info.entry = ++actions;
              if (info.use == LineUse::kPath || info.use == LineUse::kAction) {
                if (!info.keyword_also) info.keyword = {};
              } else if (info.use) {
                info.keyword_also = true;
              }
            }
          } else {
            info.role = keyword_role;
            if (info.use == LineUse::kSpotRow) rows = true;
          }
          break;
        case FileKind::kOther:
          break;
      }
    }
  }
}

void Analysis::note(Kind kind, const std::string& name, const std::string& file, std::size_t line, Use use) {
  Symbol& symbol = symbols_[{kind, name}];
  auto& places = use == Use::kDefined ? symbol.defined : use == Use::kWritten ? symbol.written : symbol.read;
  const std::pair<std::string, std::size_t> place{file, line};
  if (std::find(places.begin(), places.end(), place) == places.end()) places.push_back(place);
  std::vector<Key>& here = by_line_[place];
  const Key key{kind, name};
  if (std::find(here.begin(), here.end(), key) == here.end()) here.push_back(key);
}

// The cross-reference of the world's scripts, and on top the lines that name
// items, enemies and weapons outside scripts: area items, enemy kinds,
// ammunition piles, and the name lines of item and enemy files.
void Analysis::index_symbols() {
  const auto line_of = [&](const SourcePos& at, std::string& file) -> std::optional<std::size_t> {
    if (at.file == 0 || at.file > world_.source_files.size()) return std::nullopt;
    file = world_.source_files[at.file - 1];
    const auto found = files_.find(file);
    if (found == files_.end() || at.piece >= found->second.line_of_piece.size()) return std::nullopt;
    return found->second.line_of_piece[at.piece];
  };
  for (const XrefEntry& entry : cross_reference(world_)) {
    for (const bool written : {true, false}) {
      for (const SourcePos& at : written ? entry.written : entry.read) {
        std::string file;
        if (const auto line = line_of(at, file)) {
          note(entry.kind, entry.name, file, *line, written ? Use::kWritten : Use::kRead);
        }
      }
    }
  }
  for (const auto& [name, outline] : files_) {
    for (std::size_t index = 0; index < outline.lines.size(); ++index) {
      const LineInfo& info = outline.lines[index];
      const WordViews words = word_views(outline.line(index));
      const long w = word_count(words);
      if (info.role == Role::kName && outline.kind == FileKind::kItem) {
        note(Kind::kItem, std::string(outline.line(index)), name, index, Use::kDefined);
      } else if (info.role == Role::kName && outline.kind == FileKind::kEnemy) {
        note(Kind::kEnemy, std::string(outline.line(index)), name, index, Use::kDefined);
      } else if (info.use == LineUse::kAreaItem && w >= 2) {
        const bool spot = world_.find_item(join_words(words, 1, w - 1)) == nullptr;
        note(Kind::kItem, join_words(words, 1, spot ? w - 2 : w - 1), name, index, Use::kRead);
      } else if (info.use == LineUse::kEnemyKind && w >= 3) {
        for (const long last : {w - 2, w - 5}) {
          const std::string enemy = join_words(words, 1, last);
          if (last >= 1 && world_.find_enemy(enemy)) {
            note(Kind::kEnemy, enemy, name, index, Use::kRead);
            break;
          }
        }
      } else if (info.use == LineUse::kAmmoPile && w >= 3) {
        for (const long last : {w - 2, w - 3}) {
          const std::string weapon = join_words(words, 1, last);
          if (last >= 1 && world_.find_ammo(weapon) >= 0) {
            note(Kind::kItem, weapon, name, index, Use::kRead);
            break;
          }
        }
      }
    }
  }
}

const FileOutline* Analysis::file(const std::string& name) const {
  const auto found = files_.find(name);
  return found == files_.end() ? nullptr : &found->second;
}

// Where a name stands in a line that the index says mentions it.
std::optional<Place> Analysis::locate(const Key& key, const std::string& file, std::size_t line) const {
  const FileOutline* outline = this->file(file);
  if (!outline) return std::nullopt;
  const std::string_view text = outline->line(line);
  const Kind kind = key.first;
  const std::string& name = key.second;
  Place place{file, line, 0, text.size()};
  const std::vector<WordSpan> words = word_spans(text);
  auto word_where = [&](auto matches) -> std::optional<Place> {
    for (const WordSpan& word : words) {
      if (matches(without_line_end(word.text))) {
        return Place{file, line, word.begin, word.begin + without_line_end(word.text).size()};
      }
    }
    return std::nullopt;
  };
  switch (kind) {
    case Kind::kVariable:
      return word_where([&](std::string_view w) {
        return variable_name(w) == name || (w.size() > 2 && w[0] == '+' && w.substr(1) == name);
      });
    case Kind::kString:
      return word_where(
          [&](std::string_view w) { return w == name || (w.size() > 2 && w[0] == '+' && w.substr(1) == name); });
    case Kind::kItem:
    case Kind::kEnemy:
      if (const auto span = find_words(text, name)) return Place{file, line, span->first, span->second};
      return place;
    case Kind::kLabel: {
      const std::string label = name.substr(0, name.rfind(" ("));
      if (!words.empty() && without_line_end(words.back().text) == label) {
        const WordSpan& last = words.back();
        return Place{file, line, last.begin, last.begin + without_line_end(last.text).size()};
      }
      return place;
    }
    case Kind::kArea: {
      // The target of a path line is its second-to-last word; "s ca N" has N last.
      const std::size_t at =
          outline->lines[line].role == Role::kPath && words.size() >= 2 ? words.size() - 2 : words.size() - 1;
      if (!words.empty() && without_line_end(words[at].text) == name) {
        return Place{file, line, words[at].begin, words[at].begin + without_line_end(words[at].text).size()};
      }
      return word_where([&](std::string_view w) { return w == name; });
    }
    case Kind::kMessage:
      for (std::size_t k = 0; k + 2 < words.size(); ++k) {
        if (words[k].text == "msf") {
          return Place{file, line, words[k].begin, words[k + 2].begin + without_line_end(words[k + 2].text).size()};
        }
      }
      return place;
  }
  return place;
}

std::vector<Mention> Analysis::mentions(const std::string& file, std::size_t line) const {
  std::vector<Mention> found;
  const auto here = by_line_.find({file, line});
  if (here == by_line_.end()) return found;
  for (const Key& key : here->second) {
    const auto place = locate(key, file, line);
    if (!place) continue;
    const Symbol& symbol = symbols_.at(key);
    const bool written =
        std::find(symbol.written.begin(), symbol.written.end(), std::make_pair(file, line)) != symbol.written.end();
    found.push_back(Mention{key.first, key.second, place->begin, place->end, written});
  }
  std::sort(found.begin(), found.end(), [](const Mention& a, const Mention& b) { return a.begin < b.begin; });
  return found;
}

std::optional<Mention> Analysis::mention_at(const std::string& file, std::size_t line, std::size_t byte) const {
  std::optional<Mention> best;
  for (Mention& mention : mentions(file, line)) {
    if (byte < mention.begin || byte > mention.end) continue;
    // The narrowest wins: "v9" within a message line's "msf 1 v9".
    if (!best || mention.end - mention.begin < best->end - best->begin) best = std::move(mention);
  }
  return best;
}

std::optional<Place> Analysis::definition(const Mention& mention) const {
  const auto first_line = [&](const std::string& file) -> std::optional<Place> {
    const FileOutline* outline = this->file(file);
    if (!outline) return std::nullopt;
    return Place{file, 0, 0, outline->line(0).size()};
  };
  switch (mention.kind) {
    case Kind::kItem:
      for (std::size_t i = 0; i < world_.items.size(); ++i) {
        if (world_.items[i].name == mention.name) return first_line("item" + std::to_string(i + 1) + ".txt");
      }
      return std::nullopt;
    case Kind::kEnemy:
      for (std::size_t i = 0; i < world_.enemies.size(); ++i) {
        if (world_.enemies[i].name == mention.name) return first_line("enemy" + std::to_string(i + 1) + ".txt");
      }
      return std::nullopt;
    case Kind::kArea:
      return first_line("area" + mention.name + ".txt");
    case Kind::kMessage: {
      // "msg1.txt line 2"
      const std::size_t space = mention.name.find(' ');
      const std::string file = mention.name.substr(0, space);
      const FileOutline* outline = this->file(file);
      if (!outline || space == std::string::npos) return first_line(file);
      const std::int32_t number = to_int(std::string_view(mention.name).substr(mention.name.rfind(' ') + 1));
      if (number < 1 || static_cast<std::size_t>(number) > outline->line_of_piece.size()) return std::nullopt;
      const std::size_t line = outline->line_of_piece[static_cast<std::size_t>(number - 1)];
      return Place{file, line, 0, outline->line(line).size()};
    }
    case Kind::kVariable:
      if (mention.name.starts_with("a_")) {
        const std::string weapon = replace_char(std::string_view(mention.name).substr(2), '_', ' ');
        for (std::size_t i = 0; i < world_.items.size(); ++i) {
          if (world_.items[i].name == weapon) return first_line("item" + std::to_string(i + 1) + ".txt");
        }
      }
      [[fallthrough]];
    case Kind::kString:
    case Kind::kLabel: {
      const auto found = symbols_.find({mention.kind, mention.name});
      if (found == symbols_.end() || found->second.written.empty()) return std::nullopt;
      const auto& [file, line] = found->second.written.front();
      return locate(found->first, file, line);
    }
  }
  return std::nullopt;
}

std::vector<Place> Analysis::references(const Mention& mention) const {
  std::vector<Place> places;
  const Key key{mention.kind, mention.name};
  const auto found = symbols_.find(key);
  if (found == symbols_.end()) return places;
  if (const auto defined = definition(mention)) places.push_back(*defined);
  for (const auto* list : {&found->second.defined, &found->second.written, &found->second.read}) {
    for (const auto& [file, line] : *list) {
      const auto place = locate(key, file, line);
      if (!place) continue;
      const auto same = [&](const Place& p) {
        return p.file == place->file && p.line == place->line && p.begin == place->begin;
      };
      if (std::none_of(places.begin(), places.end(), same)) places.push_back(*place);
    }
  }
  return places;
}

std::string Analysis::describe_line(const std::string& file, const FileOutline& outline, std::size_t line) const {
  const LineInfo& info = outline.lines[line];
  const std::string_view text = outline.line(line);
  std::string out = "**" + file + "**, " + role_text(info.role);
  const WordViews words = word_views(text);
  const long w = word_count(words);
  if (outline.kind == FileKind::kArea && outline.number >= 1 &&
      static_cast<std::size_t>(outline.number) <= world_.area_count()) {
    const Area& area = world_.area(static_cast<std::size_t>(outline.number - 1));
    if (info.role == Role::kPath && info.entry >= 1 && static_cast<std::size_t>(info.entry) <= area.paths.size()) {
      const Path& path = area.paths[static_cast<std::size_t>(info.entry - 1)];
      out += ": path " + std::to_string(info.entry) + ", " + quote_text(path.label) + ", leads to area " +
             std::to_string(path.target_area) + " (area" + std::to_string(path.target_area) + ".txt) in " +
             std::to_string(path.travel_time) + " seconds; `path " + std::to_string(info.entry) + "` takes it";
    } else if (info.role == Role::kAction && info.entry >= 1 &&
               static_cast<std::size_t>(info.entry) <= area.actions.size()) {
      out += ": action " + std::to_string(info.entry) + ", " +
             quote_text(area.actions[static_cast<std::size_t>(info.entry - 1)].label) + "; `action " +
             std::to_string(info.entry) + "` does it";
    } else if (info.use && info.use >= LineUse::kPathShow && info.use <= LineUse::kActionFailure && w >= 3) {
      const bool path = is_path_list(*info.use);
      const auto n = static_cast<std::size_t>(info.entry);
      const auto& list_label = [&]() -> std::string {
        if (path && n >= 1 && n <= area.paths.size()) return area.paths[n - 1].label;
        if (!path && n >= 1 && n <= area.actions.size()) return area.actions[n - 1].label;
        return {};
      }();
      out += std::string(": `") + (path ? "path " : "action ") + std::to_string(n) + "` " + quote_text(list_label) +
             ", list " + list_name(*info.use);
    } else if (info.use == LineUse::kSpotRow) {
      // The exits as the area holds them, which a later row of the same
      // number or rows that never end change from what the line says.
      out += ": spot " + std::to_string(info.entry) + "\n";
      for (std::int32_t direction = 0; direction < 4; ++direction) {
        const std::int32_t exit = area.exit_of(info.entry, direction);
        out += "- direction " + std::to_string(direction) + ": " +
               (exit > 0   ? "spot " + std::to_string(exit)
                : exit < 0 ? "leaves to area " + std::to_string(-static_cast<std::int64_t>(exit))
                           : std::string("no exit")) +
               "\n";
      }
      return out;
    }
  }
  if (!info.keyword.empty() && info.role != Role::kKeyword) {
    out += "; also read as the keyword line `" + std::string(info.keyword) + "`";
  }
  if (info.role == Role::kKeyword) out += " `" + std::string(info.keyword) + "`";
  if (info.role == Role::kMessage) {
    out += " " + std::to_string(info.entry) + ": `msf " + std::to_string(outline.number) + " " +
           std::to_string(info.entry) + "` shows it";
  }
  if (info.use && (is_condition_use(*info.use) || is_script_use(*info.use))) {
    std::size_t skip = 1;
    if (*info.use >= LineUse::kPathShow && *info.use <= LineUse::kActionFailure) skip = 3;
    const std::string rest = words.size() > skip ? join_words(words, static_cast<long>(skip), w - 1) : std::string();
    if (is_condition_use(*info.use)) {
      out += "\n\n" + condition_line_meaning(rest);
    } else {
      out += "\n\n" + script_meaning(rest, *info.use == LineUse::kUseScript ? Script::Form::kUse : Script::Form::kList);
    }
  }
  return out;
}

std::string Analysis::hover(const std::string& file, std::size_t line, std::size_t byte) const {
  const FileOutline* outline = this->file(file);
  if (!outline || line >= outline->lines.size()) return {};
  std::string out = describe_line(file, *outline, line);
  if (const auto mention = mention_at(file, line, byte)) {
    const Symbol& symbol = symbols_.at({mention->kind, mention->name});
    const auto list = [](const std::vector<std::pair<std::string, std::size_t>>& places) {
      std::string text;
      for (const auto& [f, l] : places) text += (text.empty() ? "" : ", ") + f + ":" + std::to_string(l + 1);
      return text.empty() ? std::string("nowhere") : text;
    };
    out += "\n\n---\n" + std::string(xref_kind_name(mention->kind)) + " `" + mention->name + "`\n\n";
    if (!symbol.defined.empty()) out += "- defined at " + list(symbol.defined) + "\n";
    out += "- written at " + list(symbol.written) + "\n- read at " + list(symbol.read);
  }
  return out;
}

}  // namespace vesk::kit::lsp
