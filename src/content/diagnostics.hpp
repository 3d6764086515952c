// What the loaders can tell an observer about the lines of a content file:
// every line they drop, cut or read in a way its author may not expect, and
// where every kept line went. The game passes no observer, so loading stays
// silent and does no more work; the authors' checker passes one and turns the
// reports into findings. Lines are counted as the loaders see them: piece 0 is
// the first piece that the file reader gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/lines.hpp"
#include "base/numbers.hpp"

namespace vesk {

// Why a line was dropped, cut or read in a surprising way. `subject` is the
// text that the reason is about.
enum class LineFault {
  kShortLine,        // too few words for its form; subject: the form ("path", "attack", ...)
  kTextCut,          // a text was cut to its record's capacity; subject: what was cut
  kUnknownItem,      // subject: the name that matches no item
  kUnknownEnemy,     // subject: the name that matches no enemy
  kUnknownWeapon,    // subject: the name that matches no weapon that fires ammunition
  kBadListNumber,    // "action N ..." or "path N ..." with no entry N; subject: N as written
  kUnknownListCode,  // a list line whose code is none of cv, cd, dp, dn; subject: the code
  kBadSpot,          // a spot number below 1 or beyond the rows a table may hold; subject: it
  kSpotRowOrder,     // a spot row numbered no higher than the row before it; subject: that row
  kUnendedRows,      // an "m2" line whose spot rows run to the end of the file
  kRowsEndLine,      // a keyword line used up to end the spot rows; subject: its keyword
  kKeywordTrap,      // a line of another part that is also read as a keyword line; subject: the keyword
  kNearKeyword,      // a line that is a flag keyword but for trailing blanks or its line end; subject: it
  kUnknownKeyword,   // a line of the keyword part that matches no keyword
  kNotANumber,       // a number word that is no whole number ("6O", "you", ""); subject: the word
};

// The record list that a kept line was appended to. For the lists of a path or
// an action, `entry` is the number of the path or action (from 1).
enum class LineUse {
  kPath,
  kAction,
  kPathShow,
  kPathUse,
  kPathSuccess,
  kPathFailure,
  kActionShow,
  kActionUse,
  kActionSuccess,
  kActionFailure,
  kItemCondition,
  kDropScript,
  kTurnScript,
  kAreaItem,
  kAmmoPile,
  kEnemyKind,
  kSpotRow,     // entry: the spot number
  kSubdivided,  // the "m2" line
  kDark,
  kWater,  // "swim" or "wtr"
  kWeapon,
  kUseScript,
  kAttack,
  kLoot,
};

class LoadDiagnostics {
 public:
  virtual ~LoadDiagnostics() = default;
  // The loading driver is about to read this file ("area3.txt"), whose lines
  // are `lines`.
  virtual void begin_file(std::string_view file_name, const Lines& lines) = 0;
  virtual void fault(std::size_t piece, LineFault fault, std::string_view subject) = 0;
  virtual void kept(std::size_t piece, LineUse use, std::int32_t entry) = 0;
};

// Notes on the record last appended to `list` the piece that it came from.
template <typename List>
void note_piece(List& list, std::size_t piece) {
  list.back().source.piece = static_cast<std::uint32_t>(piece);
}

// Whether `line` holds nothing but blanks and its line end: no keyword line, and
// no typo either.
inline bool is_blank_text(std::string_view line) { return line.find_first_not_of(" \t\r\n") == std::string_view::npos; }

inline void report_fault(LoadDiagnostics* diagnostics, std::size_t piece, LineFault fault,
                         std::string_view subject = {}) {
  if (diagnostics) diagnostics->fault(piece, fault, subject);
}

// Reads a number word of a content file as the game reads every one, by
// decimal conversion ("6O" reads as 6, "six" and the empty word as 0), and
// tells the diagnostics of a word that is no whole number.
inline std::int32_t read_number(std::string_view word, LoadDiagnostics* diagnostics, std::size_t piece) {
  if (diagnostics) {
    std::string_view bare = word;
    if (bare.ends_with('\n')) bare.remove_suffix(1);
    if (!is_whole_number(bare)) diagnostics->fault(piece, LineFault::kNotANumber, bare);
  }
  return to_int(word);
}

inline void report_kept(LoadDiagnostics* diagnostics, std::size_t piece, LineUse use, std::int32_t entry = 0) {
  if (diagnostics) diagnostics->kept(piece, use, entry);
}

}  // namespace vesk
