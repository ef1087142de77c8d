// The program: start-up, tick timer, title card, the Game, the level
// sequence. Exit status 0 after Escape or the last life, 1 after any
// start-up or data failure. With --print-config it prints the settings in
// effect instead and exits 0, without a window. With --replay FILE it
// plays that recording in the window instead of the sequence, without the
// title card, and exits 0; a recording it cannot play is refused before
// any window opens, with status 2. Started by the pwe command, whose first
// argument to it says so, it plays with the command's settings under the
// player's. --help and --version answer on standard
// output, without a display.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "game/Game.h"
#include "game/ReplayFile.h"
#include "shell/ConfigReport.h"
#include "shell/Launcher.h"
#include "shell/LevelSequence.h"
#include "shell/ProgramInfo.h"
#include "shell/Log.h"
#include "shell/ReplayWatch.h"
#include "shell/Splash.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"
#include "shell/UserConfig.h"

namespace {

const char* const gameUsage =
    "usage: pwe\n"
    "       pwe --replay FILE\n"
    "       pwe --print-config\n"
    "       pwe --help | --version\n"
    "Plays Pitwick Engine with the media tree media/ of the working directory.\n"
    "--replay plays the recording FILE in the game's window until it ends or\n"
    "Escape is pressed. --print-config prints every setting in effect and\n"
    "where it came from, and plays nothing.\n";

}  // namespace

int main(int argc, char** argv) {
  if (printInfoAnswer(answerInfoOptions(argc, argv, "pwe", gameUsage))) return 0;
  // Started by the pwe command: its settings go under the player's.
  const bool packaged = argc > 1 && std::strcmp(argv[1], packageSettingsOption) == 0;
  if (packaged) {
    --argc;
    ++argv;
  }
  if (argc > 1 && std::strcmp(argv[1], "--print-config") == 0) {
    // The configuration routines need the library, not a display.
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    printConfiguration(stdout, "media/pwe.cfg", userConfigPath(), packaged);
    return 0;
  }
  const bool watching = argc > 1 && std::strcmp(argv[1], "--replay") == 0;
  Replay replay;
  if (watching) {
    const std::string refused =
        argc > 2 ? loadWatchedReplay(argv[2], replay) : "--replay needs a recording to play";
    if (!refused.empty()) {
      std::fprintf(stderr, "pwe: %s\n", refused.c_str());
      return launchMisuseStatus;
    }
  }
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  PictureLayout layout;
  StartupOptions options;
  options.playerSettings = true;
  options.packageSettings = packaged;
  if (initialise(width, height, updatesPerSecond, &layout, options) != 0) {
    log_close();
    std::exit(1);
  }
  startTimer(updatesPerSecond, idleWaitConfigured());
  if (!watching && showSplash(width, height, updatesPerSecond, layout) != 0) {
    log_close();
    std::exit(1);
  }
  auto game = std::make_unique<Game>(width, height, updatesPerSecond);
  game->presenter.setLayout(layout);
  game->displaySwitchable = true;
  if (watching) {
    watchReplay(*game, replay);
  } else {
    game->holdBackHeldKeys();
    runLevelSequence(*game);
  }
  log_close();
  // Every bitmap, font and sample goes here, before Allegro shuts down.
  game.reset();
  return 0;
}
END_OF_MAIN()
