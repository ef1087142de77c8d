#include "tools/edit/LevelLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include "authoring/FileReplace.h"

namespace {

// Who holds a lock, as its holder wrote it; empty when it wrote nothing.
std::string readHolder(int fd) {
  char text[256];
  const ssize_t got = pread(fd, text, sizeof text - 1, 0);
  if (got <= 0) return std::string();
  std::string holder(text, static_cast<size_t>(got));
  holder.erase(holder.find_last_not_of("\n\r ") + 1);
  return holder;
}

void writeHolder(int fd) {
  const std::string line = thisEditor() + "\n";
  // A lock file that cannot say who holds it still locks.
  if (ftruncate(fd, 0) == 0 && pwrite(fd, line.data(), line.size(), 0) < 0) return;
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::string thisEditor() {
  char host[HOST_NAME_MAX + 1] = "";
  if (gethostname(host, sizeof host) != 0) host[0] = '\0';
  host[HOST_NAME_MAX] = '\0';
  std::string who = "process " + std::to_string(getpid());
  if (host[0] != '\0') who += std::string(" on ") + host;
  return who;
}

std::string LevelLock::lockPathOf(const std::string& levelPath) {
  std::string error;
  std::string target = writeTarget(levelPath, error);
  if (target.empty()) target = levelPath;
  const std::string::size_type slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + ".lock";
}

LevelLock::LevelLock(LevelLock&& other) noexcept { *this = std::move(other); }

LevelLock& LevelLock::operator=(LevelLock&& other) noexcept {
  if (this == &other) return *this;
  release();
  fd_ = std::exchange(other.fd_, -1);
  levelPath_ = std::move(other.levelPath_);
  lockPath_ = std::move(other.lockPath_);
  holder_ = std::move(other.holder_);
  error_ = std::move(other.error_);
  return *this;
}

LevelLock::Result LevelLock::take(const std::string& levelPath) {
  release();
  levelPath_ = levelPath;
  lockPath_ = lockPathOf(levelPath);
  holder_.clear();
  error_.clear();
  // A holder leaving removes its lock file; a lock won on the file just
  // removed claims nothing, and the new file is tried instead.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                        0644);
    if (fd < 0) {
      error_ = "cannot take the lock " + lockPath_ + ": " + std::strerror(errno);
      return Failed;
    }
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      close(fd);
      error_ = "cannot take the lock " + lockPath_ + ": not a plain file";
      return Failed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int code = errno;
      if (code == EWOULDBLOCK) holder_ = readHolder(fd);
      close(fd);
      if (code != EWOULDBLOCK) {
        error_ = "cannot take the lock " + lockPath_ + ": " + std::strerror(code);
        return Failed;
      }
      if (holder_.empty()) holder_ = "another editor";
      return HeldElsewhere;
    }
    struct stat named {};
    if (stat(lockPath_.c_str(), &named) == 0 && sameFile(named, opened)) {
      writeHolder(fd);
      fd_ = fd;
      return Taken;
    }
    close(fd);
  }
  error_ = "cannot take the lock " + lockPath_ + ": it keeps being replaced";
  return Failed;
}

void LevelLock::release() {
  if (fd_ < 0) return;
  // Removed while still locked, and only if it is still this lock's file.
  struct stat opened {};
  struct stat named {};
  if (fstat(fd_, &opened) == 0 && stat(lockPath_.c_str(), &named) == 0 && sameFile(named, opened)) {
    unlink(lockPath_.c_str());
  }
  close(fd_);
  fd_ = -1;
}
