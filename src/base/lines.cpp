// Lines and files: the piece reader of the console and of every file.
#include "base/lines.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <istream>
#include <new>
#include <utility>

namespace vesk {

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

bool read_whole_line(std::istream& in, std::string& line) {
  line.clear();
  for (int c = read_char(in); c != std::char_traits<char>::eof(); c = read_char(in)) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

Lines split_lines(std::string_view content, std::size_t capacity) {
  Lines lines;
  TextSource source{content};
  std::string piece;
  while (take_piece(source, piece, capacity)) {
    end_at_nul(piece);
    lines.push_back(piece);
  }
  return lines;
}

void fold_line_ends(std::string& content) {
  // Each CR LF pair becomes one line feed, paired from left to right as the
  // reader pairs them. Folding twice is not folding once ("\r\r\n" folds to
  // "\r\n", a line of a lone CR), so a text is folded exactly once.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') continue;
    content[kept++] = content[i];
  }
  content.resize(kept);
}

LineViews split_line_views(std::string& content, std::size_t capacity) {
  fold_line_ends(content);
  return pieces_of_folded(content, capacity);
}

LineViews pieces_of_folded(std::string_view folded, std::size_t capacity) {
  const std::string_view text = folded;
  LineViews pieces;
  std::size_t line_end = 0;  // just past the line feed of the line being cut, or the end
  for (std::size_t start = 0; start < text.size();) {
    if (start >= line_end) {
      const std::size_t feed = text.find('\n', start);
      line_end = feed == std::string_view::npos ? text.size() : feed + 1;
    }
    const std::size_t end = std::min(line_end, start + capacity);
    std::string_view piece = text.substr(start, end - start);
    if (const std::size_t nul = piece.find('\0'); nul != std::string_view::npos) piece = piece.substr(0, nul);
    pieces.push_back(piece);
    start = end;
  }
  return pieces;
}

LineViews views_of(const Lines& lines) { return {lines.begin(), lines.end()}; }

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

namespace {

// Reads the rest of `fd`, a regular file of `expected` bytes by its size.
// Nothing when a read fails or the file has grown past the limit meanwhile.
std::optional<std::string> read_regular(int fd, std::size_t expected) {
  // Room for one byte more than the file holds: a read that brings the whole
  // file and finds no more has found its end, and saves asking again.
  std::string data(expected + 1, '\0');
  std::size_t have = 0;
  for (;;) {
    if (have == data.size()) {
      if (data.size() > kFileSizeLimit) return std::nullopt;
      data.resize(data.size() + 65536);
    }
    const ssize_t got = ::read(fd, &data[have], data.size() - have);
    if (got > 0) {
      have += static_cast<std::size_t>(got);
      if (have == expected && have < data.size()) break;
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      return std::nullopt;
    }
  }
  if (have > kFileSizeLimit) return std::nullopt;
  data.resize(have);
  return data;
}

}  // namespace

std::optional<std::string> read_file(const std::filesystem::path& file, std::uint64_t* too_large) {
  if (too_large) *too_large = 0;
  const int fd = open_for_reading(file);
  if (fd < 0) return std::nullopt;
  // Only a regular file has an end: a FIFO may never deliver one and a device
  // such as /dev/zero never does, so anything else counts as missing.
  struct stat info {};
  std::optional<std::string> content;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > kFileSizeLimit) {
      if (too_large) *too_large = size;
    } else {
      try {
        content = read_regular(fd, static_cast<std::size_t>(size));
      } catch (const std::bad_alloc&) {
        // A file the memory cannot hold is as good as missing.
        content.reset();
      }
    }
  }
  ::close(fd);
  return content;
}

bool write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::optional<Lines> read_lines(const std::filesystem::path& file, std::size_t capacity) {
  const std::optional<std::string> content = read_file(file);
  if (!content) return std::nullopt;
  return split_lines(*content, capacity);
}

}  // namespace vesk
