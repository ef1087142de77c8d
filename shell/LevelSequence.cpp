#include "shell/LevelSequence.h"

#include "game/Game.h"

// Round and round the four levels with the same Game, so score and lives
// run on; only quit (Escape or the last life) ends it.
void runLevelSequence(Game& game) {
  while (!game.quit) {
    for (const char* fileName : levelFiles) {
      if (game.quit) break;
      game.startLevel(fileName);
      while (!game.levelDone && !game.quit) game.runLife();
    }
  }
}
