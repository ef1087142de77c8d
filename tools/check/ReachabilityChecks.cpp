// Every level that reads cleanly gets its report (authoring/LevelReport.h):
// the layout rules, the reachability search and its verdict, the proof
// with the enemies, each level in a Game built afresh as a run builds it.
// The reports are made side by side, a child process each (SideBySide.h),
// and reported in the levels' order once all are made: the layout rules'
// findings of every level first (LayoutChecks.cpp), then each level's
// proof. With --route the route of one level is written as a replay.
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "authoring/FileReplace.h"
#include "authoring/LevelReport.h"
#include "authoring/ReachabilityVerdict.h"
#include "game/Game.h"
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

void MediaChecker::checkLevelReports(bool treeLoads) {
  const LevelRecords* routed = nullptr;
  std::vector<const LevelRecords*> readable;
  for (const LevelRecords& records : levels_) {
    if (!records.readable) continue;
    readable.push_back(&records);
    if (records.fileName == routeLevel_) routed = &records;
  }
  const bool reported = treeLoads && !readable.empty() && enterMediaTree(root_);
  std::vector<ProvenLevel> proven;
  if (reported) {
    DataFailureGuard guard;
    proven = proveLevels(readable);
    recordLayouts(readable, proven);
  }
  if (!routeLevel_.empty() && (routed == nullptr || !treeLoads)) {
    const bool known =
        std::find(levelNames_.begin(), levelNames_.end(), routeLevel_) != levelNames_.end();
    out_.report(known ? pathOf(routeLevel_) : placeShown(),
                known ? "no route is written: the level or the tree has errors"
                      : "no route is written: " + routeLevel_ + " is " + noneOf(levelNames_));
  }
  if (!reported) return;
  for (std::size_t i = 0; i < readable.size(); ++i) {
    recordProof(*readable[i], proven[i], readable[i] == routed);
  }
  leaveMediaTree();
}

// One level after another in this process when one job is asked for (or
// one level is reported); else each in a child of its own, side by side.
std::vector<MediaChecker::ProvenLevel> MediaChecker::proveLevels(
    const std::vector<const LevelRecords*>& levels) {
  const int count = static_cast<int>(levels.size());
  const int jobs = std::min(sideBySideJobs(), count);
  std::vector<ProvenLevel> proven(levels.size());
  if (jobs <= 1) {
    for (int i = 0; i < count; ++i) proven[i].report = reportOn(*levels[i]);
    return proven;
  }
  const std::vector<ChildAnswer> answers = runSideBySide(count, jobs, [&](int i, int fd) {
    const LevelRecords& records = *levels[i];
    // The tests' way to see a child die under way.
    const char* killed = std::getenv("PWE_CHECK_KILL_LEVEL");
    if (killed != nullptr && records.fileName == killed) raise(SIGKILL);
    writeWhole(fd, reportBytes(reportOn(records)));
  });
  for (int i = 0; i < count; ++i) {
    std::string bytes = answers[i].bytes;
    if (!answers[i].started) {
      // No process to spare: reported here, in turn.
      proven[i].report = reportOn(*levels[i]);
    } else if (takeReport(bytes, proven[i].report) != ReportRead::Whole || !bytes.empty()) {
      proven[i] = ProvenLevel{LevelReport(), false, answers[i].lost};
    }
  }
  return proven;
}

// In a Game of its own, as a run begins: no ladder held, every animation
// at its first frame.
LevelReport MediaChecker::reportOn(const LevelRecords& records) const {
  ReportOptions options;
  options.seconds = searchSeconds_;
  options.bytes = static_cast<std::size_t>(searchMegabytes_ * 1048576.0);
  nameRecordedLevel(options.routeName, records.fileName);
  try {
    selectConfiguration("media/pwe.cfg");
    laySetConfiguration("media/pwe.cfg");
    const StartupSettings settings = readStartupSettings();
    Game game(settings.width, settings.height, settings.updatesPerSecond);
    const auto place = [&] {
      game.startLevel(records.fileName);
      game.beginLife();
    };
    return reportLevel(game, place, options);
  } catch (const DataFailure& stop) {
    LevelReport report;
    report.stop = stop.boxText;
    report.stoppedIn = ReportStage::Tree;
    return report;
  }
}

void MediaChecker::recordProof(const LevelRecords& records, const ProvenLevel& proven,
                               bool routed) {
  const std::string file = pathOf(records.fileName);
  if (!proven.answered) {
    const std::string why =
        "the proof of the level ended without an answer: " +
        (proven.lost.empty() ? std::string("its answer was cut short") : proven.lost);
    out_.report(file, why);
    if (routed) out_.report(file, "no route is written: " + why);
    return;
  }
  const LevelReport& report = proven.report;
  if (report.stopped()) {
    out_.report(file, placementStopMessage(report.stop));
    return;
  }
  for (const ReportFinding& finding : report.verdict) recordFinding(records, finding);
  if (!routed) return;
  if (report.routeWritable) {
    writeRoute(records, report);
  } else if (!report.noRoute.empty()) {
    out_.report(file, "no route is written: " + report.noRoute);
  }
}

// The route is written by this process alone, whichever proved it.
void MediaChecker::writeRoute(const LevelRecords& records, const LevelReport& report) {
  std::string reason;
  if (!routeOutputReplaceable()) {
    out_.report(pathOf(records.fileName), "no route is written: " + routeOutput_ +
                                              " holds no recording, and is left as it was");
  } else if (replaceFile(routeOutput_, replayText(report.route), reason) != 0) {
    out_.report(pathOf(records.fileName), "no route is written: " + reason);
  }
}
