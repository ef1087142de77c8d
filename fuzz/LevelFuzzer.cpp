// Level files: the loader, then population and a little play on whatever
// it accepted, since a value the loader lets through is only dangerous once
// the game uses it.
#include "fuzz/FuzzMedia.h"
#include "game/Game.h"
#include "game/LevelData.h"
#include "shell/Fatal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Game& game = fuzzGame();
  writeInput("media/fuzz.inf", data, size);
  LevelData level;
  if (level.load("fuzz.inf") != 0) return 0;
  try {
    DataFailureGuard guard;
    game.level = level;
    playBriefly(game, 40);
  } catch (const DataFailure&) {
  }
  return 0;
}
