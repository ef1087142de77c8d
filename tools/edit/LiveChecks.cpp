#include "tools/edit/LiveChecks.h"

#include "game/Game.h"

// The forked runs are filled in once the checks' messages have one home.
LiveChecks::LiveChecks(int width, int height, int updatesPerSecond)
    : game_(std::make_unique<Game>(width, height, updatesPerSecond)) {}

LiveChecks::~LiveChecks() { stop(); }

void LiveChecks::start(const LevelData&, unsigned revision) { pending_ = revision; }

bool LiveChecks::poll() { return false; }

int LiveChecks::errorCount() const {
  int count = 0;
  for (const CheckFinding& finding : findings_) count += finding.warning ? 0 : 1;
  return count;
}

int LiveChecks::warningCount() const {
  return static_cast<int>(findings_.size()) - errorCount();
}

void LiveChecks::stop() {}

void LiveChecks::finish() {}
