// The session that plays a game while recording what it printed and what was
// typed, for a walkthrough (see kit/walk_file.hpp for the file, and
// kit/walk_diff.hpp for comparing transcripts).
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
#include "kit/walk_diff.hpp"
#include "kit/walk_file.hpp"

namespace vesk::kit {

// The comforts that a walkthrough was played with, to play it back with the
// same on `seed`: bookmarks it makes last as long as `shelf` and its
// transcripts are left unwritten. False when it was played without.
bool walkthrough_comforts(const Walkthrough& walk, std::uint32_t seed, front::MemoryShelf& shelf,
                          front::Comforts& comforts);

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

}  // namespace vesk::kit
