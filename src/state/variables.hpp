// The game variables: the values that scripts, conditions, texts and saved
// games reach by short names ("h", "ca", "v12", "s3").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/script_code.hpp"

namespace vesk {

// The tables grow to the highest number used; numbers beyond these name nothing,
// so that a stray huge number cannot exhaust memory.
inline constexpr std::int32_t kMaxNumberedVariables = 1000000;
inline constexpr std::int32_t kMaxStringVariables = 100000;
inline constexpr std::size_t kStringVariableCapacity = 254;
inline constexpr std::size_t kDamageCauseCapacity = 126;

struct Variables {
  std::int32_t clock = 0;              // "game": seconds since the game began
  std::int32_t day_start = 0;          // "steps": the clock value at which the current day began
  std::int32_t daily_counter = 8;      // "htcw": set to 8 at every new day, for scripts
  std::int32_t area = 1;               // "ca": the current area, always a valid area number
  std::int32_t previous_area = 0;      // "prev": the area the player was in before
  std::int32_t spot = -1;              // "a2": the player's spot in a subdivided area, -1 on none
  std::int32_t air = 100;              // "air": air left under water
  std::int32_t air_supply = 0;         // "air2": 1 while an item that supplies air is carried
  std::int32_t fading_damage = 0;      // "dt1": lasting damage that weakens by 1 at every view
  std::int32_t steady_damage = 0;      // "dt2": lasting damage that stays
  std::int32_t health = 100;           // "h"
  std::int32_t money = 50;             // "m"
  std::string fading_damage_cause;     // what "dt1" damage is from ("d1t")
  std::string steady_damage_cause;     // what "dt2" damage is from ("d2t")
  std::vector<std::int32_t> numbered;  // v1, v2, ...
  std::vector<std::string> strings;    // s1, s2, ...

  // Numbered variable `number`, growing the table to it; nullptr when the
  // number names no variable.
  std::int32_t* numbered_variable(std::int32_t number) {
    if (number >= 1 && static_cast<std::size_t>(number) <= numbered.size()) {
      return &numbered[static_cast<std::size_t>(number - 1)];
    }
    return grow_numbered(number);
  }
  // String variable `number`, growing the table to it; nullptr likewise.
  std::string* string_variable(std::int32_t number);

 private:
  std::int32_t* grow_numbered(std::int32_t number);
};

// The named integer variables under their script names: the one place where
// a script name meets the field behind it. Scripts resolved at load time name
// them by their place in this table.
struct NamedVariable {
  std::string_view name;
  std::int32_t Variables::*field;
};
inline constexpr std::array<NamedVariable, 12> kNamedVariables = {{
    {"game", &Variables::clock},
    {"steps", &Variables::day_start},
    {"htcw", &Variables::daily_counter},
    {"ca", &Variables::area},
    {"prev", &Variables::previous_area},
    {"a2", &Variables::spot},
    {"air", &Variables::air},
    {"air2", &Variables::air_supply},
    {"dt1", &Variables::fading_damage},
    {"dt2", &Variables::steady_damage},
    {"h", &Variables::health},
    {"m", &Variables::money},
}};

constexpr bool names_match_script_names() {
  for (std::size_t k = 0; k < kNamedVariables.size(); ++k) {
    if (kNamedVariables[k].name != kNamedVariableNames[k]) return false;
  }
  return kNamedVariables.size() == kNamedVariableNames.size();
}
static_assert(names_match_script_names(), "the named variables are out of step with their script names");

// The field behind a script name, or nullptr for a name that is no named variable.
std::int32_t Variables::*named_field(std::string_view name);

}  // namespace vesk
