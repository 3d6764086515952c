// The state of one game: the world it plays, the state of its areas, the
// variables, the inventory, the dice and the console, with the few questions
// that every rule asks of them. Everything here but the world is the game's
// own, so a copy of a game state plays on apart from the original.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/random.hpp"
#include "content/world.hpp"
#include "state/area_state.hpp"
#include "state/inventory.hpp"
#include "state/observer.hpp"
#include "state/outcome.hpp"
#include "state/variables.hpp"

namespace vesk {

inline constexpr std::size_t kPendingMessageCapacity = 1019;
// The most messages that wait for the next view; a message queued beyond them
// is dropped, so that a script looping over messages cannot exhaust memory.
inline constexpr std::size_t kMaxPendingMessages = 10000;
inline constexpr std::size_t kWeaponNameCapacity = 126;

// The damage numbers of the selected weapon, rewritten by every attack.
struct WeaponProfile {
  std::int32_t min_damage = 1;
  std::int32_t max_damage = 10;
  std::int32_t hit_chance = 50;
};

// What the last area view listed: the numbers the player types after "path"
// and "action" refer to this listing, not to the area as it is now.
struct Listing {
  std::string exit_letters;          // subdivided: 'a'head, 'r'ight, 'b'ack, 'l'eft per listed number
  std::vector<std::size_t> paths;    // ordinary: the path number (from 1) behind each listed number
  std::vector<std::size_t> actions;  // the action number (from 1) behind each listed number
  std::vector<bool> visible_items;   // per area item: whether the item conditions let it be seen
  std::int32_t weekday = 0;          // the calendar at the view, which "tcw" and "tch" test
  std::int32_t hour = 0;
};

// The item whose item variables the "vi" operands of conditions read: an
// inventory entry, or an item of the current area.
struct ItemRef {
  enum class Place { kNone, kInventory, kArea } place = Place::kNone;
  std::size_t index = 0;
};

struct GameState {
  // `directory` is where saved games are written and read.
  GameState(std::shared_ptr<const World> world, std::istream& in, std::ostream& out, std::uint32_t seed,
            std::filesystem::path directory = ".");

  const World& world() const { return *world_; }

  // The current area: what its file says, and what play has made of it.
  const Area& current_area() const { return world_->area(current_index()); }
  AreaState& current_area_state() { return area_state(current_index()); }
  // Area `index` (from 0), laid out for play when it is first asked for.
  AreaState& area_state(std::size_t index) { return areas.at(index, world_->area(index)); }
  bool is_area_number(std::int64_t number) const;

  // Whether a thing on `spot` of the current area is where the player is: in
  // an ordinary area everything is, in a subdivided one what is on the
  // player's spot.
  bool is_with_player(std::int32_t spot) const { return !subdivided_now || spot == vars.spot; }
  bool in_the_dark() const { return current_area().is_dark && !has_lamp; }

  // The item variables that "vi" reads, of the current item; nullptr when
  // there is none.
  const ItemVariables* current_item_variables() const;

  // Answers an entry that names nothing: "Entry invalid." and no turn.
  Outcome invalid_entry();
  // Queues a finished text for the next area view, unless the list is full.
  void queue_message(std::string_view text);
  // Reads one line of at most 254 characters, cut at its line end; false at
  // the end of the input.
  bool read_line(std::string& line);

  std::istream& in() const { return *in_; }
  std::ostream& out() const { return *out_; }
  // Plays on with other streams, as a copy that is resumed elsewhere does.
  void attach(std::istream& in, std::ostream& out) {
    in_ = &in;
    out_ = &out;
  }

  AreaStates areas;
  std::vector<std::int32_t> ammo;  // per entry of the world's ammunition table, its count
  Variables vars;
  Inventory inventory;
  std::string selected_weapon = "strike";
  WeaponProfile weapon;
  Random rng;
  std::filesystem::path directory;

  bool view_due = true;
  bool game_over = false;
  std::int32_t last_noted_area = 1;
  bool has_lamp = false;
  bool has_armor = false;
  bool grappled = false;
  std::int32_t current_water_level = 0;  // 0 dry, 1 swimming, 2 under water
  bool subdivided_now = false;
  bool entry_spot_known = false;
  std::int32_t facing = -1;  // compass direction 0 to 3 in a subdivided area

  Listing listing;
  ItemRef current_item;
  std::vector<std::string> pending_messages;

  // One run of a script makes at most this many backward jumps, so that a
  // faulty loop cannot hold the game for ever.
  long jump_limit = 1000000;

  // Hears what the game does; tools install one, the game never does.
  Observer* observer = nullptr;

 private:
  std::size_t current_index() const { return static_cast<std::size_t>(vars.area - 1); }

  std::shared_ptr<const World> world_;
  std::istream* in_;
  std::ostream* out_;
};

}  // namespace vesk
