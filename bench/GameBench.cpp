// Benchmarks of the Game as the player meets it: ticks under recorded
// input, composing frames, building the Game, starting levels and lives,
// and the growth of tick and frame cost with the number of elements. Each
// figure has a floor measured in the same run, for the report to compare.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "authoring/Replay.h"
#include "bench/BenchSupport.h"
#include "game/Game.h"
#include "graphics/Resources.h"
#include "tests/support/Headless.h"

namespace fs = std::filesystem;

namespace {

// Frames are timed on the thread's CPU clock: on a shared machine the wall
// clock also counts the time other processes hold the core.
double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

std::string stressBase;    // the busiest shipped level, chosen with the stress levels
// 50 copies is the most that keeps every count within the loader's limit
// of 10,000; at 100 the tiles are held to that limit.
const int stressScales[] = {1, 10, 50, 100};

int stressBaseTiles = 0;  // tiles of the base level, set with the stress levels

std::string stressFile(int copies) { return "stress" + std::to_string(copies) + ".inf"; }

// Plays the whole script once per iteration; starting lives and levels is
// left out of the timing. Adds the ticks played to ticks.
void timeScript(benchmark::State& state, ScriptPlayer& player, long& ticks) {
  for (auto _ : state) {
    state.PauseTiming();
    player.restart();
    state.ResumeTiming();
    while (!player.finished()) {
      ++ticks;
      if (player.step()) {
        state.PauseTiming();
        player.nextLife();
        state.ResumeTiming();
      }
    }
  }
}

// A counter that reports the time per tick.
benchmark::Counter perTick(long ticks) {
  return benchmark::Counter(static_cast<double>(ticks),
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One tick under the level's script (its replay when recorded). One
// iteration plays the whole script; starting lives and levels is untimed.
void BM_Tick(benchmark::State& state, const std::string& level) {
  Game& game = sharedGame();
  const InputScript& script = scriptFor(level);
  ScriptPlayer player(game, level, script);
  long ticks = 0;
  timeScript(state, player, ticks);
  state.counters["ticks"] = static_cast<double>(script.keys.size());
  state.counters["per_tick"] = perTick(ticks);
  state.SetLabel(script.source);
}

// Floor of the tick: holding the script's keys alone, as the harness does.
void BM_TickFloor(benchmark::State& state, const std::string& level) {
  Game& game = sharedGame();
  const InputScript& script = scriptFor(level);
  long ticks = 0;
  for (auto _ : state) {
    for (const std::string& keys : script.keys) {
      applyKeys(game, keys);
      benchmark::ClobberMemory();
      ++ticks;
    }
  }
  state.counters["ticks"] = static_cast<double>(script.keys.size());
  state.counters["per_tick"] = perTick(ticks);
}

// drawFrame onto a memory screen, in the states the script walks through:
// each iteration ticks once (untimed) and composes one frame (timed).
// Composed and shown on a memory bitmap that stands for the screen, each
// game pixel as a scale x scale block.
void BM_DrawFrame(benchmark::State& state, const std::string& level, int scale) {
  Game& game = sharedGame();
  BitmapPtr screenBitmap(create_bitmap(game.width * scale, game.height * scale));
  BITMAP* before = game.output.display;
  game.output.display = screenBitmap.get();
  game.output.presenter.setLayout({scale, 0, 0});
  const InputScript& script = scriptFor(level);
  ScriptPlayer player(game, level, script);
  player.restart();
  for (auto _ : state) {
    if (player.finished()) player.restart();
    if (player.step()) player.nextLife();
    const double start = threadSeconds();
    game.drawFrame();
    const double end = threadSeconds();
    state.SetIterationTime(end - start);
  }
  game.output.display = before;
  game.output.presenter.setLayout({});
}

// What the bare program shows each tick: an empty frame copied whole.
void BM_EmptyFrame(benchmark::State& state) {
  Game& game = sharedGame();
  BitmapPtr screenBitmap(create_bitmap(game.width, game.height));
  BitmapPtr empty(create_bitmap(game.width, game.height));
  clear_bitmap(empty.get());
  for (auto _ : state) {
    const double start = threadSeconds();
    blit(empty.get(), screenBitmap.get(), 0, 0, 0, 0, game.width, game.height);
    const double end = threadSeconds();
    benchmark::DoNotOptimize(screenBitmap->line[0][0]);
    state.SetIterationTime(end - start);
  }
}

// The two full-frame copies no frame can do without: the background into
// the buffer and the buffer onto the screen.
void BM_DrawFloor(benchmark::State& state) {
  Game& game = sharedGame();
  BitmapPtr screenBitmap(create_bitmap(game.width, game.height));
  BITMAP* frame = game.buffer.get();
  BITMAP* back = game.background.get();
  for (auto _ : state) {
    const double start = threadSeconds();
    blit(back, frame, 0, 0, 0, 0, back->w, back->h);
    blit(frame, screenBitmap.get(), 0, 0, 0, 0, game.width, game.height);
    const double end = threadSeconds();
    benchmark::DoNotOptimize(screenBitmap->line[0][0]);
    state.SetIterationTime(end - start);
  }
}

void BM_BuildGame(benchmark::State& state) {
  for (auto _ : state) {
    auto game = std::make_unique<Game>(640, 480, 100);
    benchmark::DoNotOptimize(game.get());
    state.PauseTiming();
    game.reset();
    state.ResumeTiming();
  }
}

// Floor of the build: decoding every picture and sound of the media tree
// once, which the Game cannot avoid.
void BM_BuildFloor(benchmark::State& state) {
  std::vector<std::string> pictures;
  std::vector<std::string> sounds;
  for (const auto& entry : fs::recursive_directory_iterator("media")) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext == ".png") pictures.push_back(entry.path().string());
    if (ext == ".wav") sounds.push_back(entry.path().string());
  }
  for (auto _ : state) {
    for (const std::string& path : pictures) {
      BitmapPtr picture(load_bitmap(path.c_str(), nullptr));
      benchmark::DoNotOptimize(picture.get());
    }
    for (const std::string& path : sounds) {
      SamplePtr sound(load_wav(path.c_str()));
      benchmark::DoNotOptimize(sound.get());
    }
  }
  state.counters["files"] = static_cast<double>(pictures.size() + sounds.size());
}

void BM_LevelStart(benchmark::State& state, const std::string& level) {
  Game& game = sharedGame();
  for (auto _ : state) {
    game.startLevel(level);
    game.beginLife();
  }
}

void BM_LifeStart(benchmark::State& state, const std::string& level) {
  Game& game = sharedGame();
  game.startLevel(level);
  for (auto _ : state) game.beginLife();
}

// Floor of a level start: reading the level file.
void BM_LevelFileRead(benchmark::State& state, const std::string& level) {
  for (auto _ : state) {
    LevelData data;
    data.load(level);
    benchmark::DoNotOptimize(data.tiles.data());
  }
}

void BM_StressTick(benchmark::State& state) {
  const int copies = static_cast<int>(state.range(0));
  Game& game = sharedGame();
  const InputScript& script = scriptFor(stressBase);
  const std::string level = stressFile(copies);
  ScriptPlayer player(game, level, script);
  long ticks = 0;
  player.restart();
  const int elements = game.level.tileCount + game.level.ladderCount + game.level.chuteCount +
                       game.level.enemyCount + game.level.itemCount +
                       game.level.teleporterCount;
  timeScript(state, player, ticks);
  state.counters["elements"] = elements;
  state.counters["capped"] = game.level.tileCount < copies * stressBaseTiles ? 1 : 0;
  state.SetLabel(stressBase);
  state.counters["ticks"] = static_cast<double>(script.keys.size());
  state.counters["per_tick"] = perTick(ticks);
}

void BM_StressFrame(benchmark::State& state) {
  const int copies = static_cast<int>(state.range(0));
  Game& game = sharedGame();
  BitmapPtr screenBitmap(create_bitmap(game.width, game.height));
  BITMAP* before = game.output.display;
  game.output.display = screenBitmap.get();
  const InputScript& script = scriptFor(stressBase);
  ScriptPlayer player(game, stressFile(copies), script);
  player.restart();
  const int elements = game.level.tileCount + game.level.ladderCount + game.level.chuteCount +
                       game.level.enemyCount + game.level.itemCount +
                       game.level.teleporterCount;
  for (auto _ : state) {
    if (player.finished()) player.restart();
    if (player.step()) player.nextLife();
    const double start = threadSeconds();
    game.drawFrame();
    const double end = threadSeconds();
    state.SetIterationTime(end - start);
  }
  state.counters["elements"] = elements;
  state.counters["capped"] = game.level.tileCount < copies * stressBaseTiles ? 1 : 0;
  state.SetLabel(stressBase);
  game.output.display = before;
}

void registerBenchmarks() {
  for (const std::string& level : shippedLevels) {
    const std::string name = level.substr(0, level.find('.'));
    benchmark::RegisterBenchmark(("Tick/" + name).c_str(), BM_Tick, level)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("TickFloor/" + name).c_str(), BM_TickFloor, level)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("DrawFloor", BM_DrawFloor)
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond);
  for (const std::string& level : shippedLevels) {
    const std::string name = level.substr(0, level.find('.'));
    for (int scale : {1, 3}) {
      const std::string label = scale == 1 ? "DrawFrame/" : "DrawFrameScale3/";
      benchmark::RegisterBenchmark((label + name).c_str(), BM_DrawFrame, level, scale)
          ->UseManualTime()
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::RegisterBenchmark("EmptyFrame", BM_EmptyFrame)
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("BuildGame", BM_BuildGame)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BuildFloor", BM_BuildFloor)->Unit(benchmark::kMillisecond);
  for (const std::string& level : shippedLevels) {
    const std::string name = level.substr(0, level.find('.'));
    benchmark::RegisterBenchmark(("LevelStart/" + name).c_str(), BM_LevelStart, level)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("LifeStart/" + name).c_str(), BM_LifeStart, level)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("LevelFileRead/" + name).c_str(), BM_LevelFileRead, level)
        ->Unit(benchmark::kMicrosecond);
  }
  for (int copies : stressScales) {
    benchmark::RegisterBenchmark("StressTick", BM_StressTick)
        ->Arg(copies)
        ->Unit(benchmark::kMillisecond);
  }
  for (int copies : stressScales) {
    benchmark::RegisterBenchmark("StressFrame", BM_StressFrame)
        ->Arg(copies)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
  }
}

// A private copy of the media tree with the stress levels beside the
// shipped ones; it becomes the working directory for the run.
std::string prepareMediaCopy(const std::string& root) {
  std::string pattern = (fs::temp_directory_path() / "pwe-bench-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) return "";
  fs::copy(fs::path(root) / "media", fs::path(pattern) / "media",
           fs::copy_options::recursive);
  fs::current_path(pattern);
  LevelData base;
  for (const std::string& level : shippedLevels) {
    LevelData candidate;
    if (candidate.load(level) != 0) return "";
    if (stressBase.empty() || elementCount(candidate) > elementCount(base)) {
      base = candidate;
      stressBase = level;
    }
  }
  stressBaseTiles = base.tileCount;
  for (int copies : stressScales) {
    if (!writeLevelFile("media/" + stressFile(copies), stressLevel(base, copies))) return "";
  }
  return pattern;
}

}  // namespace

// Run from the repository root: the media tree and tests/replays are read
// from there.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ensureHeadlessAllegro();

  const std::string root = fs::current_path().string();
  if (!fs::exists("media/pwe.cfg")) {
    std::fprintf(stderr, "pwe-bench: run from the directory holding media/\n");
    return 1;
  }
  const std::string copy = prepareMediaCopy(root);
  if (copy.empty()) {
    std::fprintf(stderr, "pwe-bench: cannot prepare a copy of the media tree\n");
    return 1;
  }
  for (const std::string& level : shippedLevels) {
    setScript(level, inputScriptFor(level, root + "/tests/replays"));
    std::fprintf(stderr, "%s input: %s (%zu ticks)\n", level.c_str(),
                 scriptFor(level).source.c_str(), scriptFor(level).keys.size());
  }

  set_config_file("media/pwe.cfg");
  int status = 0;
  {
    auto game = std::make_unique<Game>(640, 480, 100);
    setSharedGame(game.get());
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setSharedGame(nullptr);
  }
  fs::current_path(root);
  std::error_code ignored;
  fs::remove_all(copy, ignored);
  return status;
}
