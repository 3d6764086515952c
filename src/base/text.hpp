// Text utilities: words, joins, replacements, numbers and line reading that every
// part of the game shares, with the capacities that the file formats fix.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A word holds at most 127 characters; a built text (a join, a replacement, an
// expanded text) and a line read from a file or the console at most 254.
inline constexpr std::size_t kWordCapacity = 127;
inline constexpr std::size_t kTextCapacity = 254;
inline constexpr std::size_t kLineCapacity = 254;

using Words = std::vector<std::string>;
// A text that most records leave empty (an ammunition operand's weapon, a
// label, a command's text), kept behind one pointer in one allocation, so that
// it widens every record by no more than that: a game holds a record for each
// of its many thousand script lines.
class RareText {
 public:
  RareText() = default;
  // NOLINTNEXTLINE(google-explicit-constructor): stored as plainly as a text.
  RareText(std::string_view text);
  // NOLINTNEXTLINE(google-explicit-constructor)
  RareText(const std::string& text) : RareText(std::string_view(text)) {}
  // NOLINTNEXTLINE(google-explicit-constructor)
  RareText(const char* text) : RareText(std::string_view(text)) {}
  RareText(const RareText& other) : RareText(other.view()) {}
  RareText& operator=(const RareText& other) {
    if (this != &other) *this = RareText(other.view());
    return *this;
  }
  RareText(RareText&&) noexcept = default;
  RareText& operator=(RareText&&) noexcept = default;
  ~RareText() = default;

  std::string_view view() const;
  const char* c_str() const { return data_ ? data_.get() + kHeader : ""; }
  std::string str() const { return std::string(view()); }
  bool empty() const { return !data_; }
  friend bool operator==(const RareText& text, std::string_view other) { return text.view() == other; }

 private:
  // The length, then the characters and a NUL.
  static constexpr std::size_t kHeader = sizeof(std::uint32_t);
  std::unique_ptr<char[]> data_;  // NOLINT(modernize-avoid-c-arrays)
};

using WordSpan = std::span<const std::string_view>;

// Words that point into the text they were cut from, which must outlive them.
// The loaders read every line through these, so that splitting a line copies
// nothing. A line of a file has room for 127 words at most; the list holds that
// many in place and only a longer text's words on the heap.
class WordViews {
 public:
  static constexpr std::size_t kInPlace = 128;

  WordViews() {}  // NOLINT(modernize-use-equals-default): the words in place stay unmade
  WordViews(const WordViews& other) : WordViews() { *this = other; }
  WordViews& operator=(const WordViews& other) {
    if (this != &other) {
      clear();
      for (const std::string_view word : other) push_back(word);
    }
    return *this;
  }
  ~WordViews() = default;

  void push_back(std::string_view word) {
    if (size_ >= kInPlace) return spill(word);
    new (&in_place_.words[size_++]) std::string_view(word);
  }
  void clear() {
    size_ = 0;
    spilled_.clear();
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::string_view* data() const { return size_ > kInPlace ? spilled_.data() : in_place_.words; }
  std::string_view* data() { return size_ > kInPlace ? spilled_.data() : in_place_.words; }
  const std::string_view* begin() const { return data(); }
  const std::string_view* end() const { return data() + size_; }
  const std::string_view& operator[](std::size_t i) const { return data()[i]; }
  std::string_view& back() { return data()[size_ - 1]; }
  const std::string_view& back() const { return data()[size_ - 1]; }
  // NOLINTNEXTLINE(google-explicit-constructor): reads as the span of its words.
  operator WordSpan() const { return {data(), size_}; }

 private:
  void spill(std::string_view word);

  // Room for the words in place, left unmade: a line's split makes only the
  // words it finds, not all of the room.
  union InPlace {
    InPlace() {}                       // NOLINT(modernize-use-equals-default)
    std::string_view words[kInPlace];  // NOLINT(modernize-avoid-c-arrays)
  };
  InPlace in_place_;
  std::vector<std::string_view> spilled_;
  std::size_t size_ = 0;
};

// Cuts `text` into words at every character of `delimiters`; runs of delimiters
// make no empty words. Each word is cut to its capacity, and one line feed is
// removed from the end of the last word, so "\n" alone gives one empty word.
Words split_words(std::string_view text, std::string_view delimiters = " ");
// The same words as views into `text`, into `words`: it is emptied first, and
// keeps its room for the next line.
void split_words(std::string_view text, WordViews& words, std::string_view delimiters = " ");
WordViews word_views(std::string_view text, std::string_view delimiters = " ");

// Words `first` to `last` (both included, 0-based) joined by single spaces; the
// empty text when first > last. Indices outside the list are skipped.
std::string join_words(const Words& words, long first, long last);
std::string join_words(WordSpan words, long first, long last);

inline long word_count(const Words& words) { return static_cast<long>(words.size()); }
inline long word_count(WordSpan words) { return static_cast<long>(words.size()); }

// Words `first` to the last, joined: "the rest" of a command or keyword line.
inline std::string words_from(const Words& words, long first) {
  return join_words(words, first, word_count(words) - 1);
}
inline std::string words_from(WordSpan words, long first) { return join_words(words, first, word_count(words) - 1); }
// The same join kept as a rare text, made without a copy between.
RareText joined_text(WordSpan words, long first, long last);

// Into `rejoined`, the words that joining `first` to `last` with single spaces
// and splitting the join again gives, as views into `words`' own texts (words
// that hold no space, as a split gives them): the empty words drop out and the
// join's capacity cuts the tail.
void rejoin_words(WordSpan words, long first, long last, WordViews& rejoined);
// Whether every run of `words` rejoins as it is: no word is empty, none ends in
// a line feed, and all of them joined fit a built text. A line of a file split
// into words always does.
bool rejoins_as_is(WordSpan words);

// The words after a command word read as "NAME [N]": the name joined with single
// spaces, and the number, 1 when the last word is not an integer ("pickup coin 2",
// "fight big rat").
struct NameAndNumber {
  std::string name;
  std::int32_t number = 1;
};
NameAndNumber name_and_number(const Words& words);

std::string replace_char(std::string_view text, char find, char put);

// Each word of `text` preceded by one space, with whole-word matches of `find`
// replaced: "a b c" with b -> X gives " a X c".
std::string replace_word(std::string_view text, std::string_view find, std::string_view replacement);

// True when every character is a digit, the first may be a sign; the empty text
// and a lone sign count as integers.
bool is_integer_text(std::string_view text);

// The character at `start`, then the following ones up to `start + length`,
// cut at the end of the text; the empty text when `start` is at or past the end.
std::string substring(std::string_view text, long start, long length);

// Decimal integer conversion: leading white space, an optional sign and the
// leading digits; anything else gives 0. Values beyond 32 bits saturate.
std::int32_t to_int(std::string_view text);

// The text cut to at most `capacity` characters.
std::string cut(std::string_view text, std::size_t capacity);

// printf-style formatting into a new text.
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether `text` begins with `prefix` (the content files' keyword test).
inline bool starts_with(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }

// Whether two words are the same. Words met in a script are mostly short and
// mostly differ in their first character, which is looked at first.
inline bool same_word(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || (a[0] == b[0] && a.substr(1) == b.substr(1)));
}

// Reads one piece of a line as the console and the file reader do: at most 254
// characters, stopping after the first line feed. A CR LF pair reads as a single
// line feed, and the piece ends at a NUL byte. False when the stream is at its
// end before any character.
// A read that fails (standard input closed or unreadable) reads as the end of
// the input, and so does every read after it.
bool read_piece(std::istream& in, std::string& piece);

// One character of `in`, or EOF at the end of the input or when the read fails.
int read_char(std::istream& in);

// Whether `file` can be opened for reading; never blocks.
bool file_exists(const std::filesystem::path& file);

// The whole content of a regular file; nothing when it cannot be opened or
// read, or is no regular file (a FIFO, a device, a directory). Every file the
// game reads is read through here.
std::optional<std::string> read_file(const std::filesystem::path& file);

using LineSpan = std::span<const std::string_view>;

// The pieces of a file's content in order (see `read_piece`; pieces of at most
// `capacity` characters), line ends kept. They point into the content, which
// the list takes over as it is, so that a file of any number of lines costs
// no copy and three allocations.
class TextLines {
 public:
  TextLines() = default;
  explicit TextLines(std::string content, std::size_t capacity = kLineCapacity);

  LineSpan lines() const { return lines_; }
  // NOLINTNEXTLINE(google-explicit-constructor): reads as the list of its pieces.
  operator LineSpan() const { return lines_; }
  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  std::string_view operator[](std::size_t i) const { return lines_[i]; }
  std::vector<std::string_view>::const_iterator begin() const { return lines_.begin(); }
  std::vector<std::string_view>::const_iterator end() const { return lines_.end(); }
  // The pieces as texts of their own, for a record that keeps them.
  std::vector<std::string> copied() const { return {lines_.begin(), lines_.end()}; }

 private:
  std::unique_ptr<std::string> buffer_;  // the bytes, which never move
  std::vector<std::string_view> lines_;
};

// Every piece of the file; nothing when `read_file` gives nothing.
std::optional<TextLines> read_lines(const std::filesystem::path& file, std::size_t capacity = kLineCapacity);

// The pieces of an in-memory file, split exactly as `read_lines` splits a file.
std::vector<std::string> split_lines(std::string_view content, std::size_t capacity = kLineCapacity);

}  // namespace vesk
