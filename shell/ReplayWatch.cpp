#include "shell/ReplayWatch.h"

#include <allegro.h>

#include <filesystem>
#include <functional>

#include "game/Game.h"
#include "game/ReplayFile.h"
#include "player/InputRecord.h"
#include "shell/CloseButton.h"
#include "shell/FocusLoss.h"
#include "shell/LevelSet.h"
#include "shell/Log.h"
#include "shell/MediaPlace.h"
#include "shell/RegularFile.h"

namespace {

constexpr int holdMilliseconds = 2000;  // the last frame stays up this long
constexpr int holdStep = 10;            // milliseconds between looks at the keyboard

// The frame the recording ended on, left up long enough to be seen.
void holdLastFrame(Game& game) {
  game.drawFrame();
  for (int waited = 0; waited < holdMilliseconds && !watcherEnds(); waited += holdStep) {
    rest(holdStep);
  }
}

}  // namespace

// The Game's input record holds the recording's keys, so the user's
// Escape is read from the keyboard itself.
bool watcherEnds() {
  InputRecord hands;
  hands.readKeyboard();
  return hands.down(KEY_ESC) || closeRequested();
}

namespace {

bool holdsLevel(const std::filesystem::path& folder, const std::string& level) {
  return plainLevelName(level) && isRegularFile((folder / level).string());
}

}  // namespace

std::string recordedSetFolder(const Replay& replay, const std::string& recordingPath,
                              const std::string& tree) {
  namespace fs = std::filesystem;
  if (!replay.set.empty()) {
    if (holdsLevel(replay.set, replay.level)) return replay.set;
    const std::string kept = setBeside(fs::path(replay.set).filename().string(), tree);
    if (!kept.empty()) return kept;
  }
  const fs::path own = fs::path(recordingPath).parent_path();
  const fs::path folder = own.empty() ? fs::path(".") : own;
  if (treeNamed(folder.string()).empty() && holdsLevel(folder, replay.level)) return folder.string();
  return "";
}

void watchReplay(Game& game, const Replay& replay) {
  game.startLevel(replay.level);
  beginReplayLife(game, replay);
  log_message("Watching a recording of %s.", replay.level.c_str());
  // Nothing is at stake in a recording, and the pause key is not in it:
  // a window left for another goes on showing it.
  game.pause.focusLossPause = focusLossIgnored;
  ReplayFeed feed(replay);
  if (feed.next(game)) {
    const std::function<bool()> nextKeys = [&game, &feed] { return !feed.next(game); };
    for (;;) {
      game.waitForTick();
      if (watcherEnds()) return;
      if (game.pacingStep(nextKeys)) break;
    }
  }
  log_message("The recording has ended.");
  holdLastFrame(game);
}
