// Each run of the checks is a forked child: see LiveChecks.h for why. The
// child's three answers reach the parent as text, each framed by its length,
//   answer <length>\n<body>\n
// so the parent tells a whole answer from one still arriving. A body holds
// one finding a record:
//   <element> <index> <other> <warning> <unreachable> <message length>\n
//   <message>\n
// then the route found, as a recording, or why there is none:
//   route <length>\n<the recording's text>\n   or   noroute <length>\n<why>\n
// (in the second answer only when the proof found a route with the
// enemies), what the proof established, note <length>\n<text>\n, and
// "end\n" after the last, so a child that died half-way is told from one
// that found nothing.
#include "tools/edit/LiveChecks.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <sstream>

#include "game/Game.h"
#include "game/LevelFormat.h"
#include "authoring/ChildProcess.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/TickState.h"
#include "shell/Fatal.h"
#include "shell/MediaOverlay.h"
#include "shell/Sound.h"

namespace {

const char endMark[] = "end\n";

CheckFinding checkFinding(const LayoutFinding& finding) {
  CheckFinding out;
  out.element = finding.element;
  out.kind = finding.kind;
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

// One of a child's answers.
struct CheckAnswer {
  std::vector<CheckFinding> findings;
  bool routeGiven = false;  // the three below replace the ones held
  bool hasRoute = false;
  Replay route;
  std::string noRoute;
  std::string note;  // what the proof with the enemies established
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
    std::snprintf(head, sizeof head, "%d %d %d %d %d %d %zu\n", static_cast<int>(f.element),
                  kindIndex(f.kind), f.index, f.other, f.warning ? 1 : 0, f.unreachable ? 1 : 0,
                  f.message.size());
    text += head;
    text += f.message;
    text += '\n';
  }
  return text;
}

std::string encode(const CheckAnswer& answer) {
  std::string route;
  if (answer.routeGiven) {
    route = answer.hasRoute ? sized("route", replayText(answer.route))
                            : sized("noroute", answer.noRoute);
  }
  const std::string note = answer.note.empty() ? "" : sized("note", answer.note);
  return sized("answer", encodeFindings(answer.findings) + route + note + endMark);
}

// Takes the first whole answer's body off the front of text; false while
// none has arrived whole.
bool takeFrame(std::string& text, std::string& body) {
  const std::string word = "answer ";
  const std::size_t lineEnd = text.find('\n');
  if (lineEnd == std::string::npos || text.compare(0, word.size(), word) != 0) return false;
  const std::size_t length = std::strtoull(text.c_str() + word.size(), nullptr, 10);
  const std::size_t whole = lineEnd + 1 + length + 1;
  if (text.size() < whole) return false;
  body = text.substr(lineEnd + 1, length);
  text.erase(0, whole);
  return true;
}

// False when the text is not a whole answer.
bool decode(const std::string& text, CheckAnswer& answer) {
  std::istringstream in(text);
  answer = CheckAnswer();
  for (;;) {
    std::string first;
    if (!(in >> first)) return false;
    if (first == "end") return true;
    if (first == "note") {
      if (!readSized(in, answer.note)) return false;
      continue;
    }
    if (first == "route" || first == "noroute") {
      std::string body;
      if (!readSized(in, body)) return false;
      std::string error;
      answer.routeGiven = true;
      answer.hasRoute = first == "route" && readReplayText(body, "the route found", answer.route, error);
      answer.noRoute = first == "route" ? error : body;
      continue;
    }
    CheckFinding f;
    int kind = 0, warning = 0, unreachable = 0;
    const int element = std::atoi(first.c_str());
    if (!(in >> kind >> f.index >> f.other >> warning >> unreachable)) return false;
    if (kind < 0 || kind >= elementKindCount || !readSized(in, f.message)) return false;
    f.element = static_cast<LayoutElement>(element);
    f.kind = elementKinds[kind].kind;
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
  answer.routeGiven = true;
  answer.hasRoute = verdict.routeWritable;
  answer.noRoute = verdict.noRoute;
  if (!answer.hasRoute) return;
  answer.route = verdict.route;
  answer.route.level = routeLevelName;
  answer.route.levelHash = textHash(writeLevel(level));
  answer.route.playerHash = fileHash(mediaPath("media/player.inf"));
}

// In the child, the second answer: what judgeClearing adds to the verdict,
// its note kept apart, and the route with the enemies when it found one.
CheckAnswer proofAnswer(Game& game, const Reachability& search, ReachabilityVerdict& verdict,
                        const LevelData& level, double searchSeconds) {
  const std::size_t quick = verdict.findings.size();
  ClearingLimits limits;
  if (searchSeconds > 0.0) limits.maxSeconds = searchSeconds;
  judgeClearing(game, search, verdict, limits);
  CheckAnswer answer;
  for (std::size_t i = quick; i < verdict.findings.size(); ++i) {
    const LayoutFinding& f = verdict.findings[i];
    if (f.note) {
      answer.note = f.message;
    } else {
      answer.findings.push_back(checkFinding(f));
    }
  }
  if (verdict.routeWritable && !verdict.route.enemiesAbsent) takeRoute(verdict, level, answer);
  return answer;
}

// The layout rules' answer: quick to know, so the author sees it before
// the search's. They leave the player as a new life has it; the search
// then begins where it would have begun without them.
CheckAnswer layoutAnswer(Game& game, double searchSeconds) {
  const TickStates states(game);
  const TickState start = states.capture();
  CheckAnswer answer;
  for (const LayoutFinding& f : LayoutRules(game, searchSeconds).check()) {
    answer.findings.push_back(checkFinding(f));
  }
  states.restore(start);
  answer.routeGiven = true;
  answer.noRoute = "the search for a route is still going";
  return answer;
}

// In the child, three answers: the layout rules, then the search on the
// Game as a run begins (pwe-check gives it a Game of its own), listed
// after them as pwe-check lists them, then the proof with the enemies.
void runChecks(Game& game, const LevelData& level, double searchSeconds, int out) {
  int sent = 0;
  silenceSamples(true);
  try {
    DataFailureGuard guard;
    game.level = level;
    game.levelDone = false;
    game.beginLife();
    writeAll(out, encode(layoutAnswer(game, searchSeconds)));
    ++sent;
    ReachabilityLimits limits;
    if (searchSeconds > 0.0) limits.maxSeconds = searchSeconds;
    Reachability search(game, limits);
    search.run();
    ReachabilityVerdict verdict = judgeReachability(game, search);
    CheckAnswer quick;
    takeRoute(verdict, level, quick);
    for (const LayoutFinding& f : verdict.findings) quick.findings.push_back(checkFinding(f));
    writeAll(out, encode(quick));
    ++sent;
    writeAll(out, encode(proofAnswer(game, search, verdict, level, searchSeconds)));
  } catch (const DataFailure& stop) {
    // The stop in the first answer still owed, and every other one given.
    CheckAnswer stopped;
    stopped.findings = {levelError(placementStopMessage(stop.boxText))};
    for (; sent < LiveChecks::answerCount; ++sent) {
      stopped.routeGiven = sent < LiveChecks::answerCount - 1;
      stopped.noRoute = stopped.routeGiven ? "the engine cannot place this level" : "";
      writeAll(out, encode(stopped));
      stopped.findings.clear();
    }
  }
}

// What stands for an answer a child died without giving.
CheckAnswer lostAnswer(int answer) {
  const bool proof = answer == LiveChecks::answerCount - 1;
  const std::string why = proof ? "the proof with the enemies ended without an answer"
                                : "the checks ended without an answer";
  CheckAnswer lost;
  lost.findings = {levelError(why)};
  lost.routeGiven = !proof;
  lost.noRoute = why;
  return lost;
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
  for (const CheckFinding& finding : findings_) count += finding.warning ? 0 : 1;
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

// The quick answer replaces what is held; the proof's adds to it. A child
// with nothing more to say is reaped at once.
bool LiveChecks::takeAnswer() {
  std::string body;
  if (!takeFrame(received_, body)) return false;
  CheckAnswer answer;
  if (!decode(body, answer)) answer = lostAnswer(answers_);
  if (answers_ == 0) {
    findings_.clear();
    clearedNote_.clear();
    revision_ = pending_;
  }
  findings_.insert(findings_.end(), answer.findings.begin(), answer.findings.end());
  if (answer.routeGiven) {
    hasRoute_ = answer.hasRoute;
    route_ = answer.route;
    noRoute_ = answer.noRoute;
  }
  if (answers_ == answerCount - 1) clearedNote_ = answer.note;
  proving_ = ++answers_ == answerCount - 1;
  if (answers_ == answerCount) stop();
  return true;
}

// The answer owed is taken in as if the child had written it.
void LiveChecks::finish() {
  const bool searchLost = answers_ < answerCount - 1;
  received_ = encode(lostAnswer(answers_));
  takeAnswer();
  if (searchLost) stop();  // nor will a proof come
}
