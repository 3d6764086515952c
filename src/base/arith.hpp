// Signed 32-bit arithmetic of the game's numbers: sums, differences and products
// wrap around as two's-complement values, without undefined behaviour.
#pragma once

#include <cstdint>

namespace vesk {

inline std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

inline std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Health lost to damage: the difference held at the 32-bit bounds, so that no
// damage, however extreme, turns a loss into a gain or a death into life.
inline std::int32_t lose_health(std::int32_t health, std::int32_t damage) {
  const std::int64_t left = std::int64_t{health} - damage;
  if (left > INT32_MAX) return INT32_MAX;
  if (left < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(left);
}

}  // namespace vesk
