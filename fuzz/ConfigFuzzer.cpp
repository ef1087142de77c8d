// media/pwe.cfg: the start-up settings and the controls read from it, then
// the managers built with its tolerances and a little play with its keys.
#include <allegro.h>

#include <memory>

#include "fuzz/FuzzMedia.h"
#include "game/Game.h"
#include "shell/Fatal.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Game& game = fuzzGame();
  writeInput("media/pwe.cfg", data, size);
  try {
    DataFailureGuard guard;
    selectConfiguration("media/pwe.cfg");
    StartupSettings settings = readStartupSettings();
    static_cast<void>(screenSizeUsable(settings, 1920, 1080));
    static_cast<void>(timerPeriod(settings.updatesPerSecond));
    game.updatesPerSecond = settings.updatesPerSecond;
    game.loadControls();
    // As the Game's constructor does once the controls are read.
    game.chuteManager = std::make_unique<ChuteManager>(game.chuteTolerance);
    game.ladderManager = std::make_unique<LadderManager>(game.ladderHorizontalTolerance,
                                                         game.ladderVerticalTolerance);
    playBriefly(game, 60);
  } catch (const DataFailure&) {
  }
  return 0;
}
