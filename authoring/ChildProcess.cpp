#include "authoring/ChildProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

namespace {

// close_range where the kernel has it; else one close a descriptor, up to
// the process's limit (bounded: a limit of millions would take a while).
void closeFrom(unsigned first, unsigned last) {
  if (first > last) return;
  if (syscall(SYS_close_range, first, last, 0) == 0) return;
  const long limit = std::min(sysconf(_SC_OPEN_MAX), 65536L);
  for (long fd = first; fd <= static_cast<long>(last) && fd < limit; ++fd) close(static_cast<int>(fd));
}

}  // namespace

void becomeChildOf(pid_t parent, int keep) {
  // Asked for before the parent is looked at: a parent ending between the
  // two is seen by the look, one ending after it by the kernel.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(0);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal = 1; signal < NSIG; ++signal) sigaction(signal, &action, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  const unsigned kept = static_cast<unsigned>(keep);
  if (keep > 3) closeFrom(3, kept - 1);
  closeFrom(std::max(kept + 1, 3u), ~0u);
}
