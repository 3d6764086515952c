// Wrapping the game's output at word boundaries to the width of a terminal.
#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace vesk::kit {

// Output passed on to `screen` with lines longer than `width` columns broken
// at a space, which becomes the line end: no word is ever split (a word wider
// than the line stands alone on its line), and every other byte passes
// unchanged, so the text read back with those line ends as spaces is the
// game's own. A UTF-8 character counts as one column.
class WrappingOutput : public std::streambuf {
 public:
  WrappingOutput(std::ostream& screen, std::size_t width) : screen_(screen), width_(width) {}
  // The player typed a line: the terminal's echo ended it.
  void typed() { column_ = 0; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize count) override;
  int sync() override;

 private:
  void put(char c);
  void place_word();

  std::ostream& screen_;
  std::size_t width_;
  std::size_t column_ = 0;  // of what is shown on the current line
  std::size_t spaces_ = 0;  // held back before the word
  std::string word_;        // held back until its end shows where it goes
  std::size_t word_columns_ = 0;
};

// `text` as WrappingOutput shows it at `width`.
std::string wrap_text(std::string_view text, std::size_t width);

// The width of the terminal on standard output, when it is one.
std::size_t terminal_width();

}  // namespace vesk::kit
