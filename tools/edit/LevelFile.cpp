#include "tools/edit/LevelFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <vector>

#include "authoring/FileReplace.h"
#include "game/LevelFormat.h"
#include "tools/check/LevelFileRead.h"
#include "tools/check/TokenReader.h"

namespace {

// FNV-1a: enough to tell one version of a file from another.
std::uint64_t hashOf(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

}  // namespace

bool sameContents(const FileStamp& a, const FileStamp& b) {
  if (a.exists != b.exists) return false;
  return !a.exists || (a.size == b.size && a.hash == b.hash);
}

int readFile(const std::string& path, std::string& bytes, FileStamp& stamp, std::string& error) {
  stamp = FileStamp{};
  bytes.clear();
  TextFile file;
  if (!file.read(path)) {
    if (file.missing()) return 0;
    error = path + " " + file.problem();
    return -1;
  }
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return 0;  // gone since it was read
  bytes = file.text();
  stamp.exists = true;
  stamp.size = static_cast<long long>(bytes.size());
  stamp.modified = info.st_mtim;
  stamp.hash = hashOf(bytes);
  stamp.links = info.st_nlink;
  // Write permission by the mode too: a file its author made read-only is
  // one, whoever runs the editor.
  stamp.writable = (info.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
  return 0;
}

std::string levelDamage(const std::string& path) {
  const std::vector<LevelReadProblem> problems = levelReadProblems(path);
  if (problems.empty()) return std::string();
  const LevelReadProblem& first = problems.front();
  std::string text = first.message;
  if (first.line > 0) {
    text = "line " + std::to_string(first.line) + ", column " + std::to_string(first.column) +
           ": " + text;
  }
  if (problems.size() > 1) {
    text += " (and " + std::to_string(problems.size() - 1) + " more problem" +
            (problems.size() > 2 ? "s" : "") + ")";
  }
  return text;
}

int readLevelText(const std::string& bytes, LevelData& level) {
  std::istringstream in(bytes);
  LevelData data;
  if (data.read(in) != 0) return -1;
  level = std::move(data);
  return 0;
}

bool levelIsLoadable(const LevelData& level) {
  // The loader itself judges, on the very text a save writes.
  LevelData readBack;
  return readLevelText(writeLevel(level), readBack) == 0;
}

int writeLevelFile(const std::string& path, const LevelData& level, std::string& error) {
  if (!levelIsLoadable(level)) {
    error = "the level holds a number or a count the game would refuse";
    return -1;
  }
  return replaceFile(path, writeLevel(level), error);
}

int readLevelFile(const std::string& path, LevelData& level) {
  std::string bytes;
  FileStamp stamp;
  std::string error;
  if (readFile(path, bytes, stamp, error) != 0 || !stamp.exists) return -1;
  return readLevelText(bytes, level);
}

std::string autosavePathOf(const std::string& path) { return path + ".autosave"; }

std::string ownAutosavePathOf(const std::string& path) {
  return autosavePathOf(path) + "." + std::to_string(getpid());
}

std::string declinedPathOf(const std::string& path) { return autosavePathOf(path) + ".declined"; }

std::string damagedAutosavePathOf(const std::string& path) {
  return autosavePathOf(path) + ".damaged";
}

std::string backupPathOf(const std::string& path) { return path + "~"; }

bool autosaveIsNewer(const std::string& path) {
  struct stat copy {};
  if (lstat(autosavePathOf(path).c_str(), &copy) != 0) return false;
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return true;
  if (copy.st_mtim.tv_sec != file.st_mtim.tv_sec) return copy.st_mtim.tv_sec > file.st_mtim.tv_sec;
  // Written in the same clock tick: offered, since declining loses nothing.
  return copy.st_mtim.tv_nsec >= file.st_mtim.tv_nsec;
}
