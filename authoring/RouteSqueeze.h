#pragma once
// A route that clears a level, made shorter by cutting the waits it does
// not need. The proof's search waits where a way met an enemy, in lengths
// that grow by half (authoring/ClearingPlay.h, patrolWaits), and the tour
// (authoring/RouteTour.h) keeps its waits as they were while it moves the
// ways around them: so a route often stands still longer than the
// patrols ask, or where none is left to pass.
//
// An idle tick is one with no key held where the player, having the keys
// (canStandStill), stands after the tick where it stood before it; an idle
// stretch is a run of them. Each stretch is cut whole if the route still
// clears, else by the most a search over the cut's length finds (a patrol
// may need part of the wait): a cut is kept only when the route, played on
// the game's own tick with the enemies, still clears the level with no
// life lost and in fewer ticks. The squeezed route is then played once
// more from the life's start, for its hash trail and to hold the whole of
// it to that rule, and it is taken only when it asks no more frame-perfect
// presses (authoring/ClearingRoute.h, exactPresses) than the route given.
//
// Bounds. Plays: two to find the stretches and take a snapshot at each,
// at most 1 + ceil(log2 n) for a stretch of n ticks, and the last from
// the start; each plays at most the route's length (a trial begins at its
// stretch and stops at the first life lost). All but the last count
// against a budget of a fifth of the tour's work (ClearingLimits'
// tourTicks: 50 000 ticks, a few hundredths of a second) and the same
// share of the tour's seconds; a trial that could pass the budget is not
// begun, so a level made of thousands of stretches is squeezed only as
// far as the budget goes, its latest stretches first. The frame-perfect
// presses are counted within the proof's limits (exactPresses). Memory:
// 24 bytes and a snapshot (the enemies changed and the items) per
// stretch, at most one stretch every two ticks of the route, the
// snapshots within a quarter of the search's limit in bytes, past which a
// stretch plays from the latest snapshot before it; the route, the one
// tried and the hash trail (10 bytes a tick of the route). Measured in
// docs/performance.md.
#include "authoring/ClearingSearch.h"

class Game;
class Reachability;

// The ticks a squeeze may play before its last play: a fifth of the tour's.
std::size_t squeezeTicks(const ClearingLimits& limits);

// What a squeeze did, for its bound to be seen.
struct SqueezeWork {
  std::size_t stretches = 0;    // idle stretches found
  std::size_t ticksPlayed = 0;  // to find them and by the trials: the last play apart
};

// clear: a route that cleared; game: the one search ran on, at the life's
// start, and left there. The route, its hash trail and its edges (then
// none) change only when a shorter route is taken.
SqueezeWork squeezeWaits(Game& game, const Reachability& search, ClearingResult& clear,
                         const ClearingLimits& limits);
