#pragma once
// What every benchmark shares: the Game built once from the media tree,
// the per-level input scripts, and the generated stress levels.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "game/LevelData.h"

class Game;

// The levels the game ships, in play order.
extern const std::vector<std::string> shippedLevels;

// Registers one single-iteration benchmark in milliseconds per level file,
// named prefix/level (without .inf).
void registerPerLevel(const std::string& prefix, const std::vector<std::string>& levels,
                      void (*run)(benchmark::State&, const std::string&));

// Outside the timing: the level started and a life begun as a run's first
// (no ladder held), where the tools search from.
void beginAsARunDoes(benchmark::State& state, Game& game, const std::string& level);

// The Game built in main from the working directory's media tree; all
// benchmarks but the build benchmark reuse it.
Game& sharedGame();
void setSharedGame(Game* game);

// Keys of every tick, one string per tick in replay letters.
struct InputScript {
  std::vector<std::string> keys;
  std::string source;  // "replay" or "pattern"
};

// The recorded replay of a shipped level when one is there and fits the
// media tree, otherwise a fixed walking, jumping and climbing pattern.
InputScript inputScriptFor(const std::string& level, const std::string& replayDir);
// Scripts read in main (before the working directory changes), by level.
const InputScript& scriptFor(const std::string& level);
void setScript(const std::string& level, InputScript script);

// A level made of `copies` copies of `base`, stacked on the screen with
// each copy shifted a few pixels, so that every element is drawn and
// touched like the original's. Each count is held to the loader's limit.
LevelData stressLevel(const LevelData& base, int copies);
bool writeLevelFile(const std::string& path, const LevelData& level);
int elementCount(const LevelData& level);

// Plays script ticks until the life ends, then starts a new life (or the
// level again once cleared or out of lives) outside the timed region.
// Returns the number of ticks played.
class ScriptPlayer {
 public:
  ScriptPlayer(Game& game, const std::string& level, const InputScript& script);
  void restart();         // level start, first life, lives and score as built
  bool step();            // one tick; true when the life ended in it
  void nextLife();        // after step() returned true
  bool finished() const { return position_ >= script_.keys.size(); }

 private:
  Game& game_;
  std::string level_;
  const InputScript& script_;
  size_t position_ = 0;
  int lives_;
  int score_;
};
