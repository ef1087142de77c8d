#pragma once
// What the reachability search (authoring/Reachability.h) tells an author about
// a level, worded once for pwe-check and the editor: the claimable tiles
// and items no key sequence reaches, whether the level can be cleared, and
// how long the route found takes against the countdown. Also the wording of
// a level the engine stops on while placing it.
#include <string>
#include <vector>

#include "authoring/ClearingSearch.h"
#include "authoring/LayoutRules.h"
#include "authoring/Replay.h"
#include "authoring/RouteMoments.h"

class Game;
class Reachability;

struct ReachabilityVerdict {
  // In the order pwe-check lists them; element Level for the level as a whole.
  std::vector<LayoutFinding> findings;
  // The route found, as a replay's keys (enemies absent, score expected),
  // when it clears the level before the countdown ends; the level name and
  // the hashes are the caller's to fill.
  Replay route;
  bool routeWritable = false;  // route clears the level, played as the game plays it
  std::string noRoute;  // otherwise why not (may be empty); each tool words its refusal
  bool routeInTime = false;  // the route found clears the level before the countdown ends
  // When the proof cleared the level with its enemies: its route's ticks,
  // and the par bound's lowest (-1 when none was found within the limits).
  int clearedTicks = 0;
  int parTicks = -1;
  // And how hard its moments are, as much as a report carries (hardMoments).
  RouteMoments moments;
};

// game: the one the search ran on, as the search left it. Replays the route
// on it, as the game plays it, countdown and all. Quick: what the search
// found without the enemies.
ReachabilityVerdict judgeReachability(Game& game, const Reachability& search);

// Slow: whether a route clears the level with its enemies
// (authoring/ClearingSearch.h), its par bounds and frame-perfect inputs
// (authoring/ClearingRoute.h), added to what judgeReachability said. The
// route found takes the place of the one without enemies; when none is
// found the verdict keeps that one, marked as played without them. The
// proof keeps to limits; the par bound and the presses to the same limits
// again, from the route found, and the note says what they left unchecked;
// the replay that confirms the route plays it once, and holds it tick by
// tick to the search's own play of it (authoring/Replay.h's hash trail):
// where they part, the verdict names the tick as the search and the game
// disagreeing.
void judgeClearing(Game& game, const Reachability& search, ReachabilityVerdict& verdict,
                   ClearingLimits limits = {});

// Both, as pwe-check reports a level.
ReachabilityVerdict judgeLevel(Game& game, const Reachability& search,
                               ClearingLimits limits = {});

// What the par bound says of a route of routeTicks: "par between 13.2 and
// 20.7 s", or "par at most 20.7 s (...)" when parTicks is -1 (none found).
std::string parText(int parTicks, int routeTicks, int updatesPerSecond);

// "the engine stops when it places this level: " and the engine's own text.
std::string placementStopMessage(const std::string& stopText);
