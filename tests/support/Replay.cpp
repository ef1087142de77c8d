#include "tests/support/Replay.h"

std::string staleReplayReason(const Replay& replay) {
  const std::string hint = " changed since this recording was made; record it again (see tests/replays/README.md).";
  if (fileHash("media/" + replay.level) != replay.levelHash) return "media/" + replay.level + hint;
  if (fileHash("media/player.inf") != replay.playerHash) return std::string("media/player.inf") + hint;
  return "";
}
