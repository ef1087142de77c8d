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

std::string directoryOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string failure(const std::string& what, const std::string& path, int code) {
  return what + " " + path + ": " + std::strerror(code);
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

// A temporary file of a unique name, created with O_EXCL: an existing name,
// a link among them, is never opened.
int createTemporary(const std::string& target, std::string& temporary, std::string& error) {
  temporary = directoryOf(target) + "/." + nameOf(target) + ".XXXXXX";
  const int fd = mkostemp(&temporary[0], O_CLOEXEC);
  if (fd < 0) error = failure("cannot write", target, errno);
  return fd;
}

// The old file's permissions carry over; a new file gets the usual ones.
void keepMode(int fd, const std::string& target) {
  struct stat old {};
  mode_t mode = 0644;
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

int flushFile(const std::string& temporary, std::string& error, const std::string& target) {
  const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    error = failure("cannot write", target, errno);
    return -1;
  }
  const bool flushed = fsync(fd) == 0;
  const int code = errno;
  close(fd);
  if (flushed) return 0;
  error = failure("cannot write", target, code);
  return -1;
}

int renameOver(const std::string& temporary, const std::string& target, std::string& error) {
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    error = failure("cannot replace", target, errno);
    return -1;
  }
  const int directory = open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
  return 0;
}

}  // namespace

std::string writeTarget(const std::string& path, std::string& error) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0) {
    if (errno == ENOENT) return path;
    error = failure("cannot write", path, errno);
    return std::string();
  }
  std::string target = path;
  if (S_ISLNK(link.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) {
      error = failure("cannot write", path, errno);
      return std::string();
    }
    target = resolved;
  }
  struct stat file {};
  if (stat(target.c_str(), &file) == 0 && !S_ISREG(file.st_mode)) {
    error = "cannot write " + path + ": not a plain file";
    return std::string();
  }
  return target;
}

int replaceFileWith(const std::string& path, const FileWriter& writeTo, std::string& error,
                    const FileWriter& check) {
  const std::string target = writeTarget(path, error);
  if (target.empty()) return -1;
  std::string temporary;
  const int fd = createTemporary(target, temporary, error);
  if (fd < 0) return -1;
  keepMode(fd, target);
  close(fd);
  int result = writeTo(temporary, error);
  if (result == 0) result = flushFile(temporary, error, path);
  if (result == 0 && check) result = check(temporary, error);
  if (result == 0) result = renameOver(temporary, target, error);
  if (result != 0) unlink(temporary.c_str());
  return result;
}

int replaceFile(const std::string& path, const std::string& contents, std::string& error) {
  return replaceFileWith(
      path,
      [&](const std::string& temporary, std::string& reason) {
        const int fd = open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
          reason = failure("cannot write", path, errno);
          return -1;
        }
        const bool written = writeAll(fd, contents);
        const int code = errno;
        if (close(fd) != 0 || !written) {
          reason = failure("cannot write", path, written ? errno : code);
          return -1;
        }
        return 0;
      },
      error);
}
