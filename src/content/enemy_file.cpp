// Enemy files: name, health, a skipped line, the attacks and the loot, each list
// ended by a blank line; then "grapple" and "attr " lines anywhere in the file.
#include <cstdlib>
#include <utility>

#include "base/lines.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "content/keywords.hpp"
#include "content/world.hpp"

namespace vesk {

namespace {

// "claws at you 1 4 50": the text, the lowest damage, the damage bound and the
// hit chance. Lines of fewer than four words are no attack.
void add_attack(Attacks& attacks, std::string_view line, LoadDiagnostics* diagnostics, std::size_t piece) {
  const WordViews words = word_views(line);
  const long w = static_cast<long>(words.size());
  if (w < 4) {
    report_fault(diagnostics, piece, LineFault::kShortLine, "attack");
    return;
  }
  report_kept(diagnostics, piece, LineUse::kAttack);
  const std::string text = join_words(words, 0, w - 4);
  if (text.size() > kAttackTextCapacity) report_fault(diagnostics, piece, LineFault::kTextCut, "attack text");
  Attack attack;
  attack.text = std::string_view(text).substr(0, kAttackTextCapacity);
  attack.min_damage = read_number(words[w - 3], diagnostics, piece);
  attack.max_damage = read_number(words[w - 2], diagnostics, piece);
  attack.hit_chance = read_number(words[w - 1], diagnostics, piece);
  attacks.push_back(attack);
}

// Loot lines are kept as read and rolled when the enemy is defeated; every form
// ends in three numbers after at least one word.
void add_loot(Lines& loot, std::string_view line, LoadDiagnostics* diagnostics, std::size_t piece) {
  if (starts_with(line, "none")) return;
  const WordViews words = word_views(line);
  if (words.size() < 4) {
    report_fault(diagnostics, piece, LineFault::kShortLine, "loot");
    return;
  }
  report_kept(diagnostics, piece, LineUse::kLoot);
  // The numbers are read when the loot is rolled; a diagnostics sink hears of
  // their words now.
  if (diagnostics) {
    for (std::size_t k = words.size() - 3; k < words.size(); ++k) read_number(words[k], diagnostics, piece);
  }
  if (line.size() > kLootLineCapacity) report_fault(diagnostics, piece, LineFault::kTextCut, "loot line");
  loot.push_back(cut(line, kLootLineCapacity));
}

// "attr cold iron 0.5": the attribute name and the factor applied to a matching
// weapon's damage bound.
void add_attribute(std::vector<EnemyAttribute>& attributes, std::string_view line, LoadDiagnostics* diagnostics,
                   std::size_t piece) {
  const WordViews words = word_views(line);
  const long w = static_cast<long>(words.size());
  if (w < 3) {
    report_fault(diagnostics, piece, LineFault::kShortLine, "attr");
    return;
  }
  const std::string factor(words[static_cast<std::size_t>(w - 1)]);
  const std::string name = join_words(words, 1, w - 2);
  if (name.size() > kAttributeCapacity) report_fault(diagnostics, piece, LineFault::kTextCut, "attribute");
  attributes.push_back(EnemyAttribute{cut(name, kAttributeCapacity), std::strtod(factor.c_str(), nullptr)});
}

// At most how many attack lines the file holds: the lines from the fourth up to
// the first blank one. Reserving them at once saves the copies of a growing
// list when a file holds millions.
std::size_t attack_lines(LineSpan lines) {
  std::size_t count = 0;
  for (std::size_t piece = 3; piece < lines.size() && !is_blank_line(lines[piece]); ++piece) ++count;
  return count;
}

}  // namespace

Enemy parse_enemy(LineSpan lines, LoadDiagnostics* diagnostics) {
  Enemy enemy;
  enemy.attacks.reserve(attack_lines(lines));
  enum Stage { kName, kHealth, kSkipped, kAttacks, kLoot, kDone };
  Stage stage = kName;
  // The first piece after the loot lines: where the keyword lines begin.
  std::size_t keyword_part = lines.size();
  for (std::size_t piece = 0; piece < lines.size(); ++piece) {
    const std::string_view line = lines[piece];
    switch (stage) {
      case kName:
        if (!line.empty()) enemy.name = cut(line.substr(0, line.size() - 1), kEnemyNameCapacity);
        stage = kHealth;
        break;
      case kHealth:
        enemy.health = read_number(line, diagnostics, piece);
        stage = kSkipped;
        break;
      case kSkipped:
        stage = kAttacks;
        break;
      case kAttacks:
        if (is_blank_line(line)) {
          stage = kLoot;
        } else {
          add_attack(enemy.attacks, line, diagnostics, piece);
        }
        break;
      case kLoot:
        if (is_blank_line(line)) {
          stage = kDone;
        } else {
          add_loot(enemy.loot, line, diagnostics, piece);
        }
        break;
      case kDone:
        break;
    }
    if (stage == kDone) {
      keyword_part = piece + 1;
      break;
    }
  }
  for (std::size_t piece = 0; piece < lines.size(); ++piece) {
    const std::string_view line = lines[piece];
    const Keyword<EnemyEffect>* keyword = find_keyword(kEnemyKeywords, line);
    if (keyword && keyword->effect == EnemyEffect::kGrapples) enemy.grapples = true;
    if (keyword && keyword->effect == EnemyEffect::kAttribute) {
      add_attribute(enemy.attributes, line, diagnostics, piece);
    }
    report_keyword_line(diagnostics, piece, piece >= keyword_part, kEnemyKeywords, keyword, line);
  }
  enemy.shown_name = display_name(enemy.name);
  return enemy;
}

}  // namespace vesk
