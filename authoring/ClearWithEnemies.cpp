// The proof's route with the enemies, from its greedy orders and their
// tours (authoring/ClearingSearch.h).
#include <algorithm>

#include "authoring/ClearingPlay.h"
#include "authoring/ClearingRoute.h"
#include "authoring/ClearingSearch.h"
#include "authoring/ItemWays.h"
#include "authoring/Reachability.h"
#include "authoring/RouteMoments.h"
#include "authoring/RouteSqueeze.h"
#include "authoring/RouteTour.h"

namespace {

// Nearest first, then orders that weigh a few of the nearest tiles by the
// way on from each: a route found is tightened by the quickest of them. A
// level the first cannot clear is reported as it found it. The orders share
// the limits: each has what those before it left.
ClearingResult greedyRoute(Game& game, const Reachability& search, const ClearingLimits& limits,
                           ItemWays& items, const ClearingAim& stages, double startedAt) {
  ClearingResult best;
  for (std::size_t lookedAt : {1, 2}) {
    ClearingLimits left = limits;
    left.maxSeconds = limits.maxSeconds - (searchClockSeconds() - startedAt);
    left.maxTicks = limits.maxTicks - std::min(limits.maxTicks, best.ticksPlayed);
    LivePlay live(game, search);
    ClearingResult result = clearAiming(live, game, search, left, stages, items, lookedAt);
    if (lookedAt == 1 && result.end != ClearingResult::End::Cleared) return result;
    if (result.end != ClearingResult::End::Cleared) continue;
    if (best.end != ClearingResult::End::Cleared || result.route.size() < best.route.size()) {
      best = std::move(result);
    }
  }
  return best;
}

// A quicker route is no gain to a player who cannot play it: `route` asks
// no more presses on one tick, nor presses in windows under tightWindow,
// than `than` does.
bool noHarder(Game& game, const Reachability& search, const ClearingResult& route,
              const ClearingResult& than, const ClearingLimits& limits) {
  if (exactPresses(game, search, route.route, limits) > exactPresses(game, search, than.route, limits)) {
    return false;
  }
  const auto tight = [&](const ClearingResult& r) {
    RouteLimits within(limits);
    const RouteMoments moments = routeMoments(game, search, r.route, within);
    return std::count_if(moments.windows.begin(), moments.windows.end(),
                         [](const PressWindow& w) { return isTight(w); });
  };
  return tight(route) <= tight(than);
}

// `other` in place of `best` when it clears sooner and is no harder.
void keepQuicker(Game& game, const Reachability& search, ClearingResult& best, ClearingResult other,
                 const ClearingLimits& limits) {
  if (other.route.size() < best.route.size() && noHarder(game, search, other, best, limits)) {
    best = std::move(other);
  }
}

}  // namespace

ClearingResult clearWithEnemies(Game& game, const Reachability& search, ClearingLimits limits) {
  if (search.foundStates() == nullptr || search.foundStates()->size() == 0) return {};
  const double startedAt = searchClockSeconds();
  ItemWays items;
  ClearingResult best = greedyRoute(game, search, limits, items, {}, startedAt);
  if (best.end != ClearingResult::End::Cleared || limits.tourTicks == 0) return best;
  // The second greedy pass has the ticks the first left.
  ClearingLimits rest = limits;
  rest.maxTicks -= std::min(limits.maxTicks, best.ticksPlayed);
  ClearingResult bestBase;
  shortenByTour(game, search, best, limits, items, TourStyle{}, &bestBase);
  ClearingAim othersFirst;
  othersFirst.othersFirst = true;
  ClearingResult other = greedyRoute(game, search, rest, items, othersFirst, startedAt);
  if (other.end == ClearingResult::End::Cleared) {
    // The second pass is there to find what the first cannot: its tour
    // may cut legs too. Cutting them in the first pass as well left level 4
    // in a slower local optimum (25.1 s against 22.3 s).
    ClearingResult otherBase;
    shortenByTour(game, search, other, limits, items, TourStyle{true, true}, &otherBase);
    keepQuicker(game, search, best, std::move(other), limits);
    keepQuicker(game, search, bestBase, std::move(otherBase), limits);
  }
  // The waits cut from a route are not cut from the longer one the tour's
  // own work gave: that one, squeezed, may still come out quicker (moss1).
  const bool apart = bestBase.route.size() != best.route.size();
  squeezeWaits(game, search, best, limits);
  if (apart) {
    squeezeWaits(game, search, bestBase, limits);
    keepQuicker(game, search, bestBase, std::move(best), limits);
    best = std::move(bestBase);
  }
  return best;
}

