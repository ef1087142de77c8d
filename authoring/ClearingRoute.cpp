#include "authoring/ClearingRoute.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "authoring/ClaimWays.h"
#include "authoring/Reachability.h"
#include "authoring/ClearingPlay.h"
#include "authoring/Replay.h"
#include "authoring/RunBound.h"
#include "authoring/StateWays.h"
#include "game/Game.h"

using namespace stateways;
using namespace claimways;

RouteLimits::RouteLimits(const ClearingLimits& limits)
    : limits_(limits), startedAt_(searchClockSeconds()) {}

bool RouteLimits::over() const {
  return ticks_ >= limits_.maxTicks || searchClockSeconds() - startedAt_ > limits_.maxSeconds ||
         (unwanted_ != nullptr && unwanted_->load(std::memory_order_relaxed));
}

namespace {

// The bound over a few chosen tiles: the tiles taken far apart, the gaps
// between them, and the least time to claim them all in any order.
class OrderedBound {
 public:
  OrderedBound(const StateGraph& g, const std::vector<FloorTile>& tiles, const ClaimStart& start,
               const RouteLimits& limits)
      : g_(g), steps_(start.steps), limits_(limits), claims_(start.claims),
        earliest_(tiles.size(), unreachable), longest_(start.longest) {
    const Costs& fromStart = start.fromStart;
    found_ = !fromStart.empty();
    for (std::size_t t = 0; found_ && t < tiles.size(); ++t) {
      if (tiles[t].claimable == 0 || claims_[t].empty()) continue;
      for (const ClaimEdge& c : claims_[t]) earliest_[t] = std::min(earliest_[t], fromStart[c.from]);
      wanted_.push_back(static_cast<int>(t));
    }
  }

  bool found() const { return found_; }

  // The latest of the quickest ways alone when the limits pass while the
  // tiles are chosen.
  std::uint64_t ticks() {
    if (wanted_.empty()) return 0;
    std::uint64_t latest = 0;
    for (int t : wanted_) latest = std::max(latest, earliest_[t]);
    if (!choose()) return latest + 1;
    return std::max(latest, leastOverOrders()) + 1;  // the claim is a tick into its edge
  }

 private:
  // By tile: the least ticks from the start of an edge claiming `from` to
  // the start of one claiming it: the first edge is played to its end.
  std::vector<std::uint64_t> gapsFrom(int from) const {
    std::vector<Source> ends;
    for (const ClaimEdge& c : claims_[from]) {
      const StateEdge& edge = g_.edge(c.edge);
      ends.push_back({edge.to, edgeCost(edge)});
    }
    const Costs after = leastTicks(steps_, ends, longest_, limits_);
    if (after.empty()) return {};
    std::vector<std::uint64_t> gaps(claims_.size(), unreachable);
    std::vector<bool> claimsFrom(steps_.edges(), false);
    for (const ClaimEdge& c : claims_[from]) claimsFrom[c.edge] = true;
    for (int to : wanted_) {
      // A crowded level has thousands of edges claiming each tile.
      if (limits_.over()) return {};
      for (const ClaimEdge& c : claims_[to]) {
        gaps[to] = claimsFrom[c.edge] ? 0 : std::min(gaps[to], after[c.from]);
        if (gaps[to] == 0) break;
      }
    }
    return gaps;
  }

  // The latest to arrive first, then each time the one farthest from
  // every tile chosen so far. False when the limits passed.
  bool choose() {
    int next = *std::max_element(wanted_.begin(), wanted_.end(),
                                 [&](int a, int b) { return earliest_[a] < earliest_[b]; });
    while (next >= 0) {
      chosen_.push_back(next);
      gaps_.push_back(gapsFrom(next));
      if (gaps_.back().empty()) return false;
      next = -1;
      std::uint64_t farthest = 0;
      for (int t : wanted_) {
        std::uint64_t nearest = unreachable;
        for (const std::vector<std::uint64_t>& from : gaps_) nearest = std::min(nearest, from[t]);
        if (nearest > farthest && chosen_.size() < chosenTiles) {
          farthest = nearest;
          next = t;
        }
      }
    }
    return true;
  }

  // Over every order of the chosen tiles, each claimed no sooner than its
  // earliest arrival: the least time of the last claim (by subsets, since
  // claiming sooner never makes the rest later).
  std::uint64_t leastOverOrders() const {
    const std::size_t k = chosen_.size();
    std::vector<std::vector<std::uint64_t>> least(std::size_t{1} << k,
                                                  std::vector<std::uint64_t>(k, unreachable));
    for (std::size_t j = 0; j < k; ++j) least[std::size_t{1} << j][j] = earliest_[chosen_[j]];
    for (std::size_t set = 1; set < least.size(); ++set) {
      for (std::size_t j = 0; j < k; ++j) {
        if ((set >> j & 1) == 0 || least[set][j] >= unreachable) continue;
        for (std::size_t n = 0; n < k; ++n) {
          if ((set >> n & 1) != 0) continue;
          const std::uint64_t at = std::max(least[set][j] + gaps_[j][chosen_[n]],
                                            earliest_[chosen_[n]]);
          std::uint64_t& held = least[set | std::size_t{1} << n][n];
          held = std::min(held, at);
        }
      }
    }
    return *std::min_element(least.back().begin(), least.back().end());
  }

  static constexpr std::size_t chosenTiles = 12;  // 4096 subsets

  const StateGraph& g_;
  const Steps& steps_;
  const RouteLimits& limits_;
  bool found_ = false;
  const std::vector<std::vector<ClaimEdge>>& claims_;
  std::vector<std::uint64_t> earliest_;
  std::vector<int> wanted_;
  std::vector<int> chosen_;
  std::vector<std::vector<std::uint64_t>> gaps_;  // by chosen tile, to every tile
  std::uint32_t longest_;
};

}  // namespace

RestClaimable::RestClaimable(const Reachability& search)
    : graph_(*search.foundStates()), components_(search.components()), walk_(graph_),
      reach_(search.tileReach()), unreached_(search.unreachedTiles()) {}

bool RestClaimable::from(const Game& game, const TickState& now) {
  if (game.levelDone) return true;
  const std::uint32_t at = graph_.find(now);
  if (at == StateGraph::notFound) return false;
  std::vector<bool> wanted = tilesWanted(game, unreached_);
  if (reach_.known()) return reach_.holds(components_[at], wanted);
  return claimsAllFrom(graph_, walk_, at, std::move(wanted));
}

ParBound parLowerBound(const Reachability& search, const ParLevel& level, const RouteLimits& limits) {
  ParBound par;
  const StateGraph* graph = search.foundStates();
  if (graph == nullptr || graph->size() == 0) {
    par.found = true;
    return par;
  }
  const std::vector<FloorTile>& tiles = level.tiles;
  const ClaimStart start = claimStart(*graph, tiles.size(), limits);
  OrderedBound bound(*graph, tiles, start, limits);
  par.found = bound.found();
  if (!par.found) return par;
  std::uint64_t ticks = bound.ticks();
  const RunBound runs = claimRunsBound(*graph, level, start, limits);
  if (runs.found) ticks = std::max(ticks, runs.ticks);
  par.ticks = static_cast<int>(std::min<std::uint64_t>(ticks, INT_MAX));
  return par;
}

std::uint8_t pressedKeys(TickInput input) {
  return static_cast<std::uint8_t>(input.keys & (replayJump | replayUp | replayDown));
}

bool isPress(const std::vector<TickInput>& route, std::size_t t) {
  const TickInput now = route[t];
  const TickInput last = t > 0 ? route[t - 1] : TickInput{};
  return (pressedKeys(now) & ~pressedKeys(last)) != 0 ||
         (now.digit != 0 && now.digit != last.digit);
}

namespace {

// The route played without enemies: once to keep the state before every
// tick, then again trying each press a tick sooner and a tick later where
// the route stood.
class RouteTrial {
 public:
  RouteTrial(Game& game, const Reachability& search, const std::vector<TickInput>& route,
             RouteLimits& limits)
      : game_(game), search_(search), route_(route), limits_(limits),
        states_(search.tickStates()), rest_(search) {
    game_.beginLife();
    game_.enemyManager.clear();
    start_ = search.foundStates()->state(0);
    mark_ = game_.floorManager.claimCount();
    states_.restore(start_);
    for (TickInput input : route_) {
      before_.push_back(states_.capture());
      if (!tick(input)) break;
    }
    game_.floorManager.undoClaims(mark_);
    game_.levelDone = false;  // the route cleared it
  }
  ~RouteTrial() {
    game_.beginLife();
    states_.restore(start_);
  }

  // Each press is checked by the tick before it and its own, so the
  // presses before the tick the limits passed at are the ones checked.
  FramePerfect framePerfect() {
    std::vector<bool> sooner(route_.size() + 1, false);
    FramePerfect found;
    for (std::size_t t = 1; t < before_.size(); ++t) found.presses += isPress(t) ? 1 : 0;
    found.checked = found.presses;
    states_.restore(start_);
    for (std::size_t t = 0; t + 1 < before_.size(); ++t) {
      if (limits_.over()) {
        found.checked = pressesBefore(t);
        break;
      }
      // Before tick t: the press at t + 1 a tick sooner, the press at t a
      // tick later.
      if (isPress(t + 1)) sooner[t + 1] = tryFrom(t, t + 1, false);
      if (t > 0 && isPress(t) && !sooner[t] && !tryFrom(t, t, true)) {
        found.ticks.push_back(static_cast<int>(t));
      }
      states_.restore(before_[t]);
      if (!tick(route_[t])) break;
    }
    game_.floorManager.undoClaims(mark_);
    game_.levelDone = false;
    return found;
  }

 private:
  std::size_t pressesBefore(std::size_t end) const {
    std::size_t count = 0;
    for (std::size_t t = 1; t < end; ++t) count += isPress(t) ? 1 : 0;
    return count;
  }

  bool isPress(std::size_t t) const { return ::isPress(route_, t); }

  bool tick(TickInput input) {
    search_.holdKeys(input);
    search_.holdOffCountdown();
    limits_.played();
    game_.tick();
    return game_.player.alive;
  }

  // From the state before tick `at`, the route from its tick `next` on,
  // when late after the keys of the tick before held once more, up to the next place with the keys after
  // the press; the Game is left as it was found.
  bool tryFrom(std::size_t at, std::size_t next, bool late) {
    const std::size_t claims = game_.floorManager.claimCount();
    bool ok = playVariant(next, late) && (standsAsRoute(next) || canFinish());
    game_.floorManager.undoClaims(claims);
    states_.restore(before_[at]);
    game_.levelDone = false;
    return ok;
  }

  bool playVariant(std::size_t next, bool late) {
    if (late && !tick(route_[next - 1])) return false;
    for (int played = 0; played < variantTicks; ++played) {
      if (game_.levelDone) return true;
      if (played > 0 && canStandStill(states_.capture())) return true;
      const TickInput input = next < route_.size() ? route_[next++] : TickInput{};
      if (!tick(input)) return false;
    }
    return false;
  }

  // Where the route next has the keys after tick `next`: the same row,
  // within two walking steps.
  bool standsAsRoute(std::size_t next) const {
    const TickState now = states_.capture();
    for (std::size_t j = next + 1; j < before_.size(); ++j) {
      if (!canStandStill(before_[j])) continue;
      return now.y == before_[j].y &&
             std::fabs(now.x - before_[j].x) <= 2.0f * game_.player.walkSpeed + 0.001f;
    }
    return game_.levelDone;
  }

  bool canFinish() { return rest_.from(game_, states_.capture()); }

  static constexpr int variantTicks = 2000;

  Game& game_;
  const Reachability& search_;
  const std::vector<TickInput>& route_;
  RouteLimits& limits_;
  const TickStates& states_;
  RestClaimable rest_;
  TickState start_;
  std::size_t mark_ = 0;
  std::vector<TickState> before_;
};

}  // namespace

FramePerfect framePerfectTicks(Game& game, const Reachability& search,
                               const std::vector<TickInput>& route, RouteLimits& limits) {
  if (route.empty() || search.foundStates() == nullptr) return {};
  RouteTrial trial(game, search, route, limits);
  return trial.framePerfect();
}

// Its trials play lives: the score and lives are the caller's to find as
// they were.
std::size_t exactPresses(Game& game, const Reachability& search, const std::vector<TickInput>& route,
                         const ClearingLimits& limits) {
  const int score = game.player.score;
  const int lives = game.player.lives;
  RouteLimits left(limits);
  const FramePerfect exact = framePerfectTicks(game, search, route, left);
  game.player.score = score;
  game.player.setLives(lives);
  return exact.checked < exact.presses ? exact.presses : exact.ticks.size();
}
