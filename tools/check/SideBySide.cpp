#include "tools/check/SideBySide.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "authoring/ChildProcess.h"

namespace {

struct Running {
  int index = 0;
  pid_t pid = -1;
  int fd = -1;  // the pipe's end to read from
};

// How a child that answered whole ended, or why it did not.
std::string endOf(int status) {
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
    return "ended with status " + std::to_string(WEXITSTATUS(status));
  }
  return "";
}

bool start(int index, const std::function<void(int, int)>& work, Running& child,
           ChildAnswer& answer) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    becomeChildOf(parent, fds[1]);
    work(index, fds[1]);
    _exit(0);  // no exit hooks: they belong to the parent
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return false;
  }
  child = Running{index, pid, fds[0]};
  answer.started = true;
  return true;
}

// Reads what the child has written; true once it closed its end.
bool readSome(int fd, std::string& bytes) {
  char chunk[65536];
  const ssize_t n = read(fd, chunk, sizeof chunk);
  if (n > 0) {
    bytes.append(chunk, static_cast<std::size_t>(n));
    return false;
  }
  return n == 0 || errno != EINTR;
}

void finish(const Running& child, ChildAnswer& answer) {
  close(child.fd);
  int status = 0;
  while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
  }
  answer.lost = endOf(status);
}

// Waits until one of the running children has something to read, and
// reads it; a child that closed its end is finished and leaves the list.
void serve(std::vector<Running>& running, std::vector<ChildAnswer>& answers) {
  std::vector<pollfd> polled;
  for (const Running& child : running) polled.push_back(pollfd{child.fd, POLLIN, 0});
  if (poll(polled.data(), polled.size(), -1) < 0) return;  // interrupted: asked again
  for (std::size_t i = polled.size(); i-- > 0;) {
    if (polled[i].revents == 0) continue;
    ChildAnswer& answer = answers[running[i].index];
    if (!readSome(running[i].fd, answer.bytes)) continue;
    finish(running[i], answer);
    running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace

int sideBySideJobs() {
  const char* asked = std::getenv("PWE_CHECK_JOBS");
  if (asked != nullptr && std::atoi(asked) > 0) return std::atoi(asked);
  return static_cast<int>(std::max(sysconf(_SC_NPROCESSORS_ONLN), 1L));
}

std::vector<ChildAnswer> runSideBySide(int count, int jobs,
                                       const std::function<void(int, int)>& work) {
  std::vector<ChildAnswer> answers(static_cast<std::size_t>(std::max(count, 0)));
  std::vector<Running> running;
  int next = 0;
  while (next < count || !running.empty()) {
    while (next < count && static_cast<int>(running.size()) < std::max(jobs, 1)) {
      Running child;
      if (start(next, work, child, answers[next])) running.push_back(child);
      ++next;
    }
    if (!running.empty()) serve(running, answers);
  }
  return answers;
}

bool writeWhole(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}
