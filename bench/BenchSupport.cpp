#include "bench/BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "game/Game.h"
#include "game/LevelFields.h"
#include "player/KeyRelease.h"
#include "tests/support/Replay.h"

const std::vector<std::string> shippedLevels = {"level1.inf", "level2.inf", "level3.inf",
                                                "level4.inf"};

namespace {
Game* shared = nullptr;
std::map<std::string, InputScript> scripts;

// Walks both ways, jumps standing and running, tries ladders both ways and
// rests: every branch of the tick's input handling gets its share.
std::vector<std::string> patternKeys() {
  const std::pair<const char*, int> pattern[] = {
      {"R", 90}, {"RJ", 1}, {"-", 50}, {"U", 40}, {"-", 10}, {"L", 90}, {"LJ", 1}, {"-", 50},
      {"D", 40}, {"J", 1},  {"-", 50}, {"R", 140}, {"U", 60}, {"L", 140}, {"D", 60}, {"1", 2},
      {"-", 5},  {"2", 2},  {"-", 30}};
  std::vector<std::string> keys;
  while (keys.size() < 3000) {
    for (const auto& [held, ticks] : pattern) keys.insert(keys.end(), ticks, held);
  }
  keys.resize(3000);
  return keys;
}
}  // namespace

Game& sharedGame() { return *shared; }
void setSharedGame(Game* game) { shared = game; }

InputScript inputScriptFor(const std::string& level, const std::string& replayDir) {
  const std::string base = level.substr(0, level.find('.'));
  Replay replay;
  std::string error;
  if (readReplay(replayDir + "/" + base + ".replay", replay, error) && replay.level == level &&
      staleReplayReason(replay).empty() && replay.tickCount() > 0) {
    InputScript script{{}, "replay"};
    for (int t = 0; t < replay.tickCount(); ++t) script.keys.push_back(replay.keysAt(t));
    return script;
  }
  return {patternKeys(), "pattern"};
}

const InputScript& scriptFor(const std::string& level) {
  auto found = scripts.find(level);
  if (found != scripts.end()) return found->second;
  return scripts.emplace(level, InputScript{patternKeys(), "pattern"}).first->second;
}

void setScript(const std::string& level, InputScript script) {
  scripts[level] = std::move(script);
}

LevelData stressLevel(const LevelData& base, int copies) {
  LevelData level = base;
  clearRecords(level);
  const size_t limit = LevelData::maxElementCount;
  for (int copy = 0; copy < copies; ++copy) {
    // A shift within one tile keeps every floor under its copy's walkers.
    const int shift = copy % 8;
    for (TileSpec tile : base.tiles) {
      if (level.tiles.size() >= limit) break;
      tile.x += shift;
      addRecord(level, tile);
    }
    for (LadderSpec ladder : base.ladders) {
      ladder.x += shift;
      if (level.ladders.size() < limit) addRecord(level, ladder);
    }
    for (ChuteSpec chute : base.chutes) {
      chute.x += shift;
      if (level.chutes.size() < limit) addRecord(level, chute);
    }
    for (EnemySpec enemy : base.enemies) {
      enemy.x += shift;
      enemy.min_x += shift;
      enemy.max_x += shift;
      if (level.enemies.size() < limit) addRecord(level, enemy);
    }
    for (ItemSpec item : base.items) {
      item.x += shift;
      if (level.items.size() < limit) addRecord(level, item);
    }
    for (TeleporterSpec teleporter : base.teleporters) {
      teleporter.x += shift;
      if (level.teleporters.size() < limit) addRecord(level, teleporter);
    }
  }
  return level;
}

int elementCount(const LevelData& level) {
  return static_cast<int>(level.tiles.size() + level.ladders.size() + level.chutes.size() +
                          level.enemies.size() + level.items.size() + level.teleporters.size());
}

bool writeLevelFile(const std::string& path, const LevelData& l) {
  FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr) return false;
  std::fprintf(out, "%d\n%d %d %d\n%d %d %d\n%d %d\n%d %d %d\n\n", l.countdown_start,
               l.countdown_x, l.countdown_y, l.countdown_align, l.score_x, l.score_y,
               l.score_align, l.pip_offset, l.pip_spacing, l.start_x, l.start_y,
               l.start_animation);
  std::fprintf(out, "%zu\n", l.tiles.size());
  for (const TileSpec& t : l.tiles) {
    std::fprintf(out, "%d %d %s %s %d %d\n", t.x, t.y, t.tile_name.c_str(),
                 t.cleared_name.c_str(), t.claimable, t.points);
  }
  std::fprintf(out, "\n%zu\n", l.ladders.size());
  for (const LadderSpec& d : l.ladders) {
    std::fprintf(out, "%d %d %d %s\n", d.x, d.y, d.height, d.name.c_str());
  }
  std::fprintf(out, "\n%zu\n", l.chutes.size());
  for (const ChuteSpec& c : l.chutes) {
    std::fprintf(out, "%d %d %d %d %d %s\n", c.x, c.y, c.height, c.dx, c.direction,
                 c.name.c_str());
  }
  std::fprintf(out, "\n%zu\n", l.enemies.size());
  for (const EnemySpec& e : l.enemies) {
    std::fprintf(out, "%d %d %d %d %d %g %d %d %s %d %d\n", e.x, e.y, e.direction, e.min_x,
                 e.max_x, static_cast<double>(e.speed), e.changes, e.state, e.name.c_str(),
                 e.safe_time, e.points);
  }
  std::fprintf(out, "\n%zu\n", l.items.size());
  for (const ItemSpec& i : l.items) {
    std::fprintf(out, "%d %d %s %d\n", i.x, i.y, i.type.c_str(), i.points);
  }
  std::fprintf(out, "\n%zu\n", l.teleporters.size());
  for (const TeleporterSpec& p : l.teleporters) {
    std::fprintf(out, "%d %d %s %s %d\n", p.x, p.y, p.name.c_str(), p.cooldown_name.c_str(),
                 p.number);
  }
  return std::fclose(out) == 0;
}

ScriptPlayer::ScriptPlayer(Game& game, const std::string& level, const InputScript& script)
    : game_(game), level_(level), script_(script), lives_(game.player.lives),
      score_(game.player.score) {}

void ScriptPlayer::restart() {
  releaseAllKeys(game_);
  resetKeyReleases();
  game_.quit = false;
  game_.player.lives = lives_;
  game_.player.score = score_;
  game_.teleportCooldownActive = false;
  game_.startLevel(level_);
  game_.beginLife();
  position_ = 0;
}

bool ScriptPlayer::step() {
  applyKeys(game_, script_.keys[position_++]);
  return game_.tick();
}

void ScriptPlayer::nextLife() {
  // Out of lives or cleared: the script goes on from a fresh level start.
  if (game_.levelDone || game_.player.lives <= 0 || game_.quit) {
    const size_t at = position_;
    restart();
    position_ = at;
    return;
  }
  game_.beginLife();
}

void registerPerLevel(const std::string& prefix, const std::vector<std::string>& levels,
                      void (*run)(benchmark::State&, const std::string&)) {
  for (const std::string& level : levels) {
    benchmark::RegisterBenchmark((prefix + "/" + level.substr(0, level.find('.'))).c_str(), run,
                                 level)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
}

void beginAsARunDoes(benchmark::State& state, Game& game, const std::string& level) {
  state.PauseTiming();
  game.startLevel(level);
  game.beginLife();
  game.player.currentLadder = Ladder{};
  state.ResumeTiming();
}
