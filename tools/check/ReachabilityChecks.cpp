// The reachability search (authoring/Reachability) on every level that reads
// cleanly, each in a Game built afresh as a run builds it, and its verdict
// (authoring/ReachabilityVerdict) reported at the records it is about. With
// --route the route of one level is written as a replay. The levels are
// proven side by side, a child process each (SideBySide.h), and reported
// in their order once all are proven.
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "authoring/FileReplace.h"
#include "game/Game.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/Replay.h"
#include "shell/Fatal.h"
#include "shell/LevelSequence.h"
#include "shell/MediaFile.h"
#include "shell/MediaTreeEntry.h"
#include "shell/Startup.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/SideBySide.h"

namespace {

// "none of the levels level1.inf to level4.inf", "not the level a.inf".
std::string noneOf(const std::vector<std::string>& levels) {
  if (levels.empty()) return "not a level: no level is checked";
  if (levels.size() == 1) return "not the level " + levels.front();
  return "none of the levels " + levels.front() + " to " + levels.back();
}

// What stands for the proof of a child that died before it answered whole.
LevelProof lostProof(const std::string& file, const std::string& lost, bool routed) {
  const std::string why = "the proof of the level ended without an answer: " +
                          (lost.empty() ? std::string("its answer was cut short") : lost);
  LevelProof proof;
  proof.findings.report(file, why);
  if (routed) proof.findings.report(file, "no route is written: " + why);
  return proof;
}

}  // namespace

void MediaChecker::requestRoute(const std::string& level, const std::string& output) {
  routeLevel_ = level;
  routeOutput_ = output;
}

// Missing, or a recording (what a file that is neither would be, the
// writer says); a longer file than any recording is none.
bool MediaChecker::routeOutputReplaceable() const {
  MediaFile file(routeOutput_);
  std::string text;
  if (!file.isOpen()) return true;
  return file.readWhole(text, maxReplayBytes) && replaceableByRecording(text);
}

void MediaChecker::checkReachability(bool treeLoads) {
  const LevelRecords* routed = nullptr;
  std::vector<const LevelRecords*> readable;
  for (const LevelRecords& records : levels_) {
    if (!records.readable) continue;
    readable.push_back(&records);
    if (records.fileName == routeLevel_) routed = &records;
  }
  if (!routeLevel_.empty() && (routed == nullptr || !treeLoads)) {
    const bool known =
        std::find(levelNames_.begin(), levelNames_.end(), routeLevel_) != levelNames_.end();
    out_.report(known ? pathOf(routeLevel_) : placeShown(),
                known ? "no route is written: the level or the tree has errors"
                      : "no route is written: " + routeLevel_ + " is " + noneOf(levelNames_));
  }
  if (!treeLoads || readable.empty() || !enterMediaTree(root_)) return;
  DataFailureGuard guard;
  std::vector<LevelProof> proofs = proveLevels(readable, routed);
  for (std::size_t i = 0; i < readable.size(); ++i) recordProof(*readable[i], proofs[i]);
  leaveMediaTree();
}

// One level after another in this process when one job is asked for (or
// one level is proven); else each in a child of its own, side by side.
std::vector<LevelProof> MediaChecker::proveLevels(const std::vector<const LevelRecords*>& levels,
                                                  const LevelRecords* routed) {
  const int count = static_cast<int>(levels.size());
  const int jobs = std::min(sideBySideJobs(), count);
  std::vector<LevelProof> proofs(levels.size());
  if (jobs <= 1) {
    for (int i = 0; i < count; ++i) proofs[i] = proveLevel(*levels[i], levels[i] == routed);
    return proofs;
  }
  const std::vector<ChildAnswer> answers = runSideBySide(count, jobs, [&](int i, int fd) {
    const LevelRecords& records = *levels[i];
    // The tests' way to see a child die under way.
    const char* killed = std::getenv("PWE_CHECK_KILL_LEVEL");
    if (killed != nullptr && records.fileName == killed) raise(SIGKILL);
    writeWhole(fd, serialisedProof(proveLevel(records, &records == routed)));
  });
  for (int i = 0; i < count; ++i) {
    const LevelRecords& records = *levels[i];
    if (!answers[i].started) {
      // No process to spare: proven here, in turn.
      proofs[i] = proveLevel(records, &records == routed);
    } else if (!readProof(answers[i].bytes, proofs[i])) {
      proofs[i] = lostProof(pathOf(records.fileName), answers[i].lost, &records == routed);
    }
  }
  return proofs;
}

LevelProof MediaChecker::proveLevel(const LevelRecords& records, bool writeRoute) const {
  LevelProof proof;
  try {
    selectConfiguration("media/pwe.cfg");
    laySetConfiguration("media/pwe.cfg");
    const StartupSettings settings = readStartupSettings();
    // A Game of its own, as a run begins: no ladder held, every
    // animation at its first frame.
    Game game(settings.width, settings.height, settings.updatesPerSecond);
    game.startLevel(records.fileName);
    game.beginLife();
    ReachabilityLimits limits;
    if (searchSeconds_ > 0.0) limits.maxSeconds = searchSeconds_;
    const std::size_t bytes = static_cast<std::size_t>(searchMegabytes_ * 1048576.0);
    if (bytes > 0) limits.maxBytes = bytes;
    Reachability search(game, limits);
    search.run();
    ClearingLimits clearing;
    if (searchSeconds_ > 0.0) clearing.maxSeconds = searchSeconds_;
    if (bytes > 0) clearing.maxBytes = bytes;
    judgeReachability(records, game, search, writeRoute, clearing, proof);
  } catch (const DataFailure& stop) {
    proof.findings.report(pathOf(records.fileName), placementStopMessage(stop.boxText));
  }
  return proof;
}

void MediaChecker::judgeReachability(const LevelRecords& records, Game& game,
                                     const Reachability& search, bool writeRoute,
                                     const ClearingLimits& limits, LevelProof& proof) const {
  ReachabilityVerdict verdict = judgeLevel(game, search, limits);
  for (const LayoutFinding& finding : verdict.findings) {
    reportLayout(records, finding, proof.findings);
  }
  if (!writeRoute) return;
  if (!verdict.routeWritable) {
    if (!verdict.noRoute.empty()) {
      proof.findings.report(pathOf(records.fileName), "no route is written: " + verdict.noRoute);
    }
    return;
  }
  Replay& replay = verdict.route;
  nameRecordedLevel(replay, records.fileName);
  proof.routeFound = true;
  proof.route = replayText(replay);
}

// The route is written by this process alone, whichever proved it.
void MediaChecker::recordProof(const LevelRecords& records, const LevelProof& proof) {
  out_.append(proof.findings);
  if (!proof.routeFound) return;
  std::string reason;
  if (!routeOutputReplaceable()) {
    out_.report(pathOf(records.fileName), "no route is written: " + routeOutput_ +
                                              " holds no recording, and is left as it was");
  } else if (replaceFile(routeOutput_, proof.route, reason) != 0) {
    out_.report(pathOf(records.fileName), "no route is written: " + reason);
  }
}
