#include "authoring/Replay.h"

#include <algorithm>
#include <memory>

#include "authoring/TickState.h"
#include "game/Game.h"

int firstDivergence(const HashTrail& expected, const HashTrail& played) {
  const auto parted = std::mismatch(expected.begin(), expected.end(), played.begin(), played.end());
  if (parted.first == expected.end() && parted.second == played.end()) return -1;
  return static_cast<int>(parted.first - expected.begin());
}

ReplayOutcome playReplay(Game& game, const Replay& replay, const ReplayTrace& trace) {
  ReplayOutcome outcome;
  const int scoreBefore = game.player.score;
  const int livesBefore = game.player.lives;
  beginReplayLife(game, replay);
  // Made once the life has begun: the ladder then held is the capture's own.
  std::unique_ptr<TickStates> states;
  if (trace.hashes) states = std::make_unique<TickStates>(game);
  ReplayFeed feed(replay);
  while (feed.next(game)) {
    const bool over = game.tick();
    if (trace.afterTick) trace.afterTick(game, outcome.ticks);
    if (states != nullptr) outcome.hashes.push_back(states->hash());
    ++outcome.ticks;
    if (over) break;
  }
  releaseAllKeys(game);
  outcome.cleared = game.levelDone;
  outcome.scoreGained = game.player.score - scoreBefore;
  outcome.livesLost = livesBefore - game.player.lives;
  return outcome;
}
