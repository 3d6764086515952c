// vesk-kit lsp: what an editor asks of a game, answered from the engine's own
// loading of it. The loaders report where each line went; the cross-reference
// says where each name is written and read; this file turns both into the
// lines, names and places of an author's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/diagnostics.hpp"
#include "content/world.hpp"
#include "kit/game_files.hpp"
#include "kit/xref.hpp"

namespace vesk::kit::lsp {

enum class FileKind : std::uint8_t { kArea, kItem, kEnemy, kMessage, kOther };

// What the engine reads one line of a content file as.
enum class Role : std::uint8_t {
  kOther,             // read as nothing: a line of the keyword part that matches no keyword
  kName,              // line 1 of an item or enemy file
  kLongDescription,   // an area's first section
  kShortDescription,  // its second
  kPath,              // a line of the paths section
  kAction,            // a line of the actions section
  kNone,              // "none" in the paths or actions section
  kSectionEnd,        // the blank line that ends a section of an area or enemy file
  kHealth,            // line 2 of an enemy file
  kSkipped,           // line 3 of an enemy file, never read
  kAttack,            // an enemy's attack line
  kLoot,              // an enemy's loot line
  kMessage,           // a line of a message file
  kKeyword,           // a keyword line
  kSpotRow,           // a spot row after "m2"
  kComment,           // "#" in the keyword part
  kBlank,             // a blank line of the keyword part
};

// One physical line as the engine reads it.
struct LineInfo {
  Role role = Role::kOther;
  std::string_view keyword;    // the keyword the line is read by, also in the fixed part
  std::optional<LineUse> use;  // the record list the loader put the line in
  std::int32_t entry = 0;      // path or action number, spot number or message line
  std::size_t piece = 0;       // the loader's first piece of this line
  bool keyword_also = false;   // a fixed-part line that is read again as a keyword line
};

// A name found in a line: what it is and which bytes of the line it spans.
struct Mention {
  XrefEntry::Kind kind;
  std::string name;  // as the cross-reference names it
  std::size_t begin = 0;
  std::size_t end = 0;
  bool written = false;
};

struct Place {
  std::string file;
  std::size_t line = 0;   // from 0, as editors count
  std::size_t begin = 0;  // bytes of the line
  std::size_t end = 0;
};

// A content file of the game, as loaded.
struct FileOutline {
  FileKind kind = FileKind::kOther;
  std::int32_t number = 0;
  std::string text;
  std::vector<std::size_t> starts;  // byte offset of each physical line
  std::vector<LineInfo> lines;      // one for each physical line
  std::vector<std::size_t> line_of_piece;

  // Line `index` (from 0) without its line end.
  std::string_view line(std::size_t index) const;
};

// A game as the engine loaded it from `files`, with everything an editor asks
// about worked out once.
class Analysis {
 public:
  explicit Analysis(const GameFiles& files);

  const FileOutline* file(const std::string& name) const;
  // The names in line `line` of `file`, in the order they stand.
  std::vector<Mention> mentions(const std::string& file, std::size_t line) const;
  // The name at a byte of a line, if any.
  std::optional<Mention> mention_at(const std::string& file, std::size_t line, std::size_t byte) const;
  // Where a name is defined: an item's or enemy's file, an area's file, a
  // label's line, a message line; a variable's first write.
  std::optional<Place> definition(const Mention& mention) const;
  // Every place of a name, the definition first when it has one.
  std::vector<Place> references(const Mention& mention) const;
  // Markdown: what the engine reads the line as, and what the name under the
  // cursor is.
  std::string hover(const std::string& file, std::size_t line, std::size_t byte) const;

  const World& world() const { return world_; }
  const std::map<std::string, FileOutline>& files() const { return files_; }

 private:
  friend class OutlineRecorder;
  struct Symbol {
    std::vector<std::pair<std::string, std::size_t>> defined, written, read;  // file and line
  };
  using Key = std::pair<XrefEntry::Kind, std::string>;

  void outline_roles();
  void index_symbols();
  enum class Use : std::uint8_t { kDefined, kWritten, kRead };
  void note(XrefEntry::Kind kind, const std::string& name, const std::string& file, std::size_t line, Use use);
  std::string describe_line(const std::string& file, const FileOutline& outline, std::size_t line) const;
  std::optional<Place> locate(const Key& key, const std::string& file, std::size_t line) const;

  World world_;
  std::map<std::string, FileOutline> files_;
  std::map<Key, Symbol> symbols_;
  std::map<std::pair<std::string, std::size_t>, std::vector<Key>> by_line_;
};

// The file kind and number of a content file's name ("area4.txt": area, 4).
FileKind file_kind(std::string_view name, std::int32_t* number = nullptr);

// The words of a line with their byte ranges, split at spaces as the game splits them.
struct WordSpan {
  std::string_view text;
  std::size_t begin = 0;
};
std::vector<WordSpan> word_spans(std::string_view line);

}  // namespace vesk::kit::lsp
