#include "shell/MediaTreeEntry.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Plain character arrays: the exit hook may run after static objects are
// gone, and a signal handler may read them at any moment. scratchReady says
// that both scratch paths are whole; it is cleared before they change.
char scratchDirectory[PATH_MAX] = "";
char scratchLink[PATH_MAX] = "";
volatile std::sig_atomic_t scratchReady = 0;
char formerDirectory[PATH_MAX] = "";

const int endingSignals[] = {SIGTERM, SIGHUP, SIGINT};

void removeScratch() {
  if (!scratchReady) return;
  // A handler running meanwhile removes what is left; errors are its traces.
  std::error_code ignored;
  fs::remove_all(scratchDirectory, ignored);
  scratchReady = 0;
}

extern "C" void removeScratchAndEnd(int signal) {
  removeMediaTreeScratch();
  // Blocked until the handler returns, then the default action: the
  // program ends as the signal asked, and its parent sees which signal.
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void removeScratchOnSignals() {
  for (int signal : endingSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0) continue;
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction removing {};
    removing.sa_handler = removeScratchAndEnd;
    sigemptyset(&removing.sa_mask);
    sigaction(signal, &removing, nullptr);
  }
}

bool recordScratch(const std::string& directory) {
  const std::string link = directory + "/media";
  if (link.size() >= sizeof scratchLink) return false;
  scratchReady = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  std::snprintf(scratchDirectory, sizeof scratchDirectory, "%s", directory.c_str());
  std::snprintf(scratchLink, sizeof scratchLink, "%s", link.c_str());
  std::atomic_signal_fence(std::memory_order_seq_cst);
  scratchReady = 1;
  return true;
}

bool makeScratch(const fs::path& absolute) {
  std::string pattern = (fs::temp_directory_path() / "pwe-tree-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) return false;
  if (!recordScratch(pattern)) {
    rmdir(pattern.c_str());
    return false;
  }
  static bool hooked = false;
  if (!hooked) {
    hooked = std::atexit(removeScratch) == 0;
    removeScratchOnSignals();
  }
  std::error_code error;
  fs::create_directory_symlink(absolute, fs::path(pattern) / "media", error);
  if (!error && chdir(pattern.c_str()) == 0) return true;
  removeScratch();
  return false;
}

// The ending signals wait while the scratch tree is made, so that one finds
// it either not begun or whole, and its handler in place.
bool enterScratch(const fs::path& absolute) {
  sigset_t ending;
  sigset_t former;
  sigemptyset(&ending);
  for (int signal : endingSignals) sigaddset(&ending, signal);
  pthread_sigmask(SIG_BLOCK, &ending, &former);
  const bool entered = makeScratch(absolute);
  pthread_sigmask(SIG_SETMASK, &former, nullptr);
  return entered;
}

}  // namespace

bool enterMediaTree(const std::string& tree) {
  if (getcwd(formerDirectory, sizeof formerDirectory) == nullptr) formerDirectory[0] = '\0';
  std::error_code error;
  fs::path absolute = fs::absolute(tree, error).lexically_normal();
  if (error) return false;
  if (absolute.filename().empty()) absolute = absolute.parent_path();
  if (absolute.filename() == "media") return chdir(absolute.parent_path().c_str()) == 0;
  return enterScratch(absolute);
}

void leaveMediaTree() {
  if (formerDirectory[0] != '\0' && chdir(formerDirectory) != 0) formerDirectory[0] = '\0';
  removeScratch();
}

void removeMediaTreeScratch() {
  if (!scratchReady) return;
  const int savedErrno = errno;
  unlink(scratchLink);
  rmdir(scratchDirectory);
  scratchReady = 0;
  errno = savedErrno;
}
