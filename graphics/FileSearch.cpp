#include "graphics/FileSearch.h"

#include <allegro.h>

#include <algorithm>

#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"

std::vector<std::string> findFiles(const std::string& pattern) {
  std::vector<std::string> names;
  struct al_ffblk info;
  // Attribute -1 accepts everything the pattern matches, hidden files included.
  if (al_findfirst(pattern.c_str(), &info, -1) != 0) return names;
  do {
    names.emplace_back(info.name);
  } while (al_findnext(&info) == 0);
  al_findclose(&info);
  return names;
}

std::vector<std::string> findMediaFiles(const std::string& directory, const std::string& pattern) {
  return findMediaFiles(directory, pattern, "media");
}

std::vector<std::string> findMediaFiles(const std::string& directory, const std::string& pattern,
                                        const std::string& tree) {
  const std::string prefix = mediaDir;
  const bool inTree = directory.compare(0, prefix.size(), prefix) == 0;
  const std::string here = inTree ? tree + "/" + directory.substr(prefix.size()) : directory;
  std::vector<std::string> names = findFiles(here + pattern);
  const std::string own = setPathOf(directory);
  if (own.empty()) return names;
  std::vector<std::string> added = findFiles(own + pattern);
  std::sort(added.begin(), added.end());
  for (std::string& name : added) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  return names;
}
