// The layout rules (authoring/LayoutRules) run on every level that reads
// cleanly, in a Game built from the tree as the engine builds it, and each
// finding is reported at the record it is about. They run only when the
// rest of the tree is free of errors (AssetChecks.cpp, run).
#include <string>
#include <vector>

#include "game/Game.h"
#include "authoring/LayoutRules.h"
#include "authoring/ReachabilityVerdict.h"
#include "shell/Fatal.h"
#include "shell/MediaTreeEntry.h"
#include "shell/Startup.h"
#include "tools/check/MediaChecker.h"

namespace {

Position recordAt(const std::vector<Position>& records, int index) {
  return index >= 0 && index < static_cast<int>(records.size()) ? records[index] : Position{};
}

Position positionOf(const LevelRecords& records, const LayoutFinding& finding, int index) {
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

void MediaChecker::checkLayouts() {
  std::vector<const LevelRecords*> readable;
  for (const LevelRecords& records : levels_) {
    if (records.readable) readable.push_back(&records);
  }
  if (readable.empty() || !enterMediaTree(root_)) return;
  try {
    DataFailureGuard guard;
    selectConfiguration("media/pwe.cfg");
    laySetConfiguration("media/pwe.cfg");
    const StartupSettings settings = readStartupSettings();
    Game game(settings.width, settings.height, settings.updatesPerSecond);
    for (const LevelRecords* records : readable) {
      try {
        game.startLevel(records->fileName);
        game.beginLife();
        for (const LayoutFinding& finding : LayoutRules(game, searchSeconds_).check()) {
          reportLayout(*records, finding, out_);
        }
      } catch (const DataFailure& stop) {
        out_.report(pathOf(records->fileName), placementStopMessage(stop.boxText));
      }
    }
  } catch (const DataFailure& stop) {
    // The checks before found nothing the engine would stop on.
    out_.report(placeShown(), "the engine stops while loading the tree: " + stop.boxText);
  }
  leaveMediaTree();
}

void MediaChecker::reportLayout(const LevelRecords& records, const LayoutFinding& finding,
                                Diagnostics& out) const {
  std::string message = finding.message;
  if (finding.other >= 0) {
    message += " (at " + at(positionOf(records, finding, finding.other)) + ")";
  }
  const std::string file = pathOf(records.fileName);
  const Position where = positionOf(records, finding, finding.index);
  if (finding.note) {
    out.note(file, where, message);
  } else if (finding.warning) {
    out.warn(file, where, message);
  } else {
    out.report(file, where, message);
  }
}
