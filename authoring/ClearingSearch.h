#pragma once
// Whether a level can be cleared with its enemies: a search that plays the
// game's own tick, enemies, items and countdown included, along the moves
// a reachability search found without them (authoring/Reachability.h).
//
// It goes from tile to tile, nearest first, as the route without enemies
// does. A way that ends in a catch is tried again in other ways, in this
// order: standing still first for a while (the patrols are periodic, so a
// wait of up to one period finds every meeting), going for another of the
// nearest tiles, and fetching an item first (it may make the enemy in the
// way harmless). When a place offers nothing more, the search goes back to
// the place before and tries its next way, depth first. Places are told
// apart by everything a tick reads but the countdown, so a place met again
// later is not searched again: arriving later never helps.
//
// Its shape: a depth-first search over places, kept on a stack. Each place
// (a Choice) holds the snapshot of the life there and the ways (Plans: a
// wait, then edges) made from it a stage at a time, Nearest, Waits,
// Others and Items, as the ones before fail; the ways are walked out over
// the found states by authoring/StateWays.h (NearestWay, ShortestWays).
//
// No greedy order is best on every level: a level cleared nearest first is
// cleared again in orders that weigh a few of the nearest tiles by the way
// on from each, and the quickest route is kept. Nor is one order of the
// stages: waiting behind a patrol may cost more than going elsewhere first,
// or less. So the whole is done twice, the second time trying the other
// ways before the waits, each route shortened by its own tour (the
// second's may also cut a run's leg in two), and the quicker kept.
//
// Limits count ticks played, so a busy machine finds what an idle one does;
// a limit in seconds keeps a huge level from holding up its author, and a
// limit in bytes bounds what the places on the way back hold (each holds
// the enemies that changed since the life began, the tiles still wanted
// and its ways), whatever the level. Beyond them the proof reads the
// reachability search's states (within that search's own limit in bytes)
// and plays one copy of the level. Reaching a limit ends the search with
// End::Limit. A route found is played once more, from the places on the
// stack, for its hash trail: its length, which the ticks bound, bounds
// that and the trail's 8 bytes a tick. Measured figures are in
// docs/performance.md.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "authoring/ClearingPlay.h"

#include "authoring/Replay.h"
#include "authoring/TickState.h"

class Game;
class ItemWays;
class Reachability;

struct ClearingLimits {
  std::size_t maxTicks = 2000000;
  double maxSeconds = 60.0;
  std::size_t maxBytes = std::size_t{256} << 20;
  // The route's tour (authoring/RouteTour.h; a fifth of it for the
  // squeeze after it, authoring/RouteSqueeze.h), counted apart from the
  // above: ticks played and states walked (ClearingAim), and a share of
  // maxSeconds (10 s of the 60, which PWE_SEARCH_SECONDS scales with the
  // proof's) should a slow machine reach it first. 0 ticks: no tour.
  std::size_t tourTicks = 250000;
  double tourShare = 1.0 / 6.0;
  // More work for the tour where the level's search found few states, for
  // the proof's other steps take time in proportion to them: tourMore less
  // tourMorePerState a found state, or none; past tourMoreEnemies enemies,
  // each of which makes every tick played dearer, a share of it as many
  // times smaller. The tour goes on with it from where tourTicks left it,
  // so the route of tourTicks alone stays a candidate
  // (authoring/RouteTour.h).
  std::size_t tourMore = 1000000;
  std::size_t tourMorePerState = 8;
  std::size_t tourMoreEnemies = 6;
};

struct ClearingResult {
  enum class End { Cleared, Caught, Fell, Countdown, NoWay, Limit };
  End end = End::NoWay;
  std::vector<TickInput> route;  // when Cleared: every tick's keys from the life's start
  HashTrail hashes;  // when Cleared: the route as the search played it (authoring/Replay.h)
  std::vector<std::uint32_t> edges;  // when Cleared by clearWithEnemies' search: its edges, in order
  bool exhausted = false;        // not cleared, and every way within reach was tried
  // The attempt that claimed the most tiles, when none cleared the level:
  // how it ended (Caught, Fell or Countdown), by which enemy (index in the
  // level's list) and where the player was.
  End blockedBy = End::NoWay;
  int tilesClaimed = 0;
  int tilesTotal = 0;
  int enemy = -1;
  float x = 0.0f;
  float y = 0.0f;
  std::size_t ticksPlayed = 0;
  std::size_t statesWalked = 0;  // taken from the queue by its walks over the found states
};

// game: the one search ran on, as it left it; left at the life's start.
// The route found is shortened by a tour (authoring/RouteTour.h) and its
// needless waits cut (authoring/RouteSqueeze.h) unless limits.tourTicks is 0;
// with a tour, the route found trying the other ways first too.
ClearingResult clearWithEnemies(Game& game, const Reachability& search,
                                ClearingLimits limits = {});

// The same search aimed by a tour: the nearest way goes for the tiles
// `focus` picks of those still wanted, it begins at `from` (null: the
// life's start), a way that makes the route `longest` ticks long fails,
// and a route found leaves its hash trail to the caller (live.keepHashes)
// and its places, each with the tiles wanted there, in `places`.
struct ClearingAim {
  std::function<std::vector<bool>(const std::vector<bool>&)> focus;
  const PlaySnapshot* from = nullptr;
  std::size_t longest = SIZE_MAX;
  std::vector<std::pair<PlaySnapshot, std::vector<bool>>>* places = nullptr;
  std::size_t walked = 0;
  bool othersFirst = false;  // the other ways before the waits
  static constexpr std::size_t statesPerTick = 16;
};
// items: the ways to the items walked so far, kept from one play to the next;
// lookedAt: how many of the nearest tiles are weighed by the way on from
// each (1: the nearest simply).
ClearingResult clearAiming(LivePlay& live, Game& game, const Reachability& search,
                           const ClearingLimits& limits, const ClearingAim& aim, ItemWays& items,
                           std::size_t lookedAt = 1);
