// Content lines by file and physical line, from the files a world was loaded from.
#include "kit/source_map.hpp"

#include "kit/tools.hpp"

namespace vesk::kit {

std::string SourceMap::file_name(const World& world, const SourcePos& where) const {
  if (where.file == 0 || where.file > world.source_files.size()) return {};
  return world.source_files[where.file - 1];
}

std::int64_t SourceMap::line(const World& world, const SourcePos& where) {
  const std::string name = file_name(world, where);
  if (name.empty()) return 0;
  auto found = lines_.find(name);
  if (found == lines_.end()) {
    found = lines_.emplace(name, physical_lines(files_.content(name).value_or(std::string()))).first;
  }
  const std::vector<std::int64_t>& lines = found->second;
  // A file changed since it was loaded may have fewer pieces; count on from its end.
  if (where.piece < lines.size()) return lines[where.piece];
  return (lines.empty() ? 1 : lines.back()) + static_cast<std::int64_t>(where.piece + 1 - lines.size());
}

std::string SourceMap::place(const World& world, const SourcePos& where) {
  const std::string name = file_name(world, where);
  if (name.empty()) return {};
  return name + ":" + std::to_string(line(world, where));
}

World load_world(const GameFiles& files) {
  return vesk::load_world([&](const std::string& name) { return files.content(name); });
}

}  // namespace vesk::kit
