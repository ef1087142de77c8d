#include "tools/edit/SetPlaces.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The level's line in the list, or -1 when it is not the set's.
int placeIn(const LevelSet& set, const std::string& levelPath) {
  const fs::path level = fs::path(levelPath).lexically_normal();
  std::error_code error;
  if (set.directory.empty() ||
      !fs::equivalent(level.parent_path(), fs::path(set.directory), error)) {
    return -1;
  }
  for (std::size_t i = 0; i < set.levels.size(); ++i) {
    if (set.levels[i] == level.filename().string()) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::string setPlaceWords(const LevelSet& set, const std::string& levelPath) {
  const int at = placeIn(set, levelPath);
  if (at < 0) return std::string();
  return set.title + " " + std::to_string(at + 1) + "/" + std::to_string(set.levels.size());
}

std::string setNeighbour(const LevelSet& set, const std::string& levelPath, int step) {
  const int count = static_cast<int>(set.levels.size());
  if (count == 0) return std::string();
  const int at = placeIn(set, levelPath);
  const int next = at < 0 ? (step > 0 ? 0 : count - 1) : ((at + step) % count + count) % count;
  return set.levels[next];
}
