// The difference of two transcripts, as a short unified diff.
#include "kit/walk_diff.hpp"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace vesk::kit {

namespace {

std::vector<std::string_view> split_at_line_ends(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size() - 1;
    lines.push_back(text.substr(start, end + 1 - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string transcript_diff(std::string_view expected, std::string_view actual, std::size_t first_line,
                            std::string_view expected_name, std::string_view actual_name) {
  const std::vector<std::string_view> a = split_at_line_ends(expected);
  const std::vector<std::string_view> b = split_at_line_ends(actual);
  std::size_t first = 0;
  while (first < a.size() && first < b.size() && a[first] == b[first]) ++first;
  if (first == a.size() && first == b.size()) return {};
  // An edit script over a window after the first difference.
  constexpr std::size_t kWindow = 60, kContext = 3;
  const std::size_t n = std::min(a.size() - first, kWindow), m = std::min(b.size() - first, kWindow);
  std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      common[i][j] =
          a[first + i] == b[first + j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  struct Step {
    char mark;
    std::string_view text;
  };
  std::vector<Step> steps;
  for (std::size_t k = first >= kContext ? first - kContext : 0; k < first; ++k) steps.push_back({' ', a[k]});
  std::size_t i = 0, j = 0, equal_run = 0;
  while ((i < n || j < m) && equal_run < 2 * kContext) {
    if (i < n && j < m && a[first + i] == b[first + j]) {
      steps.push_back({' ', a[first + i]});
      ++i, ++j, ++equal_run;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      steps.push_back({'-', a[first + i++]});
      equal_run = 0;
    } else {
      steps.push_back({'+', b[first + j++]});
      equal_run = 0;
    }
  }
  while (equal_run > kContext) steps.pop_back(), --equal_run;
  std::size_t old_count = 0, new_count = 0;
  for (const Step& step : steps) {
    old_count += step.mark != '+';
    new_count += step.mark != '-';
  }
  const std::size_t start = first_line + (first >= kContext ? first - kContext : 0);
  std::ostringstream diff;
  diff << "--- " << expected_name << "\n+++ " << actual_name << "\n@@ -" << start << "," << old_count << " +" << start
       << "," << new_count << " @@\n";
  for (const Step& step : steps) {
    diff << step.mark << step.text;
    if (!step.text.ends_with('\n')) diff << "\n\\ No newline at end of file\n";
  }
  return diff.str();
}

}  // namespace vesk::kit
