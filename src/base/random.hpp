// The game's random generator: one linear congruential sequence, seeded once.
#pragma once

#include <cstdint>

namespace vesk {

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}

  // The next draw, 0 to 32,767: bits 16 to 30 of the new state.
  std::int32_t next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<std::int32_t>((state_ >> 16) & 0x7fffu);
  }

  // A fresh draw modulo `n` (never negative, since draws are not); `n` must not be 0.
  std::int32_t mod(std::int32_t n) { return next() % n; }

  // `min` plus a fresh draw modulo (`max` - `min`): `min` to `max` - 1 when
  // `max` is above `min`; `min` itself, without a draw, when they are equal.
  std::int32_t range(std::int32_t min, std::int32_t max) {
    if (max == min) return min;
    const auto span = static_cast<std::int32_t>(static_cast<std::uint32_t>(max) - static_cast<std::uint32_t>(min));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(min) + static_cast<std::uint32_t>(mod(span)));
  }

  // A chance of `percent` percent: true when a fresh draw modulo 100 is below it.
  bool chance(std::int32_t percent) { return mod(100) < percent; }

  // Where the sequence stands; two generators that agree on it draw alike.
  std::uint32_t state() const { return state_; }

 private:
  std::uint32_t state_;
};

}  // namespace vesk
