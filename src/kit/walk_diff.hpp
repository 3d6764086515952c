// The difference of two transcripts, as a short unified diff.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::kit {

// A short unified diff of two transcripts around their first difference, with
// file line numbers counted from `first_line`.
std::string transcript_diff(std::string_view expected, std::string_view actual, std::size_t first_line,
                            std::string_view expected_name, std::string_view actual_name);

}  // namespace vesk::kit
