#include "authoring/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// How many links in a row are followed before the path counts as a loop,
// as the system itself counts them.
constexpr int maxLinks = 40;
// The temporary's name adds a dot before and seven characters after the
// file's own, and must still be a name the system takes.
constexpr std::size_t maxNameInTemporary = NAME_MAX - 8;

std::string directoryOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string failure(const std::string& path, int code) {
  return "cannot write " + path + ": " + std::strerror(code);
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Where one link leads, read relative to the directory that holds it.
bool followLink(std::string& path) {
  char text[PATH_MAX];
  const ssize_t length = readlink(path.c_str(), text, sizeof text - 1);
  if (length < 0) return false;
  const std::string next(text, static_cast<std::size_t>(length));
  path = next[0] == '/' ? next : directoryOf(path) + "/" + next;
  return true;
}

// The old file's permissions carry over; a new file gets the usual ones.
void keepMode(int fd, const std::string& target) {
  struct stat old {};
  mode_t mode = 0;
  if (stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (fchmod(fd, mode) != 0) {
    // The temporary file keeps mkostemp's 0600: safe, if stricter.
  }
}

// A temporary file of a unique name beside the target, created with O_EXCL
// so that no existing name, a link someone left among them, is ever
// opened. It stays open, so what a writer put there is flushed through
// the file that was created, and it goes again unless it was renamed.
class Temporary {
 public:
  Temporary(const std::string& target, const std::string& path, std::string& error)
      : name_(directoryOf(target) + "/." + nameOf(target).substr(0, maxNameInTemporary) +
              ".XXXXXX") {
    fd_ = mkostemp(&name_[0], O_CLOEXEC);
    if (fd_ < 0) {
      error = failure(path, errno);
      return;
    }
    created_ = true;
    keepMode(fd_, target);
  }
  ~Temporary() {
    if (fd_ >= 0) close(fd_);
    if (created_ && !renamed_) unlink(name_.c_str());
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  bool open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& name() const { return name_; }

  // Everything written reaches the disk, and the name still stands for the
  // file that was created (a writer that opens by name could have been
  // handed something else): 0, or -1 with the reason.
  int flush(const std::string& path, std::string& error) {
    struct stat created {};
    struct stat named {};
    if (fsync(fd_) != 0 || fstat(fd_, &created) != 0) {
      error = failure(path, errno);
      return -1;
    }
    if (lstat(name_.c_str(), &named) != 0 || named.st_dev != created.st_dev ||
        named.st_ino != created.st_ino) {
      error = "cannot write " + path + ": the temporary file " + name_ + " was replaced";
      return -1;
    }
    const int result = close(fd_);
    fd_ = -1;
    if (result == 0) return 0;
    error = failure(path, errno);
    return -1;
  }

  int renameOver(const std::string& target, const std::string& path, std::string& error) {
    if (std::rename(name_.c_str(), target.c_str()) != 0) {
      error = "cannot replace " + path + ": " + std::strerror(errno);
      return -1;
    }
    renamed_ = true;
    // The new name is on the disk once its directory is; the file itself
    // already is, so a failure here loses nothing.
    const int directory = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
      fsync(directory);
      close(directory);
    }
    return 0;
  }

 private:
  std::string name_;
  int fd_ = -1;            // open until flushed
  bool created_ = false;   // there is a file of this name to remove
  bool renamed_ = false;   // it is the file itself now
};

using FdWriter = std::function<int(const Temporary& temporary, std::string& error)>;

int replaceThrough(const std::string& path, const FdWriter& write, const FileWriter& check,
                   std::string& error) {
  const std::string target = writeTarget(path, error);
  if (target.empty()) return -1;
  Temporary temporary(target, path, error);
  if (!temporary.open()) return -1;
  if (write(temporary, error) != 0) return -1;
  if (temporary.flush(path, error) != 0) return -1;
  if (check && check(temporary.name(), error) != 0) return -1;
  return temporary.renameOver(target, path, error);
}

}  // namespace

std::string writeTarget(const std::string& path, std::string& error) {
  if (path.empty()) {
    error = failure(path, ENOENT);
    return std::string();
  }
  std::string target = path;
  struct stat file {};
  for (int links = 0;; ++links) {
    if (lstat(target.c_str(), &file) != 0) {
      // Nothing there yet, at the end of any links: a new file is made.
      if (errno == ENOENT) return target;
      error = failure(path, errno);
      return std::string();
    }
    if (!S_ISLNK(file.st_mode)) break;
    if (links == maxLinks) {
      error = failure(path, ELOOP);
      return std::string();
    }
    if (!followLink(target)) {
      error = failure(path, errno);
      return std::string();
    }
  }
  if (!S_ISREG(file.st_mode)) {
    error = "cannot write " + path + ": not a plain file";
    return std::string();
  }
  return target;
}

int replaceFileWith(const std::string& path, const FileWriter& writeTo, std::string& error,
                    const FileWriter& check) {
  return replaceThrough(
      path,
      [&](const Temporary& temporary, std::string& reason) {
        return writeTo(temporary.name(), reason);
      },
      check, error);
}

int replaceFile(const std::string& path, const std::string& contents, std::string& error,
                const FileWriter& beforeRename) {
  return replaceThrough(
      path,
      [&](const Temporary& temporary, std::string& reason) {
        if (writeAll(temporary.fd(), contents)) return 0;
        reason = failure(path, errno);
        return -1;
      },
      beforeRename, error);
}
