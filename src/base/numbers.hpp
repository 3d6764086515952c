// Numbers in texts: the integer test and the decimal conversion that every
// file, script and command reads numbers with.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesk {

// True when every character is a digit, the first may be a sign; the empty text
// and a lone sign count as integers.
bool is_integer_text(std::string_view text);

// True when the text is a whole number as an author means one: digits, the
// first may be a sign, and at least one digit. The game reads any other number
// word by decimal conversion all the same; tools warn of it.
inline bool is_whole_number(std::string_view text) {
  const std::size_t sign = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  return text.size() > sign && is_integer_text(text);
}

// Decimal integer conversion: leading white space, an optional sign and the
// leading digits; anything else gives 0. Values beyond 32 bits saturate.
std::int32_t to_int(std::string_view text);

}  // namespace vesk
