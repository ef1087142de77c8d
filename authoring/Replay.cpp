#include "authoring/Replay.h"

#include "game/Game.h"

ReplayOutcome playReplay(Game& game, const Replay& replay) {
  ReplayOutcome outcome;
  const int scoreBefore = game.player.score;
  const int livesBefore = game.player.lives;
  beginReplayLife(game, replay);
  ReplayFeed feed(replay);
  while (feed.next(game)) {
    ++outcome.ticks;
    if (game.tick()) break;
  }
  releaseAllKeys(game);
  outcome.cleared = game.levelDone;
  outcome.scoreGained = game.player.score - scoreBefore;
  outcome.livesLost = livesBefore - game.player.lives;
  return outcome;
}
