// Text utilities: words, joins, replacements, numbers and line reading.
#include "base/text.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <istream>
#include <limits>
#include <type_traits>
#include <utility>

namespace vesk {

void split_words(std::string_view text, WordViews& words, std::string_view delimiters) {
  words.clear();
  const char* const end = text.data() + text.size();
  const auto add = [&](const char* first, const char* last) {
    words.push_back({first, std::min(static_cast<std::size_t>(last - first), kWordCapacity)});
  };
  if (delimiters.size() == 1) {
    // The common case, one delimiter, needs no table.
    const char delimiter = delimiters[0];
    for (const char* p = text.data();;) {
      while (p != end && *p == delimiter) ++p;
      if (p == end) break;
      const char* const first = p;
      while (p != end && *p != delimiter) ++p;
      add(first, p);
    }
  } else {
    // A table of the delimiters, so that each character is looked at once
    // rather than searched for among them.
    std::array<bool, 256> is_delimiter{};
    for (const char c : delimiters) is_delimiter[static_cast<unsigned char>(c)] = true;
    const auto delimits = [&](char c) { return is_delimiter[static_cast<unsigned char>(c)]; };
    for (const char* p = text.data();;) {
      while (p != end && delimits(*p)) ++p;
      if (p == end) break;
      const char* const first = p;
      while (p != end && !delimits(*p)) ++p;
      add(first, p);
    }
  }
  if (!words.empty() && !words.back().empty() && words.back().back() == '\n') words.back().remove_suffix(1);
}

RareText::RareText(std::string_view text) {
  if (text.empty()) return;
  const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), UINT32_MAX));
  // Not zeroed first, as std::make_unique would: every byte is written below.
  data_.reset(new char[kHeader + length + 1]);
  std::memcpy(data_.get(), &length, kHeader);
  std::memcpy(data_.get() + kHeader, text.data(), length);
  data_[kHeader + length] = '\0';
}

std::string_view RareText::view() const {
  if (!data_) return {};
  std::uint32_t length = 0;
  std::memcpy(&length, data_.get(), kHeader);
  return {data_.get() + kHeader, length};
}

void WordViews::spill(std::string_view word) {
  if (size_ == kInPlace) spilled_.assign(in_place_.words, in_place_.words + kInPlace);
  spilled_.push_back(word);
  ++size_;
}

WordViews word_views(std::string_view text, std::string_view delimiters) {
  WordViews words;
  split_words(text, words, delimiters);
  return words;
}

Words split_words(std::string_view text, std::string_view delimiters) {
  const WordViews views = word_views(text, delimiters);
  return {views.begin(), views.end()};
}

namespace {

// Words cut from one text that follow one another there with one space
// between them are their own join, where it fits a built text.
std::optional<std::string_view> joined_in_place(WordSpan words, long first, long last) {
  for (long k = first; k < last; ++k) {
    const std::string_view word = words[static_cast<std::size_t>(k)];
    const std::string_view next = words[static_cast<std::size_t>(k + 1)];
    if (word.data() + word.size() + 1 != next.data() || word.data()[word.size()] != ' ') return std::nullopt;
  }
  const std::string_view last_word = words[static_cast<std::size_t>(last)];
  const auto length =
      static_cast<std::size_t>(last_word.data() + last_word.size() - words[static_cast<std::size_t>(first)].data());
  return std::string_view(words[static_cast<std::size_t>(first)].data(), std::min(length, kTextCapacity));
}

// Words `first` to `last`, both within the list, copied into one new text with
// single spaces. The length comes first, so that the text is made once at its
// size and the words are copied into it where they go.
template <typename List>
std::string copied_join(const List& words, long first, long last) {
  auto length = static_cast<std::size_t>(last - first);
  for (long k = first; k <= last; ++k) length += std::string_view(words[static_cast<std::size_t>(k)]).size();
  std::string joined(std::min(length, kTextCapacity), ' ');
  std::size_t at = 0;
  for (long k = first; k <= last && at < joined.size(); ++k) {
    if (k > first) ++at;  // the space is there already
    const std::string_view word =
        std::string_view(words[static_cast<std::size_t>(k)]).substr(0, joined.size() - std::min(at, joined.size()));
    word.copy(joined.data() + at, word.size());
    at += word.size();
  }
  return joined;
}

template <typename List>
std::string join_list(const List& words, long first, long last) {
  first = std::max(first, 0L);
  last = std::min(last, static_cast<long>(words.size()) - 1);
  if (first > last) return {};
  if constexpr (std::is_same_v<List, WordSpan>) {
    if (const std::optional<std::string_view> joined = joined_in_place(words, first, last)) return std::string(*joined);
  }
  return copied_join(words, first, last);
}

}  // namespace

std::string join_words(const Words& words, long first, long last) { return join_list(words, first, last); }

std::string join_words(WordSpan words, long first, long last) { return join_list(words, first, last); }

RareText joined_text(WordSpan words, long first, long last) {
  first = std::max(first, 0L);
  last = std::min(last, word_count(words) - 1);
  if (first > last) return {};
  if (const std::optional<std::string_view> joined = joined_in_place(words, first, last)) return {*joined};
  return {copied_join(words, first, last)};
}

bool rejoins_as_is(WordSpan words) {
  std::size_t length = 0;
  for (const std::string_view word : words) {
    if (word.empty() || word.size() > kWordCapacity || word.back() == '\n') return false;
    length += word.size() + 1;
  }
  return length <= kTextCapacity + 1;
}

void rejoin_words(WordSpan words, long first, long last, WordViews& rejoined) {
  rejoined.clear();
  first = std::max(first, 0L);
  last = std::min(last, word_count(words) - 1);
  // `length` follows the length of the join; what lies beyond its capacity is
  // cut, and the words come out of the split as they went in, empty ones apart.
  std::size_t length = 0;
  for (long k = first; k <= last && length < kTextCapacity; ++k) {
    if (k > first && ++length >= kTextCapacity) break;
    const std::string_view word = words[static_cast<std::size_t>(k)];
    const std::string_view kept = word.substr(0, std::min(kTextCapacity - length, kWordCapacity));
    if (!kept.empty()) rejoined.push_back(kept);
    length += word.size();
  }
  if (!rejoined.empty() && !rejoined.back().empty() && rejoined.back().back() == '\n') rejoined.back().remove_suffix(1);
}

NameAndNumber name_and_number(const Words& words) {
  const bool numbered = !words.empty() && is_integer_text(words.back());
  return {join_words(words, 1, word_count(words) - (numbered ? 2 : 1)), numbered ? to_int(words.back()) : 1};
}

std::string replace_char(std::string_view text, char find, char put) {
  std::string result = cut(text, kTextCapacity);
  std::replace(result.begin(), result.end(), find, put);
  return result;
}

std::string replace_word(std::string_view text, std::string_view find, std::string_view replacement) {
  std::string result;
  for (const std::string& word : split_words(text)) {
    result += ' ';
    result += word == find ? replacement : std::string_view(word);
    if (result.size() >= kTextCapacity) break;
  }
  return cut(result, kTextCapacity);
}

bool is_integer_text(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (i == 0 && (c == '+' || c == '-')) continue;
    return false;
  }
  return true;
}

std::string substring(std::string_view text, long start, long length) {
  if (start < 0 || static_cast<std::size_t>(start) >= text.size()) return {};
  const long end = std::min(start + std::max(length, 1L), static_cast<long>(text.size()));
  return cut(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)), kTextCapacity);
}

std::int32_t to_int(std::string_view text) {
  std::size_t i = 0;
  auto is_space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLimit);
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(std::min(value, kLimit - 1));
}

std::string cut(std::string_view text, std::size_t capacity) { return std::string(text.substr(0, capacity)); }

std::string format_text(const char* format, ...) {
  // Most texts fit the buffer; a longer one is formatted again at its size.
  char buffer[512];
  va_list args;
  va_start(args, format);
  // The analyzer does not see va_start through the standard header's macro.
  // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
  const int size = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (size < 0) return {};
  if (static_cast<std::size_t>(size) < sizeof buffer) return {buffer, static_cast<std::size_t>(size)};
  std::string text(static_cast<std::size_t>(size), '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return text;
}

namespace {

// One piece of a line from any character source: at most `capacity`
// characters, through the first line feed, with CR LF read as a line feed.
template <typename Source>
bool take_piece(Source& source, std::string& piece, std::size_t capacity = kLineCapacity) {
  piece.clear();
  while (piece.size() < capacity) {
    int c = source.peek();
    if (c == Source::kEnd) break;
    source.bump();
    if (c == '\r' && source.peek() == '\n') {
      source.bump();
      c = '\n';
    }
    piece += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !piece.empty();
}

// A text ends at its first NUL byte; what follows it on the line is dropped,
// so that what the game shows and what it matches are the same text.
void end_at_nul(std::string& piece) {
  if (const std::size_t nul = piece.find('\0'); nul != std::string::npos) piece.resize(nul);
}

struct StreamSource {
  static constexpr int kEnd = std::char_traits<char>::eof();
  std::streambuf* buffer;
  int peek() { return buffer ? buffer->sgetc() : kEnd; }
  void bump() { buffer->sbumpc(); }
};

struct TextSource {
  static constexpr int kEnd = -1;
  std::string_view text;
  std::size_t pos = 0;
  int peek() const { return pos < text.size() ? static_cast<unsigned char>(text[pos]) : kEnd; }
  void bump() { ++pos; }
};

}  // namespace

bool read_piece(std::istream& in, std::string& piece) {
  piece.clear();
  bool got = false;
  if (!in.bad()) {
    StreamSource source{in.rdbuf()};
    try {
      got = take_piece(source, piece);
    } catch (...) {
      // The stream buffer throws when the read itself fails (standard input
      // closed, or a directory): that is the end of the input, for good.
      in.setstate(std::ios::badbit);
      got = !piece.empty();
    }
  }
  if (!got) in.setstate(std::ios::eofbit);
  end_at_nul(piece);
  return got;
}

int read_char(std::istream& in) {
  constexpr int kEnd = std::char_traits<char>::eof();
  std::streambuf* buffer = in.rdbuf();
  if (in.bad() || !buffer) return kEnd;
  try {
    const int c = buffer->sbumpc();
    if (c == kEnd) in.setstate(std::ios::eofbit);
    return c;
  } catch (...) {
    in.setstate(std::ios::badbit);
    return kEnd;
  }
}

// Most lines of a file fit a piece and hold no CR but a CR LF at their end:
// such a line is taken where it lies, its CR LF made a line feed in place,
// without looking at it a character at a time. Anything else is read by the
// character, exactly as a stream is, and written back where it was read from,
// which it never outgrows.
TextLines::TextLines(std::string content, std::size_t capacity) {
  if (content.empty()) return;
  // The text is kept behind a pointer of its own, so that its bytes stay
  // where they are when the list moves.
  buffer_ = std::make_unique<std::string>(std::move(content));
  char* const text = buffer_->data();
  const std::string_view all(text, buffer_->size());
  std::size_t feeds = 0;
  for (std::size_t at = all.find('\n'); at != std::string_view::npos; at = all.find('\n', at + 1)) ++feeds;
  lines_.reserve(feeds + 1);
  // Most files hold neither CRs nor NULs, and their lines need no look for them.
  const bool has_cr = all.find('\r') != std::string_view::npos;
  const bool has_nul = all.find('\0') != std::string_view::npos;
  // A text ends at its first NUL byte; what follows it on the line is
  // dropped, so that what the game shows and what it matches are the same text.
  const auto keep = [&](std::size_t start, std::size_t length) {
    const std::string_view line(text + start, length);
    lines_.push_back(has_nul ? line.substr(0, line.find('\0')) : line);
  };
  TextSource source{all};
  std::string piece;
  while (source.pos < all.size()) {
    const std::string_view rest = all.substr(source.pos);
    const std::size_t feed = rest.find('\n');
    const std::string_view line = feed == std::string_view::npos ? rest : rest.substr(0, feed + 1);
    const bool crlf = has_cr && line.size() >= 2 && line.back() == '\n' && line[line.size() - 2] == '\r';
    const std::string_view body = crlf ? line.substr(0, line.size() - 2) : line;
    const std::size_t length = crlf ? body.size() + 1 : body.size();
    if (length <= capacity && (!has_cr || body.find('\r') == std::string_view::npos)) {
      if (crlf) text[source.pos + body.size()] = '\n';
      keep(source.pos, length);
      source.pos += line.size();
    } else {
      const std::size_t start = source.pos;
      if (!take_piece(source, piece, capacity)) break;
      piece.copy(text + start, piece.size());
      keep(start, piece.size());
    }
  }
}

std::vector<std::string> split_lines(std::string_view content, std::size_t capacity) {
  return TextLines(std::string(content), capacity).copied();
}

namespace {

// Opens `file` for reading without ever blocking: opening a FIFO for reading
// waits for a writer unless it is non-blocking. -1 when it cannot be opened.
int open_for_reading(const std::filesystem::path& file) {
  int fd = -1;
  do {
    fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

bool file_exists(const std::filesystem::path& file) {
  const int fd = open_for_reading(file);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::optional<std::string> read_file(const std::filesystem::path& file) {
  const int fd = open_for_reading(file);
  if (fd < 0) return std::nullopt;
  // Only a regular file has an end: a FIFO may never deliver one and a device
  // such as /dev/zero never does, so anything else counts as missing.
  struct stat info {};
  std::optional<std::string> content;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    // Room for one byte more than the file holds: a read that brings the
    // whole file and finds no more has found its end, and saves asking again.
    const auto expected = static_cast<std::size_t>(info.st_size);
    std::string data(expected + 1, '\0');
    std::size_t have = 0;
    bool failed = false;
    for (;;) {
      if (have == data.size()) data.resize(data.size() + 65536);
      const ssize_t got = ::read(fd, &data[have], data.size() - have);
      if (got > 0) {
        have += static_cast<std::size_t>(got);
        if (have == expected && have < data.size()) break;
      } else if (got == 0) {
        break;
      } else if (errno != EINTR) {
        failed = true;
        break;
      }
    }
    if (!failed) {
      data.resize(have);
      content = std::move(data);
    }
  }
  ::close(fd);
  return content;
}

std::optional<TextLines> read_lines(const std::filesystem::path& file, std::size_t capacity) {
  std::optional<std::string> content = read_file(file);
  if (!content) return std::nullopt;
  return TextLines(std::move(*content), capacity);
}

}  // namespace vesk
