#include "tests/support/FailingWrites.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Once per process: mounts made from here on are seen by this process and
// its children only, and go when they end.
bool privateMounts() {
  static const bool made = unshare(CLONE_NEWNS) == 0 &&
                           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return made;
}

std::string temporaryDirectory(const char* stem) {
  std::string pattern = (fs::temp_directory_path() / stem).string() + "-XXXXXX";
  return mkdtemp(&pattern[0]) == nullptr ? std::string() : pattern;
}

// Takes every byte the file system has left.
void fill(const std::string& file) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return;
  static const char block[4096] = {};
  for (std::size_t size = sizeof block; size > 0; size /= 2) {
    while (write(fd, block, size) == static_cast<ssize_t>(size)) {
    }
  }
  close(fd);
}

}  // namespace

FailingWrites::FailingWrites(WriteFailure how) : how_(how) {
  if (how_ == WriteFailure::sizeLimit) {
    directory_ = temporaryDirectory("pwe-limited");
    return;
  }
  if (!privateMounts()) return;
  mountPoint_ = temporaryDirectory("pwe-full");
  if (mountPoint_.empty()) return;
  if (mount("pwe-full", mountPoint_.c_str(), "tmpfs", 0, "size=256k,mode=0755") != 0) {
    fs::remove(mountPoint_);
    mountPoint_.clear();
    return;
  }
  directory_ = mountPoint_ + "/files";
  fs::create_directory(directory_);
}

FailingWrites::~FailingWrites() {
  disarm();
  std::error_code ignored;
  if (!mountPoint_.empty()) {
    umount2(mountPoint_.c_str(), MNT_DETACH);
    fs::remove(mountPoint_, ignored);
  } else if (!directory_.empty()) {
    fs::remove_all(directory_, ignored);
  }
}

void FailingWrites::arm(long long sizeLimit) {
  if (how_ == WriteFailure::fullDisk) {
    fill(mountPoint_ + "/filler");
    return;
  }
  struct rlimit limit {};
  getrlimit(RLIMIT_FSIZE, &limit);
  formerLimit_ = static_cast<long long>(limit.rlim_cur);
  std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = static_cast<rlim_t>(sizeLimit);
  limited_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void FailingWrites::disarm() {
  if (how_ == WriteFailure::fullDisk) {
    if (!mountPoint_.empty()) fs::remove(mountPoint_ + "/filler");
    return;
  }
  if (!limited_) return;
  struct rlimit limit {};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(formerLimit_);
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, SIG_DFL);
  limited_ = false;
}

std::string FailingWrites::reason() const {
  return std::strerror(how_ == WriteFailure::fullDisk ? ENOSPC : EFBIG);
}
