// How long pwe-check's whole report of a shipped level takes, the search
// without the enemies and the proof with them (route, par bounds,
// frame-perfect presses, press windows and enemy passes, near misses), and
// the parts of it. Budget: 5 s for each shipped level in a release build on
// a 2-core machine.
#include <benchmark/benchmark.h>

#include <chrono>
#include <iterator>
#include <string>

#include "authoring/ClearingRoute.h"
#include "authoring/ClearingSearch.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/RouteMoments.h"
#include "authoring/RunBound.h"
#include "bench/BenchSupport.h"
#include "game/Game.h"
#include "shell/LevelSequence.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point began) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

// One report per iteration, as pwe-check makes it; the counters split it
// into the search, the proof with the enemies and the rest of the verdict.
void BM_LevelReport(benchmark::State& state, const std::string& level) {
  Game& game = sharedGame();
  double searchSeconds = 0.0;
  double proofSeconds = 0.0;
  double routeSeconds = 0.0;
  double parSeconds = 0.0;
  double momentsSeconds = 0.0;
  double cleared = 0.0;
  double ticksPlayed = 0.0;
  for (auto _ : state) {
    beginAsARunDoes(state, game, level);
    auto began = std::chrono::steady_clock::now();
    Reachability search(game);
    search.run();
    searchSeconds = secondsSince(began);
    began = std::chrono::steady_clock::now();
    ReachabilityVerdict verdict = judgeLevel(game, search);
    proofSeconds = secondsSince(began);
    benchmark::DoNotOptimize(verdict);
    // The parts again, on their own, for the counters.
    state.PauseTiming();
    began = std::chrono::steady_clock::now();
    const ClearingResult clear = clearWithEnemies(game, search);
    routeSeconds = secondsSince(began);
    began = std::chrono::steady_clock::now();
    RouteLimits limits{ClearingLimits{}};
    const ParBound par = parLowerBound(search, ParLevel(game), limits);
    benchmark::DoNotOptimize(par);
    parSeconds = secondsSince(began);
    began = std::chrono::steady_clock::now();
    if (clear.end == ClearingResult::End::Cleared) {
      const RouteMoments moments = routeMoments(game, search, clear.route, limits);
      benchmark::DoNotOptimize(moments);
    }
    momentsSeconds = secondsSince(began);
    cleared = clear.end == ClearingResult::End::Cleared ? 1.0 : 0.0;
    ticksPlayed = static_cast<double>(clear.ticksPlayed);
    state.ResumeTiming();
  }
  state.counters["search_s"] = searchSeconds;
  state.counters["verdict_s"] = proofSeconds;
  state.counters["clearing_s"] = routeSeconds;
  state.counters["par_s"] = parSeconds;
  state.counters["moments_s"] = momentsSeconds;
  state.counters["cleared"] = cleared;
  state.counters["clearing_ticks"] = ticksPlayed;
}

void registerLevelReports() {
  registerPerLevel("LevelReport", {std::begin(levelFiles), std::end(levelFiles)},
                   BM_LevelReport);
}

const bool registered = (registerLevelReports(), true);

}  // namespace
