// The world as a Graphviz graph (see `vesk-kit map`).
#pragma once

#include <string>
#include <string_view>

#include "content/world.hpp"

namespace vesk::kit {

// `text` as a quoted DOT string: quotes and backslashes escaped, line feeds as
// "\n", other control bytes as spaces and bytes that are not UTF-8 as "?".
std::string dot_string(std::string_view text);

// The world as a DOT graph (see `vesk-kit map`).
std::string world_map(const World& world);

}  // namespace vesk::kit
