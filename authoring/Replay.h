#pragma once
// Playing a recording headless, as fast as the engine goes: the recorder,
// the tests and the reachability verdict check a route this way. The
// format itself, and the feeding of its keys, is the engine's
// (game/ReplayFile.h), since the game plays recordings too.
//
// A play can keep its hash trail: TickStates::hash (authoring/TickState.h)
// after every tick. Two plays of one level stand alike at a tick when they
// hash alike there, so the first tick at which two trails differ is where
// the plays part: the replay tests hold each recording to the trail kept
// beside it, and the proof holds the game's play of its route to its own.
#include <cstdint>
#include <functional>
#include <vector>

#include "game/ReplayFile.h"

// By tick from 0: the hash of the Game's state after that tick.
using HashTrail = std::vector<std::uint64_t>;

// The first tick at which the trails differ, a tick only one of them has
// included; -1 when they agree.
int firstDivergence(const HashTrail& expected, const HashTrail& played);

struct ReplayOutcome {
  bool cleared = false;   // the level was cleared
  int ticks = 0;          // ticks played
  int scoreGained = 0;
  int livesLost = 0;
  HashTrail hashes;       // when asked for
};

// What a play keeps beside its outcome, when asked.
struct ReplayTrace {
  bool hashes = false;  // the hash trail
  // Tests change the Game here, after a tick and before its hash, to show
  // that a play which parts is caught at the tick it parts.
  std::function<void(Game&, int tick)> afterTick;
};

// Plays one life of the level the Game has loaded from its start, feeding
// the recorded keys tick by tick through the real game tick; without the
// enemies when the recording was made without them.
ReplayOutcome playReplay(Game& game, const Replay& replay, const ReplayTrace& trace = {});
