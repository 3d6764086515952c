// vesk-kit xref: where each name of a game is written and read, worked out
// from the compiled script records the game runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/world.hpp"

namespace vesk::kit {

// A name and every place that writes it and reads it. Written means set (a
// variable), given or taken (an item), placed (an enemy), moved to (an area
// by "ca"), defined (a label); read means tested, shown, jumped to or led to.
struct XrefEntry {
  enum class Kind { kVariable, kString, kItem, kEnemy, kLabel, kArea, kMessage };
  Kind kind;
  std::string name;         // "v3", "s2", "h", "a_crossbow", "rusty key", "4" (an area), "msg1.txt line 2"
  std::int32_t number = 0;  // kVariable "vN" and kString "sN": N; otherwise 0
  std::vector<SourcePos> written;
  std::vector<SourcePos> read;
  // A variable compared with a literal number by a condition: a value that
  // makes each such comparison hold ("= v1 5": 5, "+ v1 5": 6, "- v1 5": 4),
  // in increasing order, each once.
  std::vector<std::int32_t> holding_values;
};

const char* xref_kind_name(XrefEntry::Kind kind);

// The name the cross-reference gives the variable of an operand: "h", "v3",
// "a_crossbow", "vi2", and for an indirect "vN" the v N it reads first; the
// empty text for an operand that names no variable.
std::string xref_variable_name(const Operand& operand);

// Every name that a script, condition or path of the world writes or reads,
// by kind and then name; each place once, in the order the world holds them.
std::vector<XrefEntry> cross_reference(const World& world);

}  // namespace vesk::kit
