#include "graphics/FileSearch.h"

#include <allegro.h>

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
