// The state of one game.
#include "state/game_state.hpp"

#include <istream>
#include <ostream>
#include <utility>

#include "base/index.hpp"
#include "base/text.hpp"

namespace vesk {

GameState::GameState(World world_in, std::istream& input, std::ostream& output, std::uint32_t seed,
                     std::filesystem::path directory_in)
    : world(std::move(world_in)), rng(seed), in(input), out(output), directory(std::move(directory_in)) {}

bool GameState::is_area_number(std::int64_t number) const { return is_number_in(number, world.area_count()); }

const Item* GameState::current_item_record() const {
  const std::size_t i = current_item.index;
  switch (current_item.place) {
    case ItemRef::Place::kInventory:
      return i < inventory.size() ? &inventory.entries()[i].item : nullptr;
    case ItemRef::Place::kArea:
      return i < current_area().items.size() ? &current_area().items[i] : nullptr;
    case ItemRef::Place::kNone:
      break;
  }
  return nullptr;
}

Outcome GameState::invalid_entry() {
  if (observer) observer->on_invalid_entry();
  out << "Entry invalid.\n\n";
  return Outcome::no_turn();
}

void GameState::queue_message(std::string_view text) {
  if (pending_messages.size() >= kMaxPendingMessages) return;
  pending_messages.push_back(cut(text, kPendingMessageCapacity));
}

bool GameState::read_line(std::string& line) {
  if (!read_piece(in, line)) {
    line.clear();
    return false;
  }
  if (const std::size_t end = line.find('\n'); end != std::string::npos) line.resize(end);
  return true;
}

}  // namespace vesk
