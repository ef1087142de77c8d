#include "shell/MediaTreeEntry.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Plain character arrays: the exit hook may run after static objects are gone.
char scratchDirectory[PATH_MAX] = "";
char formerDirectory[PATH_MAX] = "";

void removeScratch() {
  if (scratchDirectory[0] == '\0') return;
  std::error_code ignored;
  fs::remove_all(scratchDirectory, ignored);
  scratchDirectory[0] = '\0';
}

bool enterScratch(const fs::path& absolute) {
  std::string pattern = (fs::temp_directory_path() / "pwe-tree-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) return false;
  std::snprintf(scratchDirectory, sizeof scratchDirectory, "%s", pattern.c_str());
  static bool hooked = false;
  if (!hooked) hooked = std::atexit(removeScratch) == 0;
  std::error_code error;
  fs::create_directory_symlink(absolute, fs::path(pattern) / "media", error);
  if (!error && chdir(pattern.c_str()) == 0) return true;
  removeScratch();
  return false;
}

}  // namespace

bool enterMediaTree(const std::string& tree) {
  if (getcwd(formerDirectory, sizeof formerDirectory) == nullptr) formerDirectory[0] = '\0';
  std::error_code error;
  fs::path absolute = fs::absolute(tree, error).lexically_normal();
  if (error) return false;
  if (absolute.filename().empty()) absolute = absolute.parent_path();
  if (absolute.filename() == "media") return chdir(absolute.parent_path().c_str()) == 0;
  return enterScratch(absolute);
}

void leaveMediaTree() {
  if (formerDirectory[0] != '\0' && chdir(formerDirectory) != 0) formerDirectory[0] = '\0';
  removeScratch();
}
