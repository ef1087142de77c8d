#include "tools/edit/LevelFile.h"

#include <sys/stat.h>

// Filled in once the engine's level writer and stream reader land.
int writeLevelFile(const std::string&, const LevelData&, std::string& error) {
  error = "saving is not available yet";
  return -1;
}

int readLevelFile(const std::string&, LevelData&) { return -1; }

std::string autosavePathOf(const std::string& path) { return path + ".autosave"; }

bool autosaveIsNewer(const std::string& path) {
  struct stat copy {};
  if (stat(autosavePathOf(path).c_str(), &copy) != 0) return false;
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return true;
  return copy.st_mtim.tv_sec > file.st_mtim.tv_sec ||
         (copy.st_mtim.tv_sec == file.st_mtim.tv_sec && copy.st_mtim.tv_nsec > file.st_mtim.tv_nsec);
}
