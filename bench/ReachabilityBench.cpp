// How long pwe-check's reachability search takes: on each shipped level,
// whose budget is 2 s, and on levels made to be hard for it (wide open
// floors, 50 teleporters, long ladders), whose budget is 30 s or a stop at
// the search's limits. The counters say how far each search went.
#include <benchmark/benchmark.h>

#include <iterator>
#include <string>

#include "authoring/Reachability.h"
#include "bench/BenchSupport.h"
#include "game/Game.h"
#include "game/LevelData.h"
#include "game/LevelFields.h"
#include "shell/LevelSequence.h"

namespace {

// One search per iteration, from a life begun as a run begins it.
void BM_Reachability(benchmark::State& state, const std::string& level) {
  Game& game = sharedGame();
  std::size_t states = 0;
  std::size_t ticks = 0;
  bool complete = true;
  std::size_t unreached = 0;
  for (auto _ : state) {
    beginAsARunDoes(state, game, level);
    Reachability search(game);
    search.run();
    states = search.stateCount();
    ticks = search.tickCount();
    complete = search.complete();
    unreached = search.unreachedTiles().size() + search.unreachedItems().size();
  }
  state.counters["states"] = static_cast<double>(states);
  state.counters["ticks"] = static_cast<double>(ticks);
  state.counters["complete"] = complete ? 1 : 0;
  state.counters["unreached"] = static_cast<double>(unreached);
}

// Floors the whole width of the screen, one above the other within a
// jump's reach, built from the first level's tiles and placed beside it.
LevelData openFloors(const LevelData& base) {
  LevelData level = base;
  clearRecords(level);
  TileSpec tile = base.tiles.front();
  tile.claimable = 1;
  for (int row = 0; row < 11; ++row) {
    for (int x = 0; x < 640; x += 32) {
      tile.x = x;
      tile.y = 464 - 40 * row;
      addRecord(level, tile);
    }
  }
  level.start_x = 320;
  level.start_y = 463;
  return level;
}


// Written into the benchmark's copy of the media tree the first time one
// is asked for; false when the shipped levels cannot be read.
bool writeHardLevels() {
  static int written = 0;  // 0 not yet, 1 done, -1 failed
  if (written != 0) return written > 0;
  LevelData first;
  LevelData withPads;
  written = -1;
  if (first.load("level1.inf") != 0 || withPads.load("level3.inf") != 0) return false;
  if (first.tiles.empty() || first.ladders.empty() || withPads.teleporters.empty()) return false;

  LevelData open = openFloors(first);
  LevelData pads = openFloors(first);
  TeleporterSpec pad = withPads.teleporters.front();
  for (int n = 1; n <= 50; ++n) {
    pad.x = 12 * n;
    pad.y = 464 - 40 * (n % 11) - 32;
    pad.number = n;
    addRecord(pads, pad);
  }
  LevelData ladders = first;
  LadderSpec ladder = first.ladders.front();
  for (int i = 0; i < 20; ++i) {
    ladder.x = 16 + 30 * i;
    ladder.y = 24;
    ladder.height = 440;
    addRecord(ladders, ladder);
  }
  if (writeLevelFile("media/open.inf", open) && writeLevelFile("media/pads.inf", pads) &&
      writeLevelFile("media/ladders.inf", ladders)) {
    written = 1;
  }
  return written > 0;
}

void BM_ReachabilityHard(benchmark::State& state, const std::string& level) {
  if (!writeHardLevels()) {
    state.SkipWithError("the shipped levels cannot be read");
    return;
  }
  BM_Reachability(state, level);
}

void registerReachability() {
  // The level names are constants, there before any static object.
  registerPerLevel("Reachability", {std::begin(levelFiles), std::end(levelFiles)},
                   BM_Reachability);
  registerPerLevel("ReachabilityHard", {"open.inf", "pads.inf", "ladders.inf"},
                   BM_ReachabilityHard);
}

// Registered before main runs; the benchmarks run in the media copy main
// prepares.
const bool registered = (registerReachability(), true);

}  // namespace
