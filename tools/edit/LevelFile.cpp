#include "tools/edit/LevelFile.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cerrno>
#include <sstream>
#include <vector>

#include "authoring/FileReplace.h"
#include "game/LevelFields.h"
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

int writeLevelFile(const std::string& path, const LevelData& level, std::string& error,
                   const std::function<int(std::string& error)>& beforeRename) {
  const std::string beyond = levelBoundProblem(level);
  if (!beyond.empty() || !levelIsLoadable(level)) {
    error = "the game would refuse the level: " +
            (beyond.empty() ? std::string("it does not read back") : beyond);
    return -1;
  }
  if (!beforeRename) return replaceFile(path, writeLevel(level), error);
  return replaceFile(path, writeLevel(level), error,
                     [&](const std::string&, std::string& reason) { return beforeRename(reason); });
}

std::string levelBoundRange() {
  return "from " + std::to_string(-LevelData::maxNumber) + " to " +
         std::to_string(LevelData::maxNumber);
}

std::string countBoundProblem(int count, const ElementKindFacts& kind) {
  if (count >= 0 && count <= kind.bound) return std::string();
  return std::to_string(count) + " " + kind.words + ", more than the " +
         std::to_string(kind.bound) + " a level may hold";
}

namespace {

std::string numberText(int value) { return std::to_string(value); }

std::string numberText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

// The first bounded field of record out of its bound; empty when none.
// who: "enemy 3's", "the level's".
template <typename Record>
std::string fieldBoundProblem(const Record& record, const std::string& who) {
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if (!entry.isBounded()) continue;
    std::string value;
    if (entry.whole != nullptr && !withinLevelBound(record.*entry.whole)) {
      value = numberText(record.*entry.whole);
    } else if (entry.real != nullptr && !withinLevelBound(record.*entry.real)) {
      value = numberText(record.*entry.real);
    } else {
      continue;
    }
    return who + " " + entry.name + " " + value + " is out of the range " + levelBoundRange();
  }
  return std::string();
}

}  // namespace

std::string levelBoundProblem(const LevelData& level) {
  std::string problem = fieldBoundProblem(level, "the level's");
  forEachRecordList(level, [&](const auto& list, int, auto fields) {
    using Fields = decltype(fields);
    if (problem.empty()) problem = countBoundProblem(static_cast<int>(list.size()), Fields::facts);
    for (std::size_t i = 0; i < list.size() && problem.empty(); ++i) {
      problem = fieldBoundProblem(
          list[i], std::string(Fields::facts.word) + " " + std::to_string(i + 1) + "'s");
    }
  });
  return problem;
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

namespace {

bool copyIsNewer(const std::string& copyPath, const std::string& path) {
  struct stat copy {};
  if (lstat(copyPath.c_str(), &copy) != 0) return false;
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return true;
  if (copy.st_mtim.tv_sec != file.st_mtim.tv_sec) return copy.st_mtim.tv_sec > file.st_mtim.tv_sec;
  // Written in the same clock tick: offered, since declining loses nothing.
  return copy.st_mtim.tv_nsec >= file.st_mtim.tv_nsec;
}

// A process id as an autosave copy's name ends with it; 0 for none.
pid_t namedProcess(const std::string& suffix) {
  if (suffix.empty() || suffix.size() > 9 ||
      suffix.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return static_cast<pid_t>(std::stol(suffix));
}

bool running(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

}  // namespace

bool autosaveIsNewer(const std::string& path) { return copyIsNewer(autosavePathOf(path), path); }

std::string orphanedAutosaveOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string prefix =
      (slash == std::string::npos ? path : path.substr(slash + 1)) + ".autosave.";
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::string();
  std::string newest;
  struct stat newestInfo {};
  int looked = 0;
  for (const dirent* entry = readdir(dir); entry != nullptr && looked < maxFolderEntries;
       entry = readdir(dir), ++looked) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const pid_t pid = namedProcess(name.substr(prefix.size()));
    const std::string copy = slash == std::string::npos ? name : folder + name;
    struct stat info {};
    if (pid <= 0 || running(pid) || !copyIsNewer(copy, path) || lstat(copy.c_str(), &info) != 0) {
      continue;
    }
    if (newest.empty() || info.st_mtim.tv_sec > newestInfo.st_mtim.tv_sec ||
        (info.st_mtim.tv_sec == newestInfo.st_mtim.tv_sec &&
         info.st_mtim.tv_nsec > newestInfo.st_mtim.tv_nsec)) {
      newest = copy;
      newestInfo = info;
    }
  }
  closedir(dir);
  return newest;
}
