// vesk-kit xref: where each name of a game is written and read, worked out
// from the compiled script records the game runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/world.hpp"
#include "kit/trace.hpp"

namespace vesk::kit {

// A name and every place that writes it and reads it. Written means set (a
// variable), given or taken (an item), placed (an enemy), moved to (an area
// by "ca"), defined (a label); read means tested, shown, jumped to or led to.
struct XrefEntry {
  enum class Kind { kVariable, kString, kItem, kEnemy, kLabel, kArea, kMessage };
  struct Place {
    std::string file;
    std::int64_t line = 0;
    bool operator==(const Place&) const = default;
  };
  Kind kind;
  std::string name;  // "v3", "s2", "h", "a_crossbow", "rusty key", "4" (an area), "msg1.txt line 2"
  std::vector<Place> written;
  std::vector<Place> read;
};

const char* xref_kind_name(XrefEntry::Kind kind);

// Every name that a script, condition or path of the world writes or reads,
// by kind and then name; places in file order.
std::vector<XrefEntry> cross_reference(const World& world, SourceMap& sources);

}  // namespace vesk::kit
