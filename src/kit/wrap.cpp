// Wrapping the game's output at word boundaries to the width of a terminal.
#include "kit/wrap.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <sstream>

namespace vesk::kit {

WrappingOutput::int_type WrappingOutput::overflow(int_type c) {
  if (!traits_type::eq_int_type(c, traits_type::eof())) put(traits_type::to_char_type(c));
  return traits_type::not_eof(c);
}

std::streamsize WrappingOutput::xsputn(const char* data, std::streamsize count) {
  for (std::streamsize i = 0; i < count; ++i) put(data[i]);
  return count;
}

// What is held back is shown as it stands, as before a read: the prompt.
int WrappingOutput::sync() {
  place_word();
  screen_ << std::string(spaces_, ' ');
  column_ += spaces_;
  spaces_ = 0;
  screen_.flush();
  return screen_ ? 0 : -1;
}

void WrappingOutput::put(char c) {
  if (c == '\n') {
    place_word();
    screen_ << std::string(spaces_, ' ') << '\n';
    spaces_ = 0;
    column_ = 0;
  } else if (c == ' ') {
    place_word();
    ++spaces_;
  } else {
    word_ += c;
    // Continuation bytes of a UTF-8 character take no column of their own.
    if ((static_cast<unsigned char>(c) & 0xc0) != 0x80) ++word_columns_;
  }
}

// The word held back goes after its spaces on this line when it fits, and
// otherwise starts the next line, the last space before it becoming the break.
void WrappingOutput::place_word() {
  if (word_.empty()) return;
  if (column_ > 0 && spaces_ > 0 && column_ + spaces_ + word_columns_ > width_) {
    screen_ << std::string(spaces_ - 1, ' ') << '\n';
    column_ = 0;
  } else {
    screen_ << std::string(spaces_, ' ');
    column_ += spaces_;
  }
  spaces_ = 0;
  screen_ << word_;
  column_ += word_columns_;
  word_.clear();
  word_columns_ = 0;
}

std::string wrap_text(std::string_view text, std::size_t width) {
  std::ostringstream wrapped;
  WrappingOutput wrapping(wrapped, width);
  std::ostream out(&wrapping);
  out << text << std::flush;
  return wrapped.str();
}

std::size_t terminal_width() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace vesk::kit
