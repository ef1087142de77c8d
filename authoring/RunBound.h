#pragma once
// A lower bound on the time to clear a level from its runs of claimable
// tiles: a tile is claimed only by a player standing on its row (or landing
// there), so a run of them cannot be claimed faster than walking it.
//
// Cover. A claim point p claims the tiles whose columns x to x + width hold
// trunc(p), and the player claims from x - r, x and x + r (r: half its
// widest frame). So one standing place claims tiles whose left edges lie in
// an interval c = 2r + w + 1 long (w: the run's widest tile).
//
// Runs. The wanted tiles of one row, in column order, where each lies at
// most 2r + 2 past the one before: tiles further apart are never claimed
// in one tick. A run's left edges span M; one step between neighbouring
// left edges is at most s.
//
// Stays. A stay on a run is its claims from one entry to the next, each
// a step of at most the walking speed v from the one before (entries:
// authoring/RunTransitions.h). Stays on two runs never share a tick. K
// stays over a run cover its left edges only if their walks add up to
// M - c - (K - 1)(c + s): the covers of K stays leave at most K - 1 holes,
// each between two neighbouring left edges. So a run's one stay takes at
// least W = (M - c) / v ticks, and each stay more saves at most
// g = (c + s) / v of them.
//
// Transitions. Between the last claim of a stay and the first of the next
// lie at least the least ticks over the found states (enemies ignored,
// cooldown waits free) between the two claims (authoring/RunTransitions.h).
// Each run's first stay is entered from the life's start or from a run
// visited before, so those entries form a tree rooted at the start:
// together at least the least such tree (an arborescence).
//
// Shares. Every other stay on a run is entered by a way that costs at least
// its entry's price, and saves at most a gap g; a way back from the run
// itself saves no more than it carries the player sideways, so one that is
// never faster than walking (falls, climbs, ladders) saves nothing, and
// one by no teleport no more than the fastest edge found carries the
// player in its ticks. A teleport carries the player anywhere: a way back
// by one may save a whole gap. A run counts the larger of two: W less the
// best its entries may spare, chained along the run
// (authoring/RunEntries.h), and W times the least rate of an entry's cost
// to what it may save, or all of W. Teleports are entries like any other
// way in, at the places they arrive.
//
// The bound: the tree and each run's share. Limits: at most 200 runs; two
// walks over the found states for each run, asking the route's limits
// (authoring/ClearingRoute.h) as they go; past them no bound. Memory: the
// found edges as the walks read them (8 bytes an edge), a
// cost per found state for two walks at a time, the claiming edges by
// tile, an entry per claiming edge that enters, and a matrix of runs
// squared.
#include <cstdint>
#include <vector>

#include "authoring/ClaimWays.h"
#include "structures/FloorTile.h"

class Game;
class RouteLimits;

struct ClaimRun {
  int row = 0;
  int firstLeft = 0;  // the least left edge
  int lastLeft = 0;   // the greatest
  int widest = 0;     // tile width
  int widestStep = 0; // between neighbouring left edges
  std::vector<int> tiles;
};

// One standing place's cover on the run, c above, and the widest gap a
// stay more may leave, c + s, in pixels; reach: half the widest frame.
int claimCover(const ClaimRun& run, float reach);
int claimGap(const ClaimRun& run, float reach);

// wanted: by tile, whether it must be claimed (and can be).
std::vector<ClaimRun> claimRuns(const std::vector<FloorTile>& tiles,
                                const std::vector<bool>& wanted, float reach);

struct RunBound {
  std::uint64_t ticks = 0;  // to the last claim, counted from the life's first tick
  bool found = false;       // false: the limits passed first, or teleports know no cooldown
};

// What the par reads of a level besides its found states, taken from the
// Game once: the proof may then play the Game while the par is worked out
// on another thread.
struct ParLevel {
  explicit ParLevel(const Game& game);
  std::vector<FloorTile> tiles;
  float walk = 0.0f;          // the player's, pixels a tick
  int width = 0;              // of the player's frame
  float jumpSideways = 0.0f;  // a jump's sideways step
  float slideFactor = 0.0f;
  int chuteSlide = 0;         // the widest sideways step of any chute
};

// start: the claiming edges and the ways from the life's start, as the
// ordered bound found them.
RunBound claimRunsBound(const StateGraph& g, const ParLevel& level, const claimways::ClaimStart& start,
                        const RouteLimits& limits);
