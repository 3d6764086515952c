// Enemy files: name, health, a skipped line, the attacks and the loot, each list
// ended by a blank line; then "grapple" and "attr " lines anywhere in the file.
#include <cstdlib>

#include "base/text.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

bool is_blank(const std::string& line) { return line == "\n"; }

// "claws at you 1 4 50": the text, the lowest damage, the damage bound and the
// hit chance. Lines of fewer than four words are no attack.
void add_attack(std::vector<Attack>& attacks, const std::string& line) {
  const Words words = split_words(line);
  const long w = static_cast<long>(words.size());
  if (w < 4) return;
  Attack attack;
  attack.text = cut(join_words(words, 0, w - 4), kAttackTextCapacity);
  attack.min_damage = to_int(words[w - 3]);
  attack.max_damage = to_int(words[w - 2]);
  attack.hit_chance = to_int(words[w - 1]);
  attacks.push_back(std::move(attack));
}

// Loot lines are kept as read and rolled when the enemy is defeated; every form
// ends in three numbers after at least one word.
void add_loot(Lines& loot, const std::string& line) {
  if (starts_with(line, "none") || split_words(line).size() < 4) return;
  loot.push_back(cut(line, kLootLineCapacity));
}

// "attr cold iron 0.5": the attribute name and the factor applied to a matching
// weapon's damage bound.
void add_attribute(std::vector<EnemyAttribute>& attributes, const std::string& line) {
  const Words words = split_words(line);
  const long w = static_cast<long>(words.size());
  if (w < 3) return;
  const std::string& factor = words[static_cast<std::size_t>(w - 1)];
  attributes.push_back(
      EnemyAttribute{cut(join_words(words, 1, w - 2), kAttributeCapacity), std::strtod(factor.c_str(), nullptr)});
}

}  // namespace

Enemy parse_enemy(const Lines& lines) {
  Enemy enemy;
  std::vector<Attack> attacks;
  Lines loot;
  std::vector<EnemyAttribute> attributes;
  enum Stage { kName, kHealth, kSkipped, kAttacks, kLoot, kDone };
  Stage stage = kName;
  for (const std::string& line : lines) {
    switch (stage) {
      case kName:
        if (!line.empty()) enemy.name = cut(std::string_view(line).substr(0, line.size() - 1), kEnemyNameCapacity);
        stage = kHealth;
        break;
      case kHealth:
        enemy.base_health = enemy.health = to_int(line);
        stage = kSkipped;
        break;
      case kSkipped:
        stage = kAttacks;
        break;
      case kAttacks:
        if (is_blank(line)) {
          stage = kLoot;
        } else {
          add_attack(attacks, line);
        }
        break;
      case kLoot:
        if (is_blank(line)) {
          stage = kDone;
        } else {
          add_loot(loot, line);
        }
        break;
      case kDone:
        break;
    }
    if (stage == kDone) break;
  }
  for (const std::string& line : lines) {
    if (starts_with(line, "grapple")) enemy.grapples = true;
    if (starts_with(line, "attr ")) add_attribute(attributes, line);
  }
  enemy.attacks = std::move(attacks);
  enemy.loot = std::move(loot);
  enemy.attributes = std::move(attributes);
  enemy.shown_name = display_name(enemy.name);
  return enemy;
}

}  // namespace vesk
