// The state of one game.
#include "state/game_state.hpp"

#include <istream>
#include <ostream>
#include <utility>

#include "base/index.hpp"
#include "base/lines.hpp"
#include "base/words.hpp"

namespace vesk {

GameState::GameState(std::shared_ptr<const World> world, std::istream& input, std::ostream& output, std::uint32_t seed,
                     std::filesystem::path directory_in)
    : areas(world->area_count()),
      ammo(world->ammo.size(), 0),
      rng(seed),
      directory(std::move(directory_in)),
      world_(std::move(world)),
      in_(&input),
      out_(&output) {}

bool GameState::is_area_number(std::int64_t number) const { return is_number_in(number, world_->area_count()); }

const ItemVariables* GameState::current_item_variables() const {
  const std::size_t i = current_item.index;
  switch (current_item.place) {
    case ItemRef::Place::kInventory:
      return i < inventory.size() ? &inventory.entries()[i].item.item_variables : nullptr;
    case ItemRef::Place::kArea: {
      const AreaState* here = is_area_number(vars.area) ? areas.if_laid_out(current_index()) : nullptr;
      return here && i < here->items.size() ? &here->items[i].item_variables : nullptr;
    }
    case ItemRef::Place::kNone:
      break;
  }
  return nullptr;
}

Outcome GameState::invalid_entry() {
  if (observer) observer->on_invalid_entry();
  out() << "Entry invalid.\n\n";
  return Outcome::no_turn();
}

void GameState::queue_message(std::string_view text) {
  if (pending_messages.size() >= kMaxPendingMessages) return;
  pending_messages.push_back(cut(text, kPendingMessageCapacity));
}

bool GameState::read_line(std::string& line) {
  if (!read_piece(in(), line)) {
    line.clear();
    return false;
  }
  if (const std::size_t end = line.find('\n'); end != std::string::npos) line.resize(end);
  return true;
}

}  // namespace vesk
