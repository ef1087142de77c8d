#include "tools/edit/EditorSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "shell/MediaTreeEntry.h"

namespace {

const int leaveSignals[] = {SIGTERM, SIGHUP, SIGINT};

// One autosave the handler may write: the names are made beforehand, since
// nothing that allocates may run in the handler.
struct Pending {
  std::string path;
  std::string temporary;  // beside it, of this process's own name
  std::string text;
};

// Two copies, so the one the handler may read is never the one being
// replaced. Never freed: a signal may come while static objects are
// destroyed.
Pending* const pending = new Pending[2];
volatile sig_atomic_t current = -1;  // index of the copy to write; -1: none

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// As the tools' file replacer does, in system calls alone: an exclusive
// temporary file that never follows a link, flushed, renamed over.
void writePending(const Pending& copy) {
  unlink(copy.temporary.c_str());  // a leftover of an earlier process of this id
  const int fd = open(copy.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0644);
  if (fd < 0) return;
  const bool written = writeAll(fd, copy.text.data(), copy.text.size()) && fsync(fd) == 0;
  if (close(fd) == 0 && written && rename(copy.temporary.c_str(), copy.path.c_str()) == 0) return;
  unlink(copy.temporary.c_str());
}

void onLeaveSignal(int signal) {
  const int saved = errno;
  const int index = current;
  if (index >= 0) writePending(pending[index]);
  // Last: media/ leads nowhere after it.
  removeMediaTreeScratch();
  // The handler was reset as it ran: raised again, the signal ends the
  // process as soon as the handler returns, as it would have without one.
  errno = saved;
  raise(signal);
}

sigset_t leaveSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : leaveSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void holdLeaveSignals() {
  const sigset_t set = leaveSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void watchLeaveSignals() {
  struct sigaction action {};
  action.sa_handler = onLeaveSignal;
  // One signal at a time: the others wait while an autosave is written.
  action.sa_mask = leaveSet();
  action.sa_flags = SA_RESETHAND;
  for (int signal : leaveSignals) sigaction(signal, &action, nullptr);
  const sigset_t set = leaveSet();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void keepForLeaveSignals(const std::string& autosavePath, const std::string& text) {
  if (text.empty() || autosavePath.empty()) {
    current = -1;
    return;
  }
  const int next = current == 0 ? 1 : 0;
  Pending& copy = pending[next];
  copy.path = autosavePath;
  const std::string::size_type slash = autosavePath.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : autosavePath.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? autosavePath : autosavePath.substr(slash + 1);
  copy.temporary = folder + "." + name + "." + std::to_string(getpid()) + ".signal";
  copy.text = text;
  current = next;
}
