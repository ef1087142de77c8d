// The findings of a level's report (authoring/LevelReport.h), each
// reported at the record of the file it is about; the layout rules' of
// every level first, as they are quick to read, then each level's proof
// (ReachabilityChecks.cpp). The reports are made only when the rest of
// the tree is free of errors (AssetChecks.cpp, run).
#include <string>
#include <vector>

#include "authoring/ReachabilityVerdict.h"
#include "tools/check/MediaChecker.h"

namespace {

Position recordAt(const std::vector<Position>& records, int index) {
  return index >= 0 && index < static_cast<int>(records.size()) ? records[index] : Position{};
}

Position positionOf(const LevelRecords& records, const ReportFinding& finding, int index) {
  switch (finding.element) {
    case LayoutElement::Record:
      return recordAt(records.starts[kindIndex(finding.kind)], index);
    case LayoutElement::CountdownPanel:
      return records.countdownPanel;
    case LayoutElement::ScorePanel:
      return records.scorePanel;
    case LayoutElement::Start:
      return records.start;
    case LayoutElement::Level:
      return Position{};  // the file as a whole
    default:
      return records.tileCount;
  }
}

std::string at(Position position) {
  return std::to_string(position.line) + ":" + std::to_string(position.column);
}

}  // namespace

void MediaChecker::recordLayouts(const std::vector<const LevelRecords*>& levels,
                                 const std::vector<ProvenLevel>& proven) {
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const LevelReport& report = proven[i].report;
    if (!proven[i].answered) continue;  // its proof says so
    if (report.stopped() && report.stoppedIn == ReportStage::Tree) {
      // The checks before found nothing the engine would stop on.
      out_.report(placeShown(), "the engine stops while loading the tree: " + report.stop);
      return;
    }
    for (const ReportFinding& finding : report.layout) recordFinding(*levels[i], finding);
    if (report.stopped() && report.stoppedIn == ReportStage::Layout) {
      out_.report(pathOf(levels[i]->fileName), placementStopMessage(report.stop));
    }
  }
}

void MediaChecker::recordFinding(const LevelRecords& records, const ReportFinding& finding) {
  std::string message = finding.message;
  if (finding.other >= 0) {
    message += " (at " + at(positionOf(records, finding, finding.other)) + ")";
  }
  const std::string file = pathOf(records.fileName);
  const Position where = positionOf(records, finding, finding.index);
  if (finding.note) {
    out_.note(file, where, message);
  } else if (finding.warning) {
    out_.warn(file, where, message);
  } else {
    out_.report(file, where, message);
  }
}
