#include "shell/LevelSequence.h"

#include "game/Game.h"

// Round and round the levels with the same Game, so score and lives run
// on; only quit (Escape or the last life) ends it.
void runLevelSequence(Game& game, const std::vector<std::string>& levels) {
  while (!game.quit && !levels.empty()) {
    for (const std::string& fileName : levels) {
      if (game.quit) break;
      game.startLevel(fileName);
      while (!game.levelDone && !game.quit) game.runLife();
    }
  }
}
