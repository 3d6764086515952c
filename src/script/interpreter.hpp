// The action interpreter: runs one command of the script language.
#pragma once

#include <cstdint>
#include <string_view>

#include "content/records.hpp"

namespace vesk {

class Game;

// Runs one command; unknown commands do nothing.
void execute_command(Game& game, std::string_view command);
void execute_command(Game& game, const Words& words);

// Adds `quantity` of `item` to the entry of its name, or appends a new entry.
void add_to_inventory(Game& game, const Item& item, std::int32_t quantity);

// Places a copy of the catalogue enemy named `name` in the current area,
// persistent and, when `definite`, unique.
void place_enemy(Game& game, std::string_view name, bool definite);

}  // namespace vesk
