// vesk-kit lsp: the pure parts of the editors' protocol, apart from any game:
// the framing of messages on a byte stream and the mapping between an
// editor's positions (lines from 0, columns in UTF-16 units) and bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::kit::lsp {

// Reads one message: header lines up to an empty line, one of them
// "Content-Length: N", then N bytes. Nothing at the end of the stream or on a
// header without a usable length; `error` then says which, empty at the end.
std::optional<std::string> read_message(std::istream& in, std::string& error);

// Writes one message with its header.
void write_message(std::ostream& out, std::string_view body);

// The byte offset of every line start of a text; lines end at "\n", so a
// "\r" before it stays with its line, as the game reads it.
std::vector<std::size_t> line_starts(std::string_view text);

// A line's byte offset for an editor's column (UTF-16 units), within the
// line's bytes (its "\n" not included). Bytes that are no UTF-8 count as one
// unit each, as an editor shows them replaced; a column past the end gives the
// line's length.
std::size_t byte_of_column(std::string_view line, std::int64_t column);
// The editor's column (UTF-16 units) of a byte offset within a line.
std::int64_t column_of_byte(std::string_view line, std::size_t byte);

// The text of line `line` (from 0) without its "\n", or the empty text past the end.
std::string_view line_text(std::string_view text, const std::vector<std::size_t>& starts, std::size_t line);

}  // namespace vesk::kit::lsp
