// vesk-kit lsp: message framing and the editor's positions.
#include "kit/lsp_protocol.hpp"

#include <charconv>

namespace vesk::kit::lsp {

namespace {

// Longest header line the reader takes; real headers are a few dozen bytes.
constexpr std::size_t kMaxHeaderLine = 1024;
// Largest message body; a content file is at most 256 MiB, and its JSON a
// little more.
constexpr std::uint64_t kMaxBody = std::uint64_t{512} << 20;

// The bytes of a UTF-8 sequence and the UTF-16 units of the character it
// encodes; one byte and one unit for a byte that begins no whole sequence.
struct Sequence {
  std::size_t bytes;
  std::int64_t units;
};

Sequence sequence_at(std::string_view line, std::size_t at) {
  const auto lead = static_cast<unsigned char>(line[at]);
  std::size_t bytes = 1;
  std::int64_t units = 1;
  if (lead >= 0xF0 && lead < 0xF8) {
    bytes = 4;
    units = 2;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    bytes = 3;
  } else if (lead >= 0xC0 && lead < 0xE0) {
    bytes = 2;
  }
  if (at + bytes > line.size()) return {1, 1};
  for (std::size_t next = 1; next < bytes; ++next) {
    if ((static_cast<unsigned char>(line[at + next]) & 0xC0) != 0x80) return {1, 1};
  }
  return {bytes, units};
}

// Walks the characters of a line from its start while `more(byte, units)`
// holds of the place reached; the bytes and units walked.
template <typename More>
Sequence walk(std::string_view line, More more) {
  Sequence reached{0, 0};
  while (reached.bytes < line.size() && more(reached.bytes, reached.units)) {
    const Sequence next = sequence_at(line, reached.bytes);
    reached.bytes += next.bytes;
    reached.units += next.units;
  }
  return reached;
}

}  // namespace

std::optional<std::string> read_message(std::istream& in, std::string& error) {
  error.clear();
  std::optional<std::uint64_t> length;
  std::string header;
  bool any = false;
  while (true) {
    header.clear();
    int c = 0;
    while ((c = in.get()) != std::char_traits<char>::eof() && c != '\n') {
      if (header.size() >= kMaxHeaderLine) {
        error = "header line too long";
        return std::nullopt;
      }
      header.push_back(static_cast<char>(c));
    }
    if (c == std::char_traits<char>::eof()) {
      if (any || !header.empty()) error = "stream ended inside a header";
      return std::nullopt;
    }
    any = true;
    if (!header.empty() && header.back() == '\r') header.pop_back();
    if (header.empty()) break;
    constexpr std::string_view kLength = "Content-Length:";
    if (header.size() >= kLength.size() && std::string_view(header).substr(0, kLength.size()) == kLength) {
      std::string_view number = std::string_view(header).substr(kLength.size());
      while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
      std::uint64_t value = 0;
      const auto [end, code] = std::from_chars(number.data(), number.data() + number.size(), value);
      if (code != std::errc() || end != number.data() + number.size() || value > kMaxBody) {
        error = "bad Content-Length";
        return std::nullopt;
      }
      length = value;
    }
  }
  if (!length) {
    error = "message without Content-Length";
    return std::nullopt;
  }
  std::string body(static_cast<std::size_t>(*length), '\0');
  in.read(body.data(), static_cast<std::streamsize>(body.size()));
  if (static_cast<std::uint64_t>(in.gcount()) != *length) {
    error = "stream ended inside a message";
    return std::nullopt;
  }
  return body;
}

void write_message(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

std::vector<std::size_t> line_starts(std::string_view text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\n') starts.push_back(at + 1);
  }
  return starts;
}

std::size_t byte_of_column(std::string_view line, std::int64_t column) {
  return walk(line, [&](std::size_t, std::int64_t units) { return units < column; }).bytes;
}

std::int64_t column_of_byte(std::string_view line, std::size_t byte) {
  return walk(line, [&](std::size_t at, std::int64_t) { return at < byte; }).units;
}

std::string_view line_text(std::string_view text, const std::vector<std::size_t>& starts, std::size_t line) {
  if (line >= starts.size()) return {};
  const std::size_t begin = starts[line];
  std::size_t end = line + 1 < starts.size() ? starts[line + 1] - 1 : text.size();
  if (end < begin) end = begin;
  return text.substr(begin, end - begin);
}

}  // namespace vesk::kit::lsp
