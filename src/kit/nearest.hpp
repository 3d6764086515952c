// "Did you mean": the nearest of a set of names to a name that matches none.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vesk::kit {

// The number of single-character insertions, deletions, substitutions and
// swaps of neighbours that turn `a` into `b`, or `limit` + 1 when it is more
// than `limit`.
std::size_t edit_distance(std::string_view a, std::string_view b, std::size_t limit);

// Suggests names from a fixed set. A name that differs only in capital letters
// is the best match; otherwise the nearest by edit distance within a third of
// the name's length (at least 1, at most 3). Only names of about the same length
// are compared, each question is answered once, and after `kMaxQuestions`
// different questions no more are answered, so that a game full of misspellings
// costs no more than a few.
class NearestName {
 public:
  static constexpr std::size_t kMaxQuestions = 256;

  NearestName() = default;
  explicit NearestName(const std::vector<std::string>& names);
  void add(const std::string& name);

  // The suggestion, or the empty text when no name is near enough.
  const std::string& nearest(const std::string& name);

 private:
  std::string search(const std::string& name) const;

  std::vector<std::vector<std::string>> by_length_;       // names grouped by their length
  std::unordered_map<std::string, std::string> lowered_;  // lower-case name -> first name
  std::unordered_map<std::string, std::string> answers_;
};

}  // namespace vesk::kit
