// pwe, the game, whether run from a build or installed. Exit status 0 after
// Escape or the last life, 1 after any start-up or data failure, 2 for a
// wrong call or a place with nothing to play. With --print-config it
// prints the settings in effect instead and exits 0, without a window.
// With --replay FILE it plays that recording in the window instead of the
// levels, without the title card, and exits 0; a recording it cannot play
// is refused before any window opens, with status 2. Installed, it plays
// with the package's settings under the player's. --help and --version
// answer on standard output, without a display.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/ReplayFile.h"
#include "shell/CommandLine.h"
#include "shell/ConfigReport.h"
#include "shell/Installation.h"
#include "shell/LevelSequence.h"
#include "shell/LevelSet.h"
#include "shell/Log.h"
#include "shell/MediaPlace.h"
#include "shell/ProgramInfo.h"
#include "shell/ReplayWatch.h"
#include "shell/Splash.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"
#include "shell/UserConfig.h"

namespace {

int misused(const std::string& problem) {
  std::fprintf(stderr, "pwe: %s\n", problem.c_str());
  return launchMisuseStatus;
}

// The place named, the recording read (its set found from it when no
// place is named), the tree entered and the set laid: the levels to play
// or the recording to watch. Status 0, or the one to end with.
int enterPlace(const LaunchRequest& request, Replay& replay, LevelSet& levels) {
  MediaPlace place = request.level.empty() ? findMediaPlace(request.place, request.base)
                                           : findLevelFile(request.level, request.base);
  if (!place.problem.empty()) return misused(place.problem);
  if (!request.replay.empty()) {
    std::string error;
    if (!readReplay(request.replay, replay, error)) return misused(error);
    if (request.place.empty()) {
      const std::string set = recordedSetFolder(replay, request.replay, place.tree);
      if (!set.empty()) place = findMediaPlace(set, request.base);
    }
  }
  const std::string entering = enterMediaPlace(place);
  if (!entering.empty()) return misused(entering);
  if (!place.level.empty()) {
    levels.directory = place.setPath;
    levels.levels = {place.level};
  } else if (!place.setPath.empty()) {
    const std::string why = readLevelSet(place.setPath, levels);
    if (!why.empty()) {
      std::fprintf(stderr, "pwe: %s\n", why.c_str());
      return 1;
    }
  } else {
    levels = treeLevels();
  }
  if (request.replay.empty()) return 0;
  const std::string mismatch = replayMismatch(replay);
  return mismatch.empty() ? 0 : misused(request.replay + ": " + mismatch);
}

int play(const LaunchRequest& request, bool packaged) {
  Replay replay;
  LevelSet levels;
  const int entered = enterPlace(request, replay, levels);
  if (entered != 0) return entered;
  if (request.action == LaunchAction::printConfig) {
    // The configuration routines need the library, not a display.
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    printConfiguration(stdout, "media/pwe.cfg", userConfigPath(), packaged);
    return 0;
  }
  const bool watching = !request.replay.empty();
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  PictureLayout layout;
  StartupOptions options;
  options.playerSettings = true;
  options.packageSettings = packaged;
  if (initialise(width, height, updatesPerSecond, &layout, options) != 0) {
    log_close();
    return 1;
  }
  startTimer(updatesPerSecond, idleWaitConfigured());
  if (!watching && showSplash(width, height, updatesPerSecond, layout) != 0) {
    log_close();
    return 1;
  }
  auto game = std::make_unique<Game>(width, height, updatesPerSecond);
  game->output.presenter.setLayout(layout);
  game->output.displaySwitchable = true;
  if (watching) {
    watchReplay(*game, replay);
  } else {
    game->holdBackHeldKeys();
    runLevelSequence(*game, levels.levels);
  }
  log_close();
  // Every bitmap, font and sample goes here, before Allegro shuts down.
  game.reset();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const LaunchRequest request =
      readLaunchArguments(std::vector<std::string>(argv + 1, argv + argc));
  switch (request.action) {
    case LaunchAction::help:
      std::fputs(launchUsage, stdout);
      return 0;
    case LaunchAction::version:
      std::fputs(versionText("pwe").c_str(), stdout);
      return 0;
    case LaunchAction::misuse:
      std::fprintf(stderr, "%s\n%s", request.problem.c_str(), launchUsage);
      return launchMisuseStatus;
    case LaunchAction::play:
    case LaunchAction::printConfig:
      break;
  }
  const int status = play(request, runsInstalled());
  if (status != 0) std::exit(status);
  return 0;
}
END_OF_MAIN()
