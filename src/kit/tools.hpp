// Helpers that the vesk-kit subcommands share: the graph text, Graphviz,
// files and temporary directories.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <limits>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/numbers.hpp"
#include "content/world.hpp"

namespace vesk::kit {

// A text in double quotes, as the kit's messages quote what a game's files or a
// player wrote: quotes and backslashes escaped, line feeds, carriage returns
// and tabs as "\n", "\r" and "\t", other control bytes as "\xNN".
std::string quote_text(std::string_view text);
// A line in quotes without its line end.
std::string quote_line(std::string_view line);
// A line without the line feeds and carriage returns at its end, as an editor
// shows it.
std::string_view without_line_end(std::string_view line);

// A whole decimal number in the range of `Value`, as the kit reads the numbers
// of its command lines and walkthrough files: an optional sign and digits,
// nothing else; false, leaving `value` alone, for any other text.
template <typename Value>
bool whole_number(std::string_view text, Value& value) {
  if (text.size() > 20 || !is_whole_number(text)) return false;
  const bool negative = text[0] == '-';
  if (negative && std::is_unsigned_v<Value>) return false;
  unsigned long long magnitude = 0;
  for (char c : text.substr(text[0] == '-' || text[0] == '+' ? 1 : 0)) {
    if (magnitude > (std::numeric_limits<unsigned long long>::max() - 9) / 10) return false;
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
  }
  if (negative) {
    if (magnitude > static_cast<unsigned long long>(std::numeric_limits<Value>::max()) + 1) return false;
    value = static_cast<Value>(-static_cast<long long>(magnitude - 1) - 1);
  } else {
    if (magnitude > static_cast<unsigned long long>(std::numeric_limits<Value>::max())) return false;
    value = static_cast<Value>(magnitude);
  }
  return true;
}

// A range of seeds, "A..B" on a command line, A not above B.
struct SeedRange {
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};
std::optional<SeedRange> parse_seed_range(std::string_view text);

// Renders a DOT graph as SVG with Graphviz's `dot`; nothing, with a message on
// `err`, when `dot` is missing or fails.
std::optional<std::string> render_svg(const std::string& dot, std::ostream& err);

// Files are read with the game's own reader, vesk::read_file, so that the kit
// refuses what the game refuses (anything but a regular file).
// Writes the file whole; false when that fails.
bool write_file(const std::filesystem::path& file, std::string_view content);

// An output buffer with no buffer of its own: a character written alone goes
// through xsputn as a run of them does, so that a buffer that watches the
// output overrides xsputn alone.
class UnbufferedOut : public std::streambuf {
 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
  }
};

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TemporaryDirectory {
 public:
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The physical line (from 1) of every piece of a content file whose bytes are
// `bytes`, the pieces split as the game splits them.
std::vector<std::int64_t> physical_lines(std::string bytes);

// Whether a file name is one of a game's content files: msgN.txt, itemN.txt,
// enemyN.txt or areaN.txt.
bool is_content_file_name(std::string_view name);

// Copies the content files of a game directory into `to`; saved games and
// anything else stay behind.
void copy_game(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vesk::kit
