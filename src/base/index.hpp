// Numbers from 1: the way the player, the scripts and the files count lists.
#pragma once

#include <cstdint>
#include <vector>

namespace vesk {

// Whether `number` names an element of a list of `size` elements counted from 1.
inline bool is_number_in(std::int64_t number, std::size_t size) {
  return number >= 1 && static_cast<std::uint64_t>(number) <= size;
}

// The element numbered `number` (from 1) of `list`, or nullptr where there is
// none. Every number that comes from a file, a script, a save or the player is
// looked up through here.
template <typename T>
T* nth(std::vector<T>& list, std::int64_t number) {
  return is_number_in(number, list.size()) ? &list[static_cast<std::size_t>(number - 1)] : nullptr;
}

template <typename T>
const T* nth(const std::vector<T>& list, std::int64_t number) {
  return is_number_in(number, list.size()) ? &list[static_cast<std::size_t>(number - 1)] : nullptr;
}

}  // namespace vesk
