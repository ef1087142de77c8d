#pragma once
// Playing a recording headless, as fast as the engine goes: the recorder,
// the tests and the reachability verdict check a route this way. The
// format itself, and the feeding of its keys, is the engine's
// (game/ReplayFile.h), since the game plays recordings too.
#include "game/ReplayFile.h"

struct ReplayOutcome {
  bool cleared = false;   // the level was cleared
  int ticks = 0;          // ticks played
  int scoreGained = 0;
  int livesLost = 0;
};

// Plays one life of the level the Game has loaded from its start, feeding
// the recorded keys tick by tick through the real game tick; without the
// enemies when the recording was made without them.
ReplayOutcome playReplay(Game& game, const Replay& replay);
