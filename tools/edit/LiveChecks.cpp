// Each run of the checks is a forked child: see LiveChecks.h for why. The
// child hands the level's report so far to the parent after each stage,
// as bytes in the report's own framing (authoring/LevelReport.h), so the
// parent tells a whole report from one still arriving, and a child that
// died half-way from one that found nothing.
#include "tools/edit/LiveChecks.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "authoring/ChildProcess.h"
#include "authoring/ReachabilityVerdict.h"
#include "game/Game.h"
#include "game/LevelFormat.h"
#include "shell/MediaOverlay.h"
#include "shell/Sound.h"

namespace {

// A run answers once a stage of the report.
static_assert(static_cast<int>(ReportStage::Proof) == LiveChecks::answerCount);

ReportFinding levelError(const std::string& message) {
  ReportFinding out;
  out.element = LayoutElement::Level;
  out.message = message;
  return out;
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
Replay routeName(const LevelData& level) {
  Replay named;
  named.level = "edited.inf";
  named.levelHash = textHash(writeLevel(level));
  named.playerHash = fileHash(mediaPath("media/player.inf"));
  return named;
}

// In the child: the level's report on the Game as a run begins, placed as
// the edited level, each stage's report written as it is made.
void runChecks(Game& game, const LevelData& level, double searchSeconds, int out) {
  silenceSamples(true);
  ReportOptions options;
  options.seconds = searchSeconds;
  options.routeName = routeName(level);
  const auto place = [&] {
    game.level = level;
    game.levelDone = false;
    game.beginLife();
  };
  reportLevel(game, place, options,
              [&](const LevelReport& report) { writeAll(out, reportBytes(report)); });
}

}  // namespace

LiveChecks::LiveChecks(int width, int height, int updatesPerSecond)
    : game_(std::make_unique<Game>(width, height, updatesPerSecond)) {}

LiveChecks::~LiveChecks() { stop(); }

void LiveChecks::start(const LevelData& level, unsigned revision) {
  stop();
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  const pid_t editor = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    becomeChildOf(editor, fds[1]);
    runChecks(*game_, level, searchSeconds_, fds[1]);
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
  ended_ = false;
  answers_ = 0;
}

bool LiveChecks::poll() {
  if (child_ <= 0) return false;
  readAvailable();
  if (takeAnswer()) return true;
  if (!ended_) return false;
  finish();  // the child closed its end with an answer still owed
  return true;
}

int LiveChecks::errorCount() const {
  int count = 0;
  for (const ReportFinding& finding : findings_) count += finding.warning ? 0 : 1;
  return count;
}

int LiveChecks::warningCount() const {
  return static_cast<int>(findings_.size()) - errorCount();
}

// The proof of the revision held, if it was still going, will not come.
void LiveChecks::stop() {
  proving_ = false;
  if (child_ <= 0) return;
  kill(child_, SIGKILL);
  waitpid(child_, nullptr, 0);
  close(pipe_);
  child_ = -1;
  pipe_ = -1;
}

void LiveChecks::readAvailable() {
  char chunk[4096];
  while (!ended_) {
    const ssize_t n = read(pipe_, chunk, sizeof chunk);
    if (n > 0) {
      received_.append(chunk, static_cast<std::size_t>(n));
    } else if (n == 0) {
      ended_ = true;
    } else if (errno != EINTR) {
      return;  // nothing more yet
    }
  }
}

// Each report holds all its run has found so far and replaces what is
// held. A child with nothing more to say is reaped at once.
bool LiveChecks::takeAnswer() {
  LevelReport report;
  const ReportRead read = takeReport(received_, report);
  if (read == ReportRead::Partial) return false;
  if (read == ReportRead::Damaged) {
    finish();  // what follows cannot be told apart either
    return true;
  }
  revision_ = pending_;
  hold(report);
  answers_ = report.stopped() ? answerCount : static_cast<int>(report.reached);
  proving_ = answers_ == answerCount - 1;
  if (answers_ == answerCount) stop();
  return true;
}

// The findings with the proof's note apart, the engine's stop last; the
// route once the search has given it, unless the engine stopped before.
void LiveChecks::hold(const LevelReport& report) {
  findings_.clear();
  clearedNote_.clear();
  for (const auto* list : {&report.layout, &report.verdict}) {
    for (const ReportFinding& finding : *list) {
      if (finding.note) {
        clearedNote_ = finding.message;
      } else {
        findings_.push_back(finding);
      }
    }
  }
  if (report.stopped()) findings_.push_back(levelError(placementStopMessage(report.stop)));
  hasRoute_ = false;
  route_ = Replay();
  clearedTicks_ = report.clearedTicks;
  parTicks_ = report.parTicks;
  moments_ = report.moments;
  if (report.stopped() && report.stoppedIn != ReportStage::Proof) {
    noRoute_ = "the engine cannot place this level";
  } else if (report.reached == ReportStage::Layout) {
    noRoute_ = "the search for a route is still going";
  } else {
    hasRoute_ = report.routeWritable;
    route_ = report.route;
    noRoute_ = report.noRoute;
  }
}

// What stands for the answer a child died without giving: the proof's
// leaves the route held, the search's takes it away.
void LiveChecks::finish() {
  const bool proof = answers_ == answerCount - 1;
  const std::string why = proof ? "the proof with the enemies ended without an answer"
                                : "the checks ended without an answer";
  if (answers_ == 0) {
    findings_.clear();
    clearedNote_.clear();
    clearedTicks_ = 0;
    parTicks_ = -1;
    moments_ = RouteMoments();
    revision_ = pending_;
  }
  findings_.push_back(levelError(why));
  if (!proof) {
    hasRoute_ = false;
    route_ = Replay();
    noRoute_ = why;
  }
  stop();
}
