#include "tools/edit/LevelFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "authoring/FileReplace.h"
#include "game/LevelFormat.h"


bool levelIsLoadable(const LevelData& level) {
  // The loader itself judges, on the very text a save writes.
  std::istringstream text(writeLevel(level));
  LevelData readBack;
  return readBack.read(text) == 0;
}

int writeLevelFile(const std::string& path, const LevelData& level, std::string& error) {
  if (!levelIsLoadable(level)) {
    error = "the level holds a number or a count the game would refuse";
    return -1;
  }
  return replaceFile(path, writeLevel(level), error);
}

int readLevelFile(const std::string& path, LevelData& level) {
  std::ifstream in(path);
  if (!in.is_open()) return -1;
  LevelData data;
  if (data.read(in) != 0) return -1;
  level = std::move(data);
  return 0;
}

std::string autosavePathOf(const std::string& path) { return path + ".autosave"; }

bool autosaveIsNewer(const std::string& path) {
  struct stat copy {};
  if (stat(autosavePathOf(path).c_str(), &copy) != 0) return false;
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return true;
  if (copy.st_mtim.tv_sec != file.st_mtim.tv_sec) return copy.st_mtim.tv_sec > file.st_mtim.tv_sec;
  // Written in the same clock tick: offered, since declining loses nothing.
  return copy.st_mtim.tv_nsec >= file.st_mtim.tv_nsec;
}
