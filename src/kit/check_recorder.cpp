// The checker's recorder: what the loaders say of each file, and where each
// line they keep went.
#include <algorithm>

#include "base/numbers.hpp"
#include "base/words.hpp"
#include "kit/check_context.hpp"

namespace vesk::kit {

NumberedName parse_numbered_name(std::string_view name) {
  for (std::string_view stem : {"msg", "item", "enemy", "area"}) {
    if (!starts_with(name, stem) || name.size() <= stem.size() + 4) continue;
    const std::string_view digits = name.substr(stem.size(), name.size() - stem.size() - 4);
    if (name.substr(name.size() - 4) != ".txt" || digits.front() == '0') continue;
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    return NumberedName{std::string(stem), static_cast<std::int32_t>(to_int(digits))};
  }
  return NumberedName{};
}

void Recorder::begin_file(std::string_view file_name, const Lines& lines) {
  FileInfo info;
  info.name = std::string(file_name);
  const NumberedName numbered = parse_numbered_name(file_name);
  info.stem = numbered.stem;
  info.number = numbered.number;
  info.pieces = lines.size();
  info.lines = lines;
  // A piece that fills the reader's buffer without a line end, with more
  // pieces after it, is the start or middle of a longer line.
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const std::string_view piece = lines[k];
    if (piece.size() == kLineCapacity && piece.back() != '\n') info.long_pieces.push_back(k);
  }
  files.push_back(std::move(info));
  current_file_ = files.size() - 1;
  const std::string& stem = files.back().stem;
  if (stem == "item") {
    items.push_back(ItemTrace{current_file_, {}});
  } else if (stem == "enemy") {
    enemies.push_back(EnemyTrace{current_file_, {}, {}});
  } else if (stem == "area") {
    areas.emplace_back();
    areas.back().file = current_file_;
  } else if (stem == "msg") {
    messages.push_back(current_file_);
  }
}

void Recorder::fault(std::size_t piece, LineFault fault, std::string_view subject) {
  faults.push_back(RawFault{current_file_, piece, fault, std::string(subject)});
}

void Recorder::kept(std::size_t piece, LineUse use, std::int32_t entry) {
  const std::string& stem = files[current_file_].stem;
  if (stem == "item") {
    ItemTrace& item = items.back();
    if (use == LineUse::kWeapon) item.weapon = piece;
    return;
  }
  if (stem == "enemy") {
    EnemyTrace& enemy = enemies.back();
    if (use == LineUse::kAttack) enemy.attacks.push_back(piece);
    if (use == LineUse::kLoot) enemy.loot.push_back(piece);
    return;
  }
  if (stem != "area") return;
  AreaTrace& area = areas.back();
  switch (use) {
    case LineUse::kPath:
      area.paths.push_back(piece);
      break;
    case LineUse::kAction:
      area.actions.push_back(piece);
      break;
    case LineUse::kAreaItem:
      area.items.push_back(piece);
      break;
    case LineUse::kAmmoPile:
      area.ammo.push_back(piece);
      break;
    case LineUse::kEnemyKind:
      area.enemies.push_back(piece);
      break;
    case LineUse::kSpotRow:
      area.rows.emplace_back(entry, piece);
      break;
    case LineUse::kSubdivided:
      if (!area.m2) area.m2 = piece;
      break;
    case LineUse::kDark:
      area.dark = piece;
      break;
    case LineUse::kWater:
      area.water = piece;
      break;
    default:
      break;
  }
}

}  // namespace vesk::kit
