// The world as a Graphviz graph, for vesk-kit map.
//
// Areas are nodes, paths are edges; a subdivided area is a cluster of its spots
// with the exits between them, laid out on a compass grid where they allow.
// Scripts that move the player to a fixed area ("s ca N") are dotted edges.
// The text depends on the game alone: same game, same bytes.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <queue>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "content/world.hpp"
#include "kit/kit.hpp"
#include "kit/map_dot.hpp"
#include "kit/tools.hpp"

namespace vesk::kit {

namespace {

constexpr const char* kDirectionNames[4] = {"north", "east", "south", "west"};
constexpr int kStepX[4] = {0, 1, 0, -1};
constexpr int kStepY[4] = {-1, 0, 1, 0};

std::string area_id(std::int32_t area) { return "a" + std::to_string(area); }
std::string spot_id(std::int32_t area, std::int32_t spot) { return area_id(area) + "s" + std::to_string(spot); }

// A content line without its line end.
std::string line_text(std::string_view line) {
  std::string text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string first_line(const Area& area) {
  return area.long_description.empty() ? std::string() : line_text(area.long_description.front());
}

std::string area_title(std::int32_t number, const Area& area) {
  const std::string line = first_line(area);
  return line.empty() ? std::to_string(number) : std::to_string(number) + ": " + line;
}

// The fill of an area's node or cluster: dark areas are dark, water is blue.
std::string area_style(const Area& area, bool cluster) {
  std::string style;
  if (area.is_dark) {
    style =
        "style=\"" + std::string(cluster ? "filled" : "rounded,filled") + R"(", fillcolor="gray30", fontcolor="white")";
  } else if (area.water_level == 1) {
    style = "style=\"" + std::string(cluster ? "filled" : "rounded,filled") + R"(", fillcolor="lightblue")";
  } else if (area.water_level >= 2) {
    style = "style=\"" + std::string(cluster ? "filled" : "rounded,filled") + R"(", fillcolor="steelblue")";
  }
  if (area.is_dark && area.water_level > 0) style += ", color=\"blue\", penwidth=3";
  return style;
}

bool has_conditions(const Choice& choice) { return !choice.show_conditions.empty() || !choice.use_conditions.empty(); }

// The spot where the engine puts a player who arrives from area `from`: the
// first exit leading back there, else spot 1.
std::int32_t entry_spot(const Area& area, std::int32_t from) {
  const auto found = area.spot_exits.find_exit(-from, area.spot_count);
  return found ? found->first : 1;
}

// The spots drawn for a subdivided area: spot 1, those with a row written,
// and those that an exit, an item or a pile names. Every other spot has no
// exits and holds nothing; such spots are drawn as one note for each run of
// them, so that an area of two billion spots draws as small as its file is.
std::set<std::int32_t> drawn_spots(const Area& a) {
  std::set<std::int32_t> spots{1};
  auto add = [&](std::int32_t spot) {
    if (spot >= 1 && spot <= a.spot_count) spots.insert(spot);
  };
  const auto& rows = a.spot_exits.written();
  for (auto it = rows.lower_bound(1); it != rows.end() && it->first <= a.spot_count; ++it) {
    add(it->first);
    for (const std::int32_t exit : it->second) add(exit);
  }
  for (const PlacedItem& item : a.items) add(item.spot);
  for (const AmmoPile& pile : a.ammo_piles) add(pile.spot);
  return spots;
}

// Whether an enemy kind can appear on `spot`: the spots first, first + step,
// ... below the end; a step of 0 or below names the first spot alone.
bool appears_on(const EnemyKind& kind, std::int32_t spot) {
  if (kind.spot_step <= 0) return spot == (kind.first_spot < 0 ? 0 : kind.first_spot);
  if (spot < kind.first_spot || spot >= kind.end_spot) return false;
  return (std::int64_t{spot} - kind.first_spot) % kind.spot_step == 0;
}

struct Mapper {
  const World& world;
  std::ostringstream dot;
  std::vector<std::int32_t> missing_areas;  // targets outside the catalogue, in order of first mention

  std::int32_t area_count() const { return static_cast<std::int32_t>(world.area_count()); }
  const Area& area(std::int32_t number) const { return world.area(static_cast<std::size_t>(number - 1)); }
  bool drawn_as_cluster(std::int32_t number) const {
    return number >= 1 && number <= area_count() && area(number).is_subdivided && area(number).spot_count > 0;
  }

  // The node an edge into area `target` from area `from` ends at.
  std::string arrival_node(std::int32_t target, std::int32_t from) {
    if (target < 1 || target > area_count()) {
      bool known = false;
      for (std::int32_t number : missing_areas) known = known || number == target;
      if (!known) missing_areas.push_back(target);
      return "missing" + std::to_string(target < 0 ? -std::int64_t{target} : std::int64_t{target}) +
             (target < 0 ? "n" : "");
    }
    if (drawn_as_cluster(target)) return spot_id(target, entry_spot(area(target), from));
    return area_id(target);
  }

  // The node and attributes an edge leaving area `number` as a whole starts at.
  std::pair<std::string, std::string> departure_node(std::int32_t number) const {
    if (drawn_as_cluster(number)) return {spot_id(number, 1), ", ltail=\"cluster_" + area_id(number) + "\""};
    return {area_id(number), ""};
  }

  void write_area_node(std::int32_t number) {
    const Area& a = area(number);
    dot << "  " << area_id(number) << " [label=" << dot_string(area_title(number, a));
    const std::string style = area_style(a, false);
    if (!style.empty()) dot << ", " << style;
    dot << "];\n";
  }

  // What lies on each spot: items, ammunition piles and the enemy kinds that
  // can appear there; spot 0 holds what lies on no spot.
  std::map<std::int32_t, std::vector<std::string>> spot_contents(const Area& a,
                                                                 const std::set<std::int32_t>& drawn) const {
    std::map<std::int32_t, std::vector<std::string>> contents;
    // Items of one name on one spot are counted.
    std::map<std::int32_t, std::vector<std::pair<std::string, int>>> items;
    for (const PlacedItem& item : a.items) {
      auto& list = items[item.spot];
      const std::string& name = item.item->name;
      auto same = std::find_if(list.begin(), list.end(), [&](const auto& entry) { return entry.first == name; });
      if (same == list.end()) {
        list.emplace_back(name, 1);
      } else {
        ++same->second;
      }
    }
    for (const auto& [spot, list] : items) {
      for (const auto& [name, count] : list) {
        contents[spot].push_back(count == 1 ? name : name + " (" + std::to_string(count) + ")");
      }
    }
    for (const AmmoPile& pile : a.ammo_piles) {
      const std::string weapon =
          pile.weapon < world.ammo.size() ? world.ammo_weapon_name(pile.weapon) : std::string("?");
      contents[pile.spot].push_back(std::to_string(pile.amount) + " ammo for " + weapon);
    }
    for (const EnemyKind& kind : a.enemy_kinds) {
      const std::string text = kind.enemy->shown_name + " (" + std::to_string(kind.chance) + "%)";
      if (kind.spot_step <= 0) {
        contents[kind.first_spot < 0 ? 0 : kind.first_spot].push_back(text);
        continue;
      }
      for (const std::int32_t spot : drawn) {
        if (appears_on(kind, spot)) contents[spot].push_back(text);
      }
    }
    return contents;
  }

  // Places the spots on a grid by walking the exits from spot 1: north is up,
  // east is right. A spot keeps the first place it gets; an exit that would put
  // it elsewhere, or on a taken place, does not constrain the layout.
  std::map<std::int32_t, std::pair<int, int>> grid_places(const Area& a, const std::set<std::int32_t>& drawn) const {
    std::map<std::int32_t, std::pair<int, int>> places;
    std::map<std::pair<int, int>, std::int32_t> taken;
    std::queue<std::int32_t> queue;
    int next_x = 0;  // right of every place taken so far, with a column free
    for (const std::int32_t start : drawn) {
      if (places.count(start) || !a.has_spot(start)) continue;
      // A spot no walk reached starts a new grid, to the right of the others.
      const int x = next_x;
      places[start] = {x, 0};
      taken[{x, 0}] = start;
      next_x = std::max(next_x, x + 2);
      queue.push(start);
      while (!queue.empty()) {
        const std::int32_t spot = queue.front();
        queue.pop();
        for (int direction = 0; direction < 4; ++direction) {
          const std::int32_t next = a.exit_of(spot, direction);
          if (next <= 0 || !a.has_spot(next) || places.count(next)) continue;
          const std::pair<int, int> place{places[spot].first + kStepX[direction],
                                          places[spot].second + kStepY[direction]};
          if (taken.count(place)) continue;
          places[next] = place;
          taken[place] = next;
          next_x = std::max(next_x, place.first + 2);
          queue.push(next);
        }
      }
    }
    return places;
  }

  void write_cluster(std::int32_t number) {
    const Area& a = area(number);
    const std::set<std::int32_t> drawn = drawn_spots(a);
    const auto contents = spot_contents(a, drawn);
    const auto places = grid_places(a, drawn);
    dot << "  subgraph " << dot_string("cluster_" + area_id(number)) << " {\n";
    std::string title = area_title(number, a);
    if (auto nowhere = contents.find(0); nowhere != contents.end()) {
      for (const std::string& thing : nowhere->second) title += "\non no spot: " + thing;
    }
    dot << "    label=" << dot_string(title) << ";\n";
    const std::string style = area_style(a, true);
    if (!style.empty()) dot << "    " << style << ";\n";
    std::int64_t unseen = 1;  // the lowest spot neither drawn nor noted yet
    auto note_run = [&](std::int64_t last) {
      if (unseen > last) return;
      dot << "    " << spot_id(number, static_cast<std::int32_t>(unseen)) << "n [label="
          << dot_string(unseen == last
                            ? "spot " + std::to_string(unseen) + ": no exits"
                            : "spots " + std::to_string(unseen) + " to " + std::to_string(last) + ": no exits")
          << ", shape=plaintext];\n";
    };
    for (const std::int32_t spot : drawn) {
      if (!a.has_spot(spot)) continue;
      note_run(std::int64_t{spot} - 1);
      unseen = std::int64_t{spot} + 1;
      std::string label = "spot " + std::to_string(spot);
      if (auto found = contents.find(spot); found != contents.end()) {
        for (const std::string& thing : found->second) label += "\n" + thing;
      }
      dot << "    " << spot_id(number, spot) << " [label=" << dot_string(label);
      // Spots of one grid column share a group, which dot keeps in line.
      if (auto place = places.find(spot); place != places.end()) {
        dot << ", group=" << dot_string(area_id(number) + "x" + std::to_string(place->second.first));
      }
      dot << "];\n";
    }
    note_run(a.spot_count);
    // Spots on one grid row share a rank.
    std::map<int, std::vector<std::int32_t>> rows;
    for (const auto& [spot, place] : places) rows[place.second].push_back(spot);
    for (const auto& [row, spots] : rows) {
      if (spots.size() < 2) continue;
      dot << "    { rank=same;";
      for (std::int32_t spot : spots) dot << " " << spot_id(number, spot) << ";";
      dot << " }\n";
    }
    write_spot_exits(number, drawn, places);
    dot << "  }\n";
  }

  // Exits between spots: a two-way exit is one edge, drawn once; every edge
  // runs from the upper or left spot so that the layout follows the compass.
  void write_spot_exits(std::int32_t number, const std::set<std::int32_t>& drawn,
                        const std::map<std::int32_t, std::pair<int, int>>& places) {
    const Area& a = area(number);
    for (const std::int32_t spot : drawn) {
      for (int direction = 0; direction < 4; ++direction) {
        const std::int32_t next = a.exit_of(spot, direction);
        if (next <= 0) continue;
        if (!a.has_spot(next)) {
          const std::string lost = spot_id(number, spot) + "x" + std::to_string(direction);
          dot << "    " << lost << " [label=" << dot_string("no spot " + std::to_string(next))
              << ", shape=plaintext, fontcolor=\"red\"];\n"
              << "    " << spot_id(number, spot) << " -> " << lost
              << " [label=" << dot_string(kDirectionNames[direction]) << "];\n";
          continue;
        }
        const bool both = a.exit_of(next, (direction + 2) % 4) == spot;
        const bool backwards = direction == 0 || direction == 3;
        if (both && backwards && next != spot) continue;
        const auto from = places.find(spot);
        const auto to = places.find(next);
        const bool on_grid = from != places.end() && to != places.end() &&
                             to->second.first == from->second.first + kStepX[direction] &&
                             to->second.second == from->second.second + kStepY[direction];
        std::string tail = spot_id(number, spot);
        std::string head = spot_id(number, next);
        if (backwards && !both) std::swap(tail, head);
        // A two-way exit on the grid needs no words.
        std::vector<std::string> attributes;
        if (!both || !on_grid) attributes.push_back("label=" + dot_string(kDirectionNames[direction]));
        if (both) attributes.emplace_back("dir=both");
        if (backwards && !both) attributes.emplace_back("dir=back");
        if (!on_grid) attributes.emplace_back("constraint=false");
        dot << "    " << tail << " -> " << head;
        for (std::size_t k = 0; k < attributes.size(); ++k) dot << (k == 0 ? " [" : ", ") << attributes[k];
        dot << (attributes.empty() ? ";\n" : "];\n");
      }
    }
  }

  void write_paths(std::int32_t number) {
    const Area& a = area(number);
    if (drawn_as_cluster(number)) {
      // Exits out of the area, from their spots.
      for (const std::int32_t spot : drawn_spots(a)) {
        for (int direction = 0; direction < 4; ++direction) {
          const std::int32_t exit = a.exit_of(spot, direction);
          if (exit >= 0) continue;
          dot << "  " << spot_id(number, spot) << " -> " << arrival_node(-exit, number)
              << " [label=" << dot_string(kDirectionNames[direction]) << "];\n";
        }
      }
      return;
    }
    for (const auto& path : a.paths) {
      dot << "  " << area_id(number) << " -> " << arrival_node(path.target_area, number)
          << " [label=" << dot_string(path.label + "\n" + std::to_string(path.travel_time) + " s");
      if (has_conditions(path)) dot << ", style=dashed";
      dot << "];\n";
    }
  }

  // Dotted edges for the scripts that set "ca" to a written number.
  void write_area_writes(std::int32_t number) {
    const Area& a = area(number);
    auto scan = [&](const Script& script, const std::string& where) {
      for (const ScriptLine& line : script) {
        const ScriptCommand& command = line.command;
        if (line.kind != ScriptLine::Kind::kCommand || command.op != ScriptCommand::Op::kSet) continue;
        if (command.target.kind != Operand::Kind::kNamed || command.value.kind != Operand::Kind::kLiteral) continue;
        if (kNamedVariableNames[static_cast<std::size_t>(command.target.number)] != "ca") continue;
        const std::int32_t target = command.value.number;
        const auto [tail, tail_attributes] = departure_node(number);
        dot << "  " << tail << " -> " << arrival_node(target, number) << " [label=" << dot_string(where)
            << ", style=dotted" << tail_attributes << "];\n";
      }
    };
    scan(a.turn_scripts, "each turn");
    scan(a.drop_scripts, "on drop");
    for (std::size_t k = 0; k < a.paths.size(); ++k) {
      scan(a.paths[k].success_scripts, "path " + std::to_string(k + 1));
      scan(a.paths[k].failure_scripts, "path " + std::to_string(k + 1) + " refused");
    }
    for (std::size_t k = 0; k < a.actions.size(); ++k) {
      scan(a.actions[k].success_scripts, "action " + std::to_string(k + 1));
      scan(a.actions[k].failure_scripts, "action " + std::to_string(k + 1) + " refused");
    }
  }

  std::string draw() {
    dot << "digraph vesk {\n"
        << "  graph [compound=true, fontname=\"Helvetica\", fontsize=12];\n"
        << "  node [shape=box, style=rounded, fontname=\"Helvetica\", fontsize=11];\n"
        << "  edge [fontname=\"Helvetica\", fontsize=9];\n";
    for (std::int32_t number = 1; number <= area_count(); ++number) {
      if (drawn_as_cluster(number)) {
        write_cluster(number);
      } else {
        write_area_node(number);
      }
    }
    for (std::int32_t number = 1; number <= area_count(); ++number) write_paths(number);
    for (std::int32_t number = 1; number <= area_count(); ++number) write_area_writes(number);
    for (std::int32_t target : missing_areas) {
      dot << "  " << arrival_node(target, 0) << " [label=" << dot_string("no area " + std::to_string(target))
          << ", shape=plaintext, fontcolor=\"red\"];\n";
    }
    dot << "}\n";
    return dot.str();
  }
};

}  // namespace

std::string dot_string(std::string_view text) {
  std::string quoted = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    // Well-formed UTF-8 sequences pass whole; stray bytes show as "?".
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
    for (std::size_t k = 1; k < length; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) length = 0;
    }
    if (length == 0) {
      quoted += '?';
      ++i;
      continue;
    }
    if (length > 1) {
      quoted.append(text.substr(i, length));
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c < 0x20 || c == 0x7f) {
      quoted += ' ';
    } else {
      quoted += static_cast<char>(c);
    }
    i += length;
  }
  return quoted + "\"";
}

std::string world_map(const World& world) { return Mapper{world, {}, {}}.draw(); }

}  // namespace vesk::kit
