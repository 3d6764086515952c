// Walkthroughs: a recorded game as a file (the .walk format), and the session
// that plays a game while recording what it printed and what was typed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.hpp"
#include "front/session.hpp"

namespace vesk::kit {

// A .walk file:
//
//   vesk walkthrough
//   seed 111
//   clock 111
//   ending game-over
//   comforts new-seed            (only for a game played with the comforts)
//   typed action 1
//   typed path 1
//   ...
//   (an empty line)
//   the transcript: everything the game printed, each typed line written
//   after the prompt that read it and followed by a line end
//
// The header ends at its first empty line; each "typed" line holds one line
// the player typed, exactly (the text after "typed " up to the line end). The
// transcript runs to the end of the file and is compared byte for byte. A
// "comforts" line says that the game was played with the comforts around it
// (undo, restart, bookmarks), so that its typed lines play back the same:
// "same-seed" when a restart kept the seed, "new-seed" when it took the next.
struct Walkthrough {
  std::uint32_t seed = 0;
  std::int64_t clock = 0;
  std::string ending;  // "quit", "input-ended" or "game-over"
  std::vector<std::string> typed;
  std::string transcript;
  std::string comforts;  // "same-seed", "new-seed", or empty: the game alone

  // The line of the file that holds typed line `index` (0-based), from 1.
  std::size_t typed_file_line(std::size_t index) const { return (comforts.empty() ? 5 : 6) + index; }
};

// The comforts that a walkthrough was played with, to play it back with the
// same on `seed`: bookmarks it makes last as long as `shelf` and its
// transcripts are left unwritten. False when it was played without.
bool walkthrough_comforts(const Walkthrough& walk, std::uint32_t seed, front::MemoryShelf& shelf,
                          front::Comforts& comforts);

std::string format_walkthrough(const Walkthrough& walk);
// The walkthrough in `text`; nothing, with the reason in `error`, when the text
// is not one.
std::optional<Walkthrough> parse_walkthrough(std::string_view text, std::string& error);

const char* ending_name(Ending ending);

// Gives the lines that the game reads at its prompts.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line, with its line end when it has one; false at the end of the
  // input. `prompt` is what stands on the output's last line, not yet shown
  // when the source shows it itself.
  virtual bool next_line(std::string& line, const std::string& prompt) = 0;
  // True when the source shows the prompt (a line editor).
  virtual bool shows_prompt() const { return false; }
};

// The lines of a stream, read up to each line feed.
class StreamLines : public LineSource {
 public:
  explicit StreamLines(std::istream& in) : in_(in) {}
  bool next_line(std::string& line, const std::string& prompt) override;

 private:
  std::istream& in_;
};

// A list of lines, each given with a line end.
class ListedLines : public LineSource {
 public:
  explicit ListedLines(const std::vector<std::string>& lines) : lines_(lines) {}
  bool next_line(std::string& line, const std::string& prompt) override;

 private:
  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;
};

// Where the game stood when it read a typed line.
struct Place {
  std::int32_t area = 0;
  std::int32_t spot = 0;
  std::string prompt;

  bool operator==(const Place&) const = default;
};

struct SessionResult {
  Ending ending = Ending::kNoGame;
  std::string transcript;
  std::vector<std::string> typed;         // the lines read at prompts, without line ends
  std::vector<std::size_t> typed_offset;  // where each one's echo starts in the transcript
  std::vector<Place> places;              // where the game stood when each was read
};

// Plays the game in `directory` (saves land there) with `seed`, reading lines
// from `source`, as vesk does or, given `comforts`, with them around it. What
// is shown also goes to `screen` when given, and what the game does to
// `observer`.
SessionResult run_session(const std::filesystem::path& directory, std::uint32_t seed, LineSource& source,
                          std::ostream* screen, Observer* observer = nullptr,
                          const front::Comforts* comforts = nullptr);

// A short unified diff of two transcripts around their first difference, with
// file line numbers counted from `first_line`.
std::string transcript_diff(std::string_view expected, std::string_view actual, std::size_t first_line,
                            std::string_view expected_name, std::string_view actual_name);

}  // namespace vesk::kit
