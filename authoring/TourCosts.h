#pragma once
// What a tour over runs of claimable tiles (authoring/RouteTour.h) should
// cost with the enemies left out: the least ticks over the found states
// (authoring/ClaimWays.h) from the life's start to the first claim of a
// leg's entry tile, along each leg from its entry to its exit tile, and
// from each leg's exit to the next leg's entry. Enemies only ever add
// waits and detours, so the estimate ranks the tours worth playing: the
// tour plays only candidates, and keeps only what its play confirms.
//
// Also the cheapest order by that estimate of a given set of legs: the
// nearest leg next, then the same moves the tour plays (an end flipped, a
// segment moved, a segment reversed) while any lowers the estimate.
//
// Limits: one walk over every found state from the life's start and one
// for each tile a leg starts or ends at, each kept as one cost per tile:
// at most tiles + 1 of them, so memory is tiles squared in words at worst.
// The walks are counted as work (statesWalked) and stop at `maxWalked`
// states: past it a tile not walked from counts as out of reach, which
// leaves the order to the rest. The cheapest order takes at most its legs
// squared rounds of moves, each comparing sums only.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "authoring/ClaimWays.h"

// Tiles of one run, in column order, claimed from one end.
struct Leg {
  std::vector<int> tiles;
  bool fromLeft = true;
  int entry() const { return fromLeft ? tiles.front() : tiles.back(); }
  int exit() const { return fromLeft ? tiles.back() : tiles.front(); }
  bool operator==(const Leg& other) const {
    return fromLeft == other.fromLeft && tiles == other.tiles;
  }
};
using Tour = std::vector<Leg>;

// A change to a tour: leg i's end flipped; `length` legs from i moved to
// stand from j of the rest; legs i to j reversed, their ends flipped; leg
// i cut after its first `length` tiles from its entry, the rest a leg of
// its own entered from the same side and standing at j of the tour so
// made.
struct TourMove {
  enum Kind { Flip, Shift, Reverse, Split } kind;
  std::size_t i, j, length;
};

// Every move of a tour of `legs` legs, of one kind after another: an end
// flipped, a segment of one to three legs moved, a segment reversed with
// its ends flipped. Moves are kept as these few numbers, and a tour is
// made of one only when it is tried: the moves of n legs are about 4 n^2.
std::vector<TourMove> tourMoves(std::size_t legs);
// Every leg of two tiles or more cut at a quarter, a half and three
// quarters of its tiles, the rest moved to every other place: a run may be
// quicker claimed in two visits, where an enemy holds one part of it or a
// way elsewhere leaves from its middle. About 3 n^2 moves of n legs.
std::vector<TourMove> splitMoves(const Tour& tour);
Tour applied(const Tour& tour, const TourMove& move);

class RouteLimits;

class TourCosts {
 public:
  // start: the state the life begins at; limits: asked by the walks.
  TourCosts(const StateGraph& graph, std::size_t tileCount, std::uint32_t start,
            const RouteLimits& limits, std::size_t maxWalked);

  std::uint64_t estimate(const Tour& tour);
  // The same, walking from no tile it has not walked from before: the way
  // on from such a tile is taken as the least, over the tiles walked from,
  // of the way from one of them to it (as if as quick back) and on from
  // there. A leg cut anew has two such ends: ranking every cut by walks
  // from them took longer than the plays. Time: a look at each row kept
  // for each such end.
  std::uint64_t estimateKnown(const Tour& tour);
  Tour cheapestOrder(Tour legs);
  // States the walks took, over every walk so far, and as many as take
  // about the time of a tick played: the walks keep their open states in a
  // ring of buckets, not a heap.
  std::size_t statesWalked() const { return walked_; }
  // Estimates are of as many legs in all as mostLegSteps: past them a
  // tour of hundreds of legs, whose moves are many, is ranked no further.
  static constexpr std::size_t mostLegSteps = 8'000'000;
  bool canEstimate() const { return legSteps_ < mostLegSteps; }
  static constexpr std::size_t statesPerTick = 128;

 private:
  // Least ticks from the claims of `from` (-1: the life's start) to a claim of each tile.
  const std::vector<std::uint64_t>& row(int from);
  std::uint64_t between(int from, int to) { return row(from)[to]; }
  std::uint64_t byKnown(int from, int to);
  template <typename Between>
  std::uint64_t sum(const Tour& tour, Between between);
  Tour nearestFirst(Tour legs);

  const StateGraph& graph_;
  claimways::Steps steps_;  // for the walks
  const RouteLimits& limits_;
  std::vector<std::vector<claimways::ClaimEdge>> claims_;
  std::uint32_t longest_;
  std::uint32_t start_;
  std::size_t maxWalked_;
  std::map<int, std::vector<std::uint64_t>> rows_;
  std::size_t walked_ = 0;
  std::size_t legSteps_ = 0;
};
