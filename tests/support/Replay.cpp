#include "tests/support/Replay.h"

std::string staleReplayReason(const Replay& replay) {
  const std::string mismatch = replayMismatch(replay);
  if (mismatch.empty()) return "";
  return mismatch + "; record it again (see tests/replays/README.md).";
}
