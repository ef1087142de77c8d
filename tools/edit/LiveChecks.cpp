// Each run of the checks is a forked child: see LiveChecks.h for why. The
// child's findings reach the parent as text, one finding a record:
//   <element> <index> <other> <warning> <unreachable> <message length>\n
//   <message>\n
// then the route found, as a recording, or why there is none:
//   route <length>\n<the recording's text>\n   or   noroute <length>\n<why>\n
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
#include "game/LevelFormat.h"
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

// What one child finds.
struct CheckAnswer {
  std::vector<CheckFinding> findings;
  bool hasRoute = false;
  Replay route;
  std::string noRoute;
};

// A text record: its word, its length, its bytes.
std::string sized(const char* word, const std::string& text) {
  return std::string(word) + " " + std::to_string(text.size()) + "\n" + text + "\n";
}

bool readSized(std::istream& in, std::string& text) {
  std::size_t length = 0;
  if (!(in >> length)) return false;
  in.get();  // the line end
  text.resize(length);
  return length == 0 || static_cast<bool>(in.read(&text[0], static_cast<std::streamsize>(length)));
}

std::string encodeFindings(const std::vector<CheckFinding>& findings) {
  std::string text;
  for (const CheckFinding& f : findings) {
    char head[96];
    std::snprintf(head, sizeof head, "%d %d %d %d %d %zu\n", static_cast<int>(f.element), f.index,
                  f.other, f.warning ? 1 : 0, f.unreachable ? 1 : 0, f.message.size());
    text += head;
    text += f.message;
    text += '\n';
  }
  return text;
}

std::string encode(const CheckAnswer& answer) {
  const std::string route = answer.hasRoute ? sized("route", replayText(answer.route))
                                            : sized("noroute", answer.noRoute);
  return encodeFindings(answer.findings) + route + endMark;
}

// False when the text is not a whole answer.
bool decode(const std::string& text, CheckAnswer& answer) {
  std::istringstream in(text);
  answer = CheckAnswer();
  for (;;) {
    std::string first;
    if (!(in >> first)) return false;
    if (first == "end") return true;
    if (first == "route" || first == "noroute") {
      std::string body;
      if (!readSized(in, body)) return false;
      std::string error;
      answer.hasRoute = first == "route" && readReplayText(body, "the route found", answer.route, error);
      answer.noRoute = first == "route" ? error : body;
      continue;
    }
    CheckFinding f;
    int warning = 0, unreachable = 0;
    const int element = std::atoi(first.c_str());
    if (!(in >> f.index >> f.other >> warning >> unreachable)) return false;
    if (!readSized(in, f.message)) return false;
    f.element = static_cast<LayoutElement>(element);
    f.warning = warning != 0;
    f.unreachable = unreachable != 0;
    answer.findings.push_back(f);
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

// The edited level has no file of its own yet: its route is named for the
// editor and carries the hash of the level's text as it would be saved.
constexpr const char* routeLevelName = "edited.inf";

// The route as pwe-check --route writes it, when the verdict has one.
void takeRoute(ReachabilityVerdict& verdict, const LevelData& level, CheckAnswer& answer) {
  answer.hasRoute = verdict.routeWritable;
  answer.noRoute = verdict.noRoute;
  if (!answer.hasRoute) return;
  answer.route = verdict.route;
  answer.route.level = routeLevelName;
  answer.route.levelHash = textHash(writeLevel(level));
  answer.route.playerHash = fileHash("media/player.inf");
}

// In the child: the search first, on the Game as a run begins (pwe-check
// gives it a Game of its own), then the layout rules on the life begun
// again; listed layout first, as pwe-check lists them.
CheckAnswer runChecks(Game& game, const LevelData& level, double searchSeconds) {
  CheckAnswer answer;
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
    ReachabilityVerdict verdict = judgeReachability(game, search);
    for (const LayoutFinding& f : verdict.findings) reach.push_back(checkFinding(f));
    takeRoute(verdict, level, answer);
    game.beginLife();
    for (const LayoutFinding& f : LayoutRules(game).check()) {
      answer.findings.push_back(checkFinding(f));
    }
  } catch (const DataFailure& stop) {
    answer = CheckAnswer();
    answer.findings = {levelError(placementStopMessage(stop.boxText))};
    answer.noRoute = "the engine cannot place this level";
    return answer;
  }
  answer.findings.insert(answer.findings.end(), reach.begin(), reach.end());
  return answer;
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
  CheckAnswer answer;
  if (!decode(received_, answer)) {
    answer = CheckAnswer();
    answer.findings = {levelError("the checks ended without an answer")};
    answer.noRoute = "the checks ended without an answer";
  }
  findings_ = answer.findings;
  hasRoute_ = answer.hasRoute;
  route_ = answer.route;
  noRoute_ = answer.noRoute;
  revision_ = pending_;
  received_.clear();
}
