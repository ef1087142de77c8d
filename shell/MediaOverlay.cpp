#include "shell/MediaOverlay.h"

#include <filesystem>

#include "shell/MediaPaths.h"

namespace {

std::string& laidSet() {
  static std::string directory;
  return directory;
}

}  // namespace

void layMediaSet(const std::string& directory) { laidSet() = directory; }

void liftMediaSet() { laidSet().clear(); }

const std::string& mediaSetDirectory() { return laidSet(); }

std::string setPathOf(const std::string& path) {
  const std::string prefix = mediaDir;
  if (laidSet().empty() || path.compare(0, prefix.size(), prefix) != 0) return "";
  return laidSet() + "/" + path.substr(prefix.size());
}

std::string refusedName(const std::string& path, const std::string& name) {
  const std::string read = mediaPath(path);
  return read == path ? name : read;
}

bool setHolds(const std::string& path) {
  const std::string own = setPathOf(path);
  if (own.empty()) return false;
  std::error_code error;
  // A link that leads nowhere is the set's file too: it is reported as
  // broken where it stands rather than silently replaced by the base's.
  return std::filesystem::exists(std::filesystem::symlink_status(own, error));
}

std::string mediaPath(const std::string& path) { return setHolds(path) ? setPathOf(path) : path; }
