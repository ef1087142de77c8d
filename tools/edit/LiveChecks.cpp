// Each run of the checks is a forked child: see LiveChecks.h for why. The
// child's findings reach the parent as text, one finding a record:
//   <element> <index> <other> <warning> <unreachable> <message length>\n
//   <message>\n
// and "end\n" after the last, so a child that died half-way is told from
// one that found nothing.
#include "tools/edit/LiveChecks.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <sstream>

#include "game/Game.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "shell/Fatal.h"
#include "shell/Sound.h"

namespace {

const char endMark[] = "end\n";

CheckFinding checkFinding(const LayoutFinding& finding) {
  CheckFinding out;
  out.element = finding.element;
  out.index = finding.element == LayoutElement::Level ? -1 : finding.index;
  out.other = finding.other;
  out.warning = finding.warning;
  out.unreachable = finding.unreachable;
  out.message = finding.message;
  return out;
}

CheckFinding levelError(const std::string& message) {
  CheckFinding out;
  out.element = LayoutElement::Level;
  out.message = message;
  return out;
}

std::string encode(const std::vector<CheckFinding>& findings) {
  std::string text;
  for (const CheckFinding& f : findings) {
    char head[96];
    std::snprintf(head, sizeof head, "%d %d %d %d %d %zu\n", static_cast<int>(f.element), f.index,
                  f.other, f.warning ? 1 : 0, f.unreachable ? 1 : 0, f.message.size());
    text += head;
    text += f.message;
    text += '\n';
  }
  return text + endMark;
}

// False when the text is not a whole answer.
bool decode(const std::string& text, std::vector<CheckFinding>& findings) {
  std::istringstream in(text);
  findings.clear();
  for (;;) {
    std::string first;
    if (!(in >> first)) return false;
    if (first == "end") return true;
    CheckFinding f;
    int element = 0, warning = 0, unreachable = 0;
    std::size_t length = 0;
    element = std::atoi(first.c_str());
    if (!(in >> f.index >> f.other >> warning >> unreachable >> length)) return false;
    in.get();  // the line end
    f.message.resize(length);
    if (!in.read(&f.message[0], static_cast<std::streamsize>(length))) return false;
    f.element = static_cast<LayoutElement>(element);
    f.warning = warning != 0;
    f.unreachable = unreachable != 0;
    findings.push_back(f);
  }
}

void writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

// In the child: the search first, on the Game as a run begins (pwe-check
// gives it a Game of its own), then the layout rules on the life begun
// again; listed layout first, as pwe-check lists them.
std::vector<CheckFinding> runChecks(Game& game, const LevelData& level, double searchSeconds) {
  std::vector<CheckFinding> layout;
  std::vector<CheckFinding> reach;
  silenceSamples(true);
  try {
    DataFailureGuard guard;
    game.level = level;
    game.levelDone = false;
    game.beginLife();
    ReachabilityLimits limits;
    if (searchSeconds > 0.0) limits.maxSeconds = searchSeconds;
    Reachability search(game, limits);
    search.run();
    for (const LayoutFinding& f : judgeReachability(game, search).findings) {
      reach.push_back(checkFinding(f));
    }
    game.beginLife();
    for (const LayoutFinding& f : LayoutRules(game).check()) layout.push_back(checkFinding(f));
  } catch (const DataFailure& stop) {
    return {levelError(placementStopMessage(stop.boxText))};
  }
  layout.insert(layout.end(), reach.begin(), reach.end());
  return layout;
}

}  // namespace

LiveChecks::LiveChecks(int width, int height, int updatesPerSecond)
    : game_(std::make_unique<Game>(width, height, updatesPerSecond)) {}

LiveChecks::~LiveChecks() { stop(); }

void LiveChecks::start(const LevelData& level, unsigned revision) {
  stop();
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    writeAll(fds[1], encode(runChecks(*game_, level, searchSeconds_)));
    _exit(0);  // no exit hooks: they belong to the editor
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return;
  }
  fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  child_ = pid;
  pipe_ = fds[0];
  pending_ = revision;
  received_.clear();
}

bool LiveChecks::poll() {
  if (child_ <= 0) return false;
  char chunk[4096];
  for (;;) {
    const ssize_t n = read(pipe_, chunk, sizeof chunk);
    if (n > 0) {
      received_.append(chunk, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;  // nothing more yet
    finish();                 // the child closed its end
    return true;
  }
}

int LiveChecks::errorCount() const {
  int count = 0;
  for (const CheckFinding& finding : findings_) count += finding.warning ? 0 : 1;
  return count;
}

int LiveChecks::warningCount() const {
  return static_cast<int>(findings_.size()) - errorCount();
}

void LiveChecks::stop() {
  if (child_ <= 0) return;
  kill(child_, SIGKILL);
  waitpid(child_, nullptr, 0);
  close(pipe_);
  child_ = -1;
  pipe_ = -1;
}

void LiveChecks::finish() {
  waitpid(child_, nullptr, 0);
  close(pipe_);
  child_ = -1;
  pipe_ = -1;
  if (!decode(received_, findings_)) {
    findings_ = {levelError("the checks ended without an answer")};
  }
  revision_ = pending_;
  received_.clear();
}
