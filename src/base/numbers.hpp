// Numbers in texts: the integer test and the decimal conversion that every
// file, script and command reads numbers with.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesk {

// True when every character is a digit, the first may be a sign; the empty text
// and a lone sign count as integers.
bool is_integer_text(std::string_view text);

// Decimal integer conversion: leading white space, an optional sign and the
// leading digits; anything else gives 0. Values beyond 32 bits saturate.
std::int32_t to_int(std::string_view text);

}  // namespace vesk
