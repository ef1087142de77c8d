#include "authoring/LevelReport.h"

#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/TickState.h"
#include "shell/Fatal.h"

namespace {

ReportFinding reportFinding(const LayoutFinding& finding) {
  ReportFinding out;
  out.element = finding.element;
  out.kind = finding.kind;
  out.index = finding.element == LayoutElement::Level ? -1 : finding.index;
  out.other = finding.other;
  out.warning = finding.warning;
  out.unreachable = finding.unreachable;
  out.note = finding.note;
  out.message = finding.message;
  return out;
}

// What the verdict says beyond what the report holds already: its findings
// from the first not taken yet, its route, par and moments.
void takeVerdict(const ReachabilityVerdict& verdict, std::size_t taken, LevelReport& report,
                 const Replay& routeName) {
  for (std::size_t i = taken; i < verdict.findings.size(); ++i) {
    report.verdict.push_back(reportFinding(verdict.findings[i]));
  }
  report.route = verdict.route;
  report.route.level = routeName.level;
  report.route.set = routeName.set;
  report.route.levelHash = routeName.levelHash;
  report.route.playerHash = routeName.playerHash;
  report.routeWritable = verdict.routeWritable;
  report.routeInTime = verdict.routeInTime;
  report.noRoute = verdict.noRoute;
  report.clearedTicks = verdict.clearedTicks;
  report.parTicks = verdict.parTicks;
  report.moments = verdict.moments;
}

// Times one stage and tells the caller what the report holds after it.
class Stages {
 public:
  Stages(LevelReport& report, const ReportTold& told) : report_(report), told_(told) {}
  void begin(ReportStage stage) {
    under_ = stage;
    startedAt_ = searchClockSeconds();
  }
  void end() {
    report_.seconds[static_cast<int>(under_)] = searchClockSeconds() - startedAt_;
    report_.reached = under_;
    tell();
  }
  void stop(const std::string& words) {
    report_.stop = words;
    report_.stoppedIn = under_;
    report_.seconds[static_cast<int>(under_)] = searchClockSeconds() - startedAt_;
    tell();
  }

 private:
  void tell() const {
    if (told_) told_(report_);
  }
  LevelReport& report_;
  const ReportTold& told_;
  ReportStage under_ = ReportStage::Layout;
  double startedAt_ = 0.0;
};

// The layout rules move the player and the enemies' copies; the search
// then begins where a new life begins, as if they had not run.
void layoutStage(Game& game, double seconds, LevelReport& report) {
  const TickStates states(game);
  const TickState start = states.capture();
  for (const LayoutFinding& f : LayoutRules(game, seconds).check()) {
    report.layout.push_back(reportFinding(f));
  }
  states.restore(start);
}

}  // namespace

LevelReport reportLevel(Game& game, const std::function<void()>& place,
                        const ReportOptions& options, const ReportTold& told) {
  LevelReport report;
  Stages stages(report, told);
  try {
    DataFailureGuard guard;
    stages.begin(ReportStage::Layout);
    place();
    layoutStage(game, options.seconds, report);
    stages.end();

    stages.begin(ReportStage::Search);
    ReachabilityLimits limits;
    if (options.seconds > 0.0) limits.maxSeconds = options.seconds;
    if (options.bytes > 0) limits.maxBytes = options.bytes;
    Reachability search(game, limits);
    search.run();
    ReachabilityVerdict verdict = judgeReachability(game, search);
    takeVerdict(verdict, 0, report, options.routeName);
    stages.end();

    stages.begin(ReportStage::Proof);
    const std::size_t quick = verdict.findings.size();
    ClearingLimits clearing;
    if (options.seconds > 0.0) clearing.maxSeconds = options.seconds;
    if (options.bytes > 0) clearing.maxBytes = options.bytes;
    judgeClearing(game, search, verdict, clearing);
    takeVerdict(verdict, quick, report, options.routeName);
    stages.end();
  } catch (const DataFailure& failure) {
    stages.stop(failure.boxText);
  }
  return report;
}
