#include "tools/edit/LevelFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "game/LevelFormat.h"

namespace {

std::string directoryOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The new text reaches the disk before the rename makes it the file, and
// the rename itself is flushed with the directory.
bool replaceFile(const std::string& path, const std::string& text, std::string& error) {
  const std::string temporary = path + ".tmp";
  struct stat old {};
  const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) {
    error = "cannot write " + temporary + ": " + std::strerror(errno);
    return false;
  }
  const bool written = writeAll(fd, text) && fsync(fd) == 0;
  const int writeErrno = errno;
  if (close(fd) != 0 || !written) {
    error = "cannot write " + temporary + ": " + std::strerror(written ? errno : writeErrno);
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  const int directory = open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
  return true;
}

}  // namespace

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
  return replaceFile(path, writeLevel(level), error) ? 0 : -1;
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
