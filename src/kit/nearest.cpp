// Nearest names by edit distance, for the checker's suggestions.
#include "kit/nearest.hpp"

#include <algorithm>
#include <cctype>

namespace vesk::kit {

namespace {

std::string lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

std::size_t limit_for(std::size_t length) { return std::clamp<std::size_t>(length / 3, 1, 3); }

}  // namespace

std::size_t edit_distance(std::string_view a, std::string_view b, std::size_t limit) {
  const std::size_t n = a.size();
  const std::size_t m = b.size();
  if ((n > m ? n - m : m - n) > limit) return limit + 1;
  // Three rows of the table: two back (for swaps), the previous and the current.
  std::vector<std::size_t> before(m + 1), previous(m + 1), current(m + 1);
  for (std::size_t j = 0; j <= m; ++j) previous[j] = j;
  for (std::size_t i = 1; i <= n; ++i) {
    current[0] = i;
    std::size_t row_best = current[0];
    for (std::size_t j = 1; j <= m; ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      std::size_t best = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) best = std::min(best, before[j - 2] + 1);
      current[j] = best;
      row_best = std::min(row_best, best);
    }
    if (row_best > limit) return limit + 1;
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return std::min(previous[m], limit + 1);
}

NearestName::NearestName(const std::vector<std::string>& names) {
  for (const std::string& name : names) add(name);
}

void NearestName::add(const std::string& name) {
  if (by_length_.size() <= name.size()) by_length_.resize(name.size() + 1);
  by_length_[name.size()].push_back(name);
  lowered_.emplace(lowered(name), name);
}

const std::string& NearestName::nearest(const std::string& name) {
  static const std::string kNone;
  auto known = answers_.find(name);
  if (known != answers_.end()) return known->second;
  if (answers_.size() >= kMaxQuestions) return kNone;
  return answers_.emplace(name, search(name)).first->second;
}

std::string NearestName::search(const std::string& name) const {
  if (auto same = lowered_.find(lowered(name)); same != lowered_.end() && same->second != name) return same->second;
  const std::size_t limit = limit_for(name.size());
  std::string best;
  std::size_t best_distance = limit + 1;
  const std::size_t shortest = name.size() > limit ? name.size() - limit : 0;
  for (std::size_t length = shortest; length <= name.size() + limit && length < by_length_.size(); ++length) {
    for (const std::string& candidate : by_length_[length]) {
      const std::size_t distance =
          edit_distance(name, candidate, best_distance - 1 < limit ? best_distance - 1 : limit);
      if (distance < best_distance && candidate != name) {
        best_distance = distance;
        best = candidate;
      }
    }
  }
  return best;
}

}  // namespace vesk::kit
