// Fuzzes arbitrary content and arbitrary input together. The fuzz input is the
// player's input, then content files, each introduced by a line "@@ NAME".
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kHeader = "\n@@ ";
  std::size_t header = text.find(kHeader);
  const std::string_view input = text.substr(0, header);
  vesk::fuzzing::Files files;
  while (header != std::string_view::npos) {
    const std::size_t name_start = header + kHeader.size();
    const std::size_t name_end = text.find('\n', name_start);
    if (name_end == std::string_view::npos) break;
    const std::size_t next = text.find(kHeader, name_end);
    const std::size_t content_end = next == std::string_view::npos ? text.size() : next + 1;
    files.emplace(std::string(text.substr(name_start, name_end - name_start)),
                  std::string(text.substr(name_end + 1, content_end - name_end - 1)));
    header = next;
  }
  vesk::fuzzing::play_in_memory(vesk::fuzzing::world_of(files), input, 3);
  return 0;
}
