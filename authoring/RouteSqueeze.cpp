#include "authoring/RouteSqueeze.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "authoring/ClearingPlay.h"
#include "authoring/ClearingRoute.h"
#include "authoring/Reachability.h"
#include "game/Game.h"

namespace {

struct IdleStretch {
  std::size_t first = 0;     // tick of the route
  std::size_t ticks = 0;
  std::size_t snapshot = 0;  // the latest snapshot at or before first
};

// What the squeeze may play and hold, in shares of the tour's and the
// search's.
const std::size_t workShare = 5;
const std::size_t bytesShare = 4;

bool noKeys(TickInput input) { return input.keys == 0 && input.digit == 0; }

class Squeeze {
 public:
  Squeeze(Game& game, const Reachability& search, const ClearingLimits& limits)
      : states_(search.tickStates()), live_(game, search),
        budget_(squeezeTicks(limits)), maxBytes_(limits.maxBytes / bytesShare),
        seconds_(limits.maxSeconds * limits.tourShare / workShare) {
    snapshots_.push_back(live_.snapshot());
  }

  // The route with every cut kept; the route given when none was.
  std::vector<TickInput> run(std::vector<TickInput> route);
  SqueezeWork work() const { return {stretches_, live_.ticksPlayed()}; }

 private:
  std::vector<IdleStretch> findStretches(const std::vector<TickInput>& route);
  void takeSnapshots(const std::vector<TickInput>& route, std::vector<IdleStretch>& stretches);
  bool squeezeStretch(std::vector<TickInput>& route, const IdleStretch& stretch);
  bool clears(const std::vector<TickInput>& route, const IdleStretch& stretch, std::size_t cut,
              std::vector<TickInput>& cleared);
  bool affords(std::size_t ticks) const {
    return live_.ticksPlayed() + ticks <= budget_ && searchClockSeconds() - startedAt_ <= seconds_;
  }

  const TickStates& states_;
  LivePlay live_;
  std::size_t budget_;
  std::size_t maxBytes_;
  double seconds_;
  double startedAt_ = searchClockSeconds();
  std::vector<PlaySnapshot> snapshots_;  // the life's start first
  std::size_t stretches_ = 0;
};

// The latest stretch first: a cut moves only the ticks after it, so every
// stretch before it, and its snapshot, stands where it was found, and a
// trial plays only from its stretch on, where the ticks left are fewest.
std::vector<TickInput> Squeeze::run(std::vector<TickInput> route) {
  if (!affords(2 * route.size())) return route;
  std::vector<IdleStretch> stretches = findStretches(route);
  stretches_ = stretches.size();
  takeSnapshots(route, stretches);
  for (auto stretch = stretches.rbegin(); stretch != stretches.rend(); ++stretch) {
    if (!squeezeStretch(route, *stretch)) break;
  }
  return route;
}

// Played tick by tick from the life's start.
std::vector<IdleStretch> Squeeze::findStretches(const std::vector<TickInput>& route) {
  std::vector<IdleStretch> stretches;
  live_.restore(snapshots_.front());
  bool inStretch = false;
  for (std::size_t t = 0; t < route.size(); ++t) {
    const TickState before = states_.capture();
    if (!live_.replayTo(route, t + 1)) break;
    const TickState after = states_.capture();
    const bool idle = noKeys(route[t]) && canStandStill(before) && after.x == before.x &&
                      after.y == before.y;
    if (idle && !inStretch) stretches.push_back({t, 0, 0});
    if (idle) ++stretches.back().ticks;
    inStretch = idle;
  }
  return stretches;
}

// A snapshot before each stretch's first tick, while they fit in their
// share of the bytes.
void Squeeze::takeSnapshots(const std::vector<TickInput>& route, std::vector<IdleStretch>& stretches) {
  live_.restore(snapshots_.front());
  std::size_t held = 0;
  for (IdleStretch& stretch : stretches) {
    if (held <= maxBytes_) {
      if (!live_.replayTo(route, stretch.first)) break;
      snapshots_.push_back(live_.snapshot());
      held += snapshots_.back().bytes();
    }
    stretch.snapshot = snapshots_.size() - 1;
  }
}

// The whole stretch cut, else the longest cut that clears by halving
// between the longest known to clear (none) and the shortest known not
// to: a patrol may need part of the wait. False when the budget is spent.
bool Squeeze::squeezeStretch(std::vector<TickInput>& route, const IdleStretch& stretch) {
  std::vector<TickInput> best;
  std::size_t clearing = 0;
  std::size_t failing = stretch.ticks;
  if (!affords(route.size() - snapshots_[stretch.snapshot].inputs)) return false;
  if (!clears(route, stretch, stretch.ticks, best)) {
    while (failing - clearing > 1) {
      if (!affords(route.size() - snapshots_[stretch.snapshot].inputs)) return false;
      const std::size_t cut = clearing + (failing - clearing) / 2;
      std::vector<TickInput> cleared;
      if (clears(route, stretch, cut, cleared)) {
        clearing = cut;
        best = std::move(cleared);
      } else {
        failing = cut;
      }
    }
  }
  if (!best.empty()) route = std::move(best);
  return true;
}

// Whether the route with `cut` ticks of the stretch taken out clears the
// level, no life lost, in fewer ticks than the route; `cleared` is then
// the keys played up to the clearing tick.
bool Squeeze::clears(const std::vector<TickInput>& route, const IdleStretch& stretch,
                     std::size_t cut, std::vector<TickInput>& cleared) {
  std::vector<TickInput> tried = route;
  const auto from = tried.begin() + static_cast<std::ptrdiff_t>(stretch.first);
  tried.erase(from, from + static_cast<std::ptrdiff_t>(cut));
  live_.restore(snapshots_[stretch.snapshot]);
  live_.replayTo(tried, tried.size());
  if (live_.end() != PlayEnd::Cleared || live_.inputs().size() >= route.size()) return false;
  cleared = live_.inputs();
  return true;
}

// The route played whole from a life begun afresh, with its hash trail:
// false unless it clears the level in its last tick with no life lost.
bool playedWhole(Game& game, const Reachability& search, const std::vector<TickInput>& route,
                 HashTrail& trail) {
  LivePlay live(game, search);
  live.keepHashes(&trail);
  live.replayTo(route, route.size());
  live.keepHashes(nullptr);
  return live.end() == PlayEnd::Cleared && live.inputs().size() == route.size();
}

}  // namespace

std::size_t squeezeTicks(const ClearingLimits& limits) { return limits.tourTicks / workShare; }

SqueezeWork squeezeWaits(Game& game, const Reachability& search, ClearingResult& clear,
                         const ClearingLimits& limits) {
  if (clear.end != ClearingResult::End::Cleared || clear.route.empty()) return {};
  SqueezeWork work;
  std::vector<TickInput> route;
  {
    // Its play gives the Game back at the life's start before the next begins.
    Squeeze squeeze(game, search, limits);
    route = squeeze.run(clear.route);
    work = squeeze.work();
  }
  if (route.size() >= clear.route.size()) return work;
  HashTrail trail;
  if (!playedWhole(game, search, route, trail)) return work;
  // A quicker route is no gain to a player who cannot play it.
  const std::size_t exact = exactPresses(game, search, route, limits);
  if (exact > 0 && exact > exactPresses(game, search, clear.route, limits)) return work;
  clear.route = std::move(route);
  clear.hashes = std::move(trail);
  clear.edges.clear();
  return work;
}
