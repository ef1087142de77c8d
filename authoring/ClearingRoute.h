#pragma once
// What a route that clears a level tells beside its length: a time no
// route can beat, and the inputs of it that must be pressed on one exact
// tick.
//
// The lower bound. Enemies only ever take a way away, so the ways without
// them bound every way with them; cooldown waits are counted as nothing (a
// state that stands for every count may have been found with a longer
// one). Times are taken at the start of the edge that claims a tile: no
// route starts one sooner than the quickest way to it allows, and between
// the edges claiming tile a and tile b the first is played to its end and
// then at least the quickest way to the second (nothing where one edge
// claims both). The bound is the least, over every order of twelve tiles
// taken far apart from one another, of those gaps chained, each no sooner
// than its quickest way allows, plus the tick that claims the last; and
// never less than the latest of the quickest ways to any tile.
//
// Frame-perfect inputs. A press is a tick where jump, up, down or a
// teleport digit is held and was not held the tick before. It is
// frame-perfect when playing the rest of the route one tick sooner (the
// tick before dropped) and one tick later (the tick before held again) both go
// wrong: at the next place the player has the keys again it stands
// neither on the route's row within two walking steps of the route, nor
// in a found state from which every tile still unclaimed can be claimed.
// Played without the enemies: an enemy's timing is the route's to meet,
// the press's exactness is the level's.
//
// Limits. Both keep together to the proof's limits (ClearingLimits: 60 s
// and 2 million ticks played, or PWE_SEARCH_SECONDS), counted again from
// the route found: a huge level holds its author up no more than as long
// again as the proof may. The bound's walks over the found states ask the
// clock as they go; past it the bound falls back to the latest of the
// quickest ways, or to none. The route is played once to keep its states
// (its length, which the proof's ticks bound, bounds that), then its
// presses are tried in its order, the limits asked before each of its
// ticks and each trial at most 2000 ticks: past them the presses after
// are left unchecked. Memory: the bound holds a few numbers per found
// state (the search bounds those), the presses one TickState per tick of
// the route (which the proof's ticks bound). Measured in
// docs/performance.md.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "authoring/ClearingSearch.h"
#include "authoring/StateWays.h"
#include "authoring/TickState.h"

class Game;
class Reachability;
struct ParLevel;

// The proof's limits, counted from the moment it is made.
class RouteLimits {
 public:
  explicit RouteLimits(const ClearingLimits& limits);
  // A tick was played.
  void played() { ++ticks_; }
  // Over at once, too, when `unwanted` is set (by another thread: the
  // work's result is no longer asked for).
  void stopWhen(const std::atomic<bool>* unwanted) { unwanted_ = unwanted; }
  bool over() const;

 private:
  ClearingLimits limits_;
  double startedAt_;
  std::size_t ticks_ = 0;
  const std::atomic<bool>* unwanted_ = nullptr;
};

struct ParBound {
  int ticks = 0;       // in ticks from the life's first
  bool found = false;  // false: the limits passed before any bound was found
};

// Reads the search's found states and `level` alone, so another thread may
// play the Game meanwhile.
ParBound parLowerBound(const Reachability& search, const ParLevel& level, const RouteLimits& limits);

// The keys a press is made of, of one tick's: jump, up and down.
std::uint8_t pressedKeys(TickInput input);
// Whether tick t of the route is a press, as above: the first tick's keys
// are held after none.
bool isPress(const std::vector<TickInput>& route, std::size_t t);

// Whether every tile still unclaimed that the search can reach can be
// claimed from where the player stands: a press played off its tick still
// works when it leaves the player there (or the level cleared). The place
// must be a found state (authoring/StateGraph.h). The tiles each strongly
// connected part of the found states can claim are gathered once for the
// search (Reachability::tileReach); past that table's bound, one walk over
// them a question.
class RestClaimable {
 public:
  explicit RestClaimable(const Reachability& search);
  bool from(const Game& game, const TickState& now);

 private:
  const StateGraph& graph_;
  const std::vector<std::uint32_t>& components_;
  stateways::BreadthFirstWalk walk_;
  const stateways::TileReach& reach_;
  std::vector<int> unreached_;
};

struct FramePerfect {
  std::vector<int> ticks;   // from 0, of the presses found frame-perfect
  std::size_t presses = 0;  // in the route
  std::size_t checked = 0;  // the first this many; fewer when the limits passed
};

// game: the one search ran on; left at the life's start, enemies and all.
FramePerfect framePerfectTicks(Game& game, const Reachability& search,
                               const std::vector<TickInput>& route, RouteLimits& limits);

// How many presses of the route must be frame-perfect, all of them when
// the limits (counted afresh) pass before every press is tried: what a
// route made shorter may ask no more of than the route it replaces
// (authoring/RouteTour.h, authoring/RouteSqueeze.h). game: as above.
std::size_t exactPresses(Game& game, const Reachability& search, const std::vector<TickInput>& route,
                         const ClearingLimits& limits);
