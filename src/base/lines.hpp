// Lines and files: reading the console and the game's files a piece of a line
// at a time, as every content file, saved game and typed line is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A line read from a file or the console holds at most 254 characters.
inline constexpr std::size_t kLineCapacity = 254;

// The lines of a text, each with its line end where it has one.
using Lines = std::vector<std::string>;

// Reads one piece of a line as the console and the file reader do: at most 254
// characters, stopping after the first line feed. A CR LF pair reads as a single
// line feed, and the piece ends at a NUL byte. False when the stream is at its
// end before any character.
// A read that fails (standard input closed or unreadable) reads as the end of
// the input, and so does every read after it.
bool read_piece(std::istream& in, std::string& piece);

// A whole line of `in` as it was typed, every byte kept, up to and with its
// line feed (the last line of the input may have none); for the front ends,
// which look at a line before the game reads it. False when the input is at
// its end before any character; a read that fails is the end of the input.
bool read_whole_line(std::istream& in, std::string& line);

// One character of `in`, or EOF at the end of the input or when the read fails.
int read_char(std::istream& in);

// The largest file the game reads. A bigger one, which would take more memory
// than any game needs (a sparse file of terabytes takes no disk at all), counts
// as missing.
inline constexpr std::uint64_t kFileSizeLimit = std::uint64_t{256} << 20;

// The whole content of a regular file; nothing when it cannot be opened or
// read, is no regular file (a FIFO, a device, a directory), holds more than
// kFileSizeLimit bytes, or cannot be held for want of memory. Every file the
// game reads is read through here. When `too_large` is given, it is set to the
// size of a file refused for its size, and to 0 otherwise.
std::optional<std::string> read_file(const std::filesystem::path& file, std::uint64_t* too_large = nullptr);

// Writes all of `text` to the open file `fd`, going on after interrupted and
// partial writes; false when a write fails (a full disk, a file-size limit).
bool write_all(int fd, std::string_view text);

// Whether `line` is a blank line: nothing but its line end. A lone CR before
// the line end (read as "\r\n", the CR LF pair after it being one line feed)
// leaves it blank too, as an editor shows it.
inline bool is_blank_line(std::string_view line) { return line == "\n" || line == "\r\n"; }

// The pieces of a file's content in order, line ends kept, split exactly as
// `read_piece` splits a stream (pieces of at most `capacity` characters).
Lines split_lines(std::string_view content, std::size_t capacity = kLineCapacity);

// The same pieces as views, for loading a large file without a copy of each
// line. `content` is changed in place first (each CR LF pair becomes a line
// feed, as the reader reads it) and the views point into it, so it must stay
// as it is while they are used.
using LineViews = std::vector<std::string_view>;
LineViews split_line_views(std::string& content, std::size_t capacity = kLineCapacity);

// The two halves of `split_line_views`: each CR LF pair made a line feed, and
// the pieces of a text so changed, cut at line feeds alone.
void fold_line_ends(std::string& content);
LineViews pieces_of_folded(std::string_view folded, std::size_t capacity = kLineCapacity);

// Views of lines held elsewhere.
LineViews views_of(const Lines& lines);

// Many lines held as one text, for the long lists of lines that content files
// may hold (messages, descriptions): a line costs its characters and four bytes,
// not a string of its own. A content file is far smaller than 4 GiB, so the
// offsets fit 32 bits.
class TextLines {
 public:
  TextLines() = default;
  TextLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) push_back(line);
  }

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(start, ends_[index] - start);
  }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size() - 1]; }
  void push_back(std::string_view line) {
    text_ += line;
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  // Room for `lines` more lines of `characters` characters in all.
  void reserve(std::size_t lines, std::size_t characters) {
    ends_.reserve(ends_.size() + lines);
    text_.reserve(text_.size() + characters);
  }
  bool operator==(const TextLines& other) const = default;

  class const_iterator {
   public:
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    const_iterator() = default;
    const_iterator(const TextLines* lines, std::size_t index) : lines_(lines), index_(index) {}
    std::string_view operator*() const { return (*lines_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }

   private:
    const TextLines* lines_ = nullptr;
    std::size_t index_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  std::string text_;
  std::vector<std::uint32_t> ends_;
};

// Every piece of the file; nothing when `read_file` gives nothing.
std::optional<Lines> read_lines(const std::filesystem::path& file, std::size_t capacity = kLineCapacity);

}  // namespace vesk
