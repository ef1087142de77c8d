#include "tools/edit/SetList.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "authoring/FileReplace.h"
#include "shell/LevelSet.h"
#include "shell/MediaPaths.h"
#include "tools/edit/LevelFile.h"

namespace fs = std::filesystem;

namespace {

bool standsThere(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

std::string folderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

// The folder locked against other editors for the object's lifetime; the
// lock goes with the descriptor however the holder ends.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::duration<double>(maxListWaitSeconds);
    while (fd_ >= 0 && !held_) {
      held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
      if (held_ || (errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= until) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool held() const { return held_; }
  // Why it is not held.
  std::string why() const {
    return fd_ < 0 ? "its folder cannot be opened to lock it" : "another program kept it locked";
  }

 private:
  int fd_;
  bool held_ = false;
};

std::string listLine(const std::string& name) {
  std::string line = setListLine(name);
  line.pop_back();  // its newline
  return line;
}

std::string leftAlone(const std::string& name, const std::string& why) {
  return std::string(setListName) + " is left as it was (" + why + "); add \"" + listLine(name) +
         "\" to it to play " + name + " in the set";
}

// The list a folder's set.cfg holds, read whole: empty, or why it is none.
std::string readList(const std::string& folder, const std::string& listPath, std::string& text,
                     FileStamp& stamp, LevelSet& set) {
  std::string error;
  if (readFile(listPath, text, stamp, error) != 0) return error;
  if (!stamp.exists) return listPath + " cannot be read";
  if (stamp.size > maxSetListBytes) {
    return listPath + " is longer than " + std::to_string(maxSetListBytes) + " bytes";
  }
  // A level of the set is the folder's own or the base tree's.
  const auto exists = [&folder](const std::string& level) {
    return standsThere(folder + "/" + level) || standsThere(mediaDir + level);
  };
  return readSetList(text, listPath, exists, set);
}

// Why the list, read as text, may not be replaced; empty when it may.
std::string refusal(const std::string& listPath, const FileStamp& stamp, const LevelSet& set) {
  if (!stamp.writable) return listPath + " is read-only";
  if (stamp.links > 1) return listPath + " has other names (hard links), which would keep the old list";
  if (set.levels.size() >= maxSetLevels) {
    return listPath + " lists " + std::to_string(maxSetLevels) + " levels, as many as a set may";
  }
  return "";
}

// Under the lock: added to the list read whole, unless it changed since.
std::string appendTo(const std::string& folder, const std::string& listPath,
                     const std::string& name) {
  std::string text;
  FileStamp stamp;
  LevelSet set;
  std::string why = readList(folder, listPath, text, stamp, set);
  if (!why.empty()) return leftAlone(name, why);
  if (std::find(set.levels.begin(), set.levels.end(), name) != set.levels.end()) return "";
  why = refusal(listPath, stamp, set);
  if (!why.empty()) return leftAlone(name, why);
  const bool ended = text.empty() || text.back() == '\n';
  const std::string added = text + (ended ? "" : "\n") + setListLine(name);
  // Someone not taking the lock (a text editor) may have saved it meanwhile.
  const auto unchanged = [&](const std::string&, std::string& error) {
    std::string now;
    FileStamp nowStamp;
    if (readFile(listPath, now, nowStamp, error) == 0 && now == text) return 0;
    error = listPath + " changed while the level was added";
    return -1;
  };
  if (replaceFile(listPath, added, why, unchanged) != 0) return leftAlone(name, why);
  return name + " joins the levels of " + setListName;
}

}  // namespace

std::string joinSetList(const std::string& levelPath, const std::string& startTitle) {
  const std::string name = fs::path(levelPath).filename().string();
  if (!isLevelFileName(name) || !plainLevelName(name)) return "";
  const std::string folder = folderOf(levelPath);
  const std::string listPath = folder + "/" + setListName;
  if (!standsThere(listPath)) return startTitle.empty() ? "" : startSetList(folder, startTitle);
  // The lock is on the folder the list really is in, a link followed.
  std::string why;
  const std::string target = writeTarget(listPath, why);
  if (target.empty()) return leftAlone(name, why);
  FolderLock lock(folderOf(target));
  if (!lock.held()) return leftAlone(name, lock.why());
  return appendTo(folder, listPath, name);
}

std::string startSetList(const std::string& folder, const std::string& title) {
  const std::string listPath = folder + "/" + setListName;
  if (standsThere(listPath)) return "";
  FolderLock lock(folder);
  if (!lock.held()) return std::string("no ") + setListName + " was started: " + lock.why();
  LevelSet set;
  // Without a list the folder's own level files are its set, by name.
  if (standsThere(listPath) || !readLevelSet(folder, set).empty()) return "";
  set.title = title;
  const auto stillNone = [&listPath](const std::string&, std::string& error) {
    if (!standsThere(listPath)) return 0;
    error = listPath + " was made meanwhile";
    return -1;
  };
  std::string why;
  if (replaceFile(listPath, setListText(set), why, stillNone) != 0) {
    return std::string("no ") + setListName + " was started: " + why;
  }
  return std::string("started ") + setListName + " listing " + std::to_string(set.levels.size()) +
         (set.levels.size() == 1 ? " level" : " levels");
}
