// The program: start-up, tick timer, title card, the Game, the level
// sequence. Exit status 0 after Escape or the last life, 1 after any
// start-up or data failure.
#include <allegro.h>

#include <cstdlib>
#include <memory>

#include "game/Game.h"
#include "shell/LevelSequence.h"
#include "shell/Log.h"
#include "shell/Splash.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"

int main() {
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  PictureLayout layout;
  if (initialise(width, height, updatesPerSecond, &layout) != 0) {
    log_close();
    std::exit(1);
  }
  startTimer(updatesPerSecond, idleWaitConfigured());
  if (showSplash(width, height, updatesPerSecond, layout) != 0) {
    log_close();
    std::exit(1);
  }
  auto game = std::make_unique<Game>(width, height, updatesPerSecond);
  game->presenter.setLayout(layout);
  game->holdBackHeldKeys();
  runLevelSequence(*game);
  log_close();
  // Every bitmap, font and sample goes here, before Allegro shuts down.
  game.reset();
  return 0;
}
END_OF_MAIN()
