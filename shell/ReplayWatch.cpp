#include "shell/ReplayWatch.h"

#include <allegro.h>

#include <functional>

#include "game/Game.h"
#include "game/ReplayFile.h"
#include "player/InputRecord.h"
#include "shell/CloseButton.h"
#include "shell/FocusLoss.h"
#include "shell/Log.h"

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

std::string loadWatchedReplay(const std::string& path, Replay& replay) {
  std::string error;
  if (!readReplay(path, replay, error)) return error;
  const std::string mismatch = replayMismatch(replay);
  return mismatch.empty() ? "" : path + ": " + mismatch;
}

void watchReplay(Game& game, const Replay& replay) {
  game.startLevel(replay.level);
  beginReplayLife(game, replay);
  log_message("Watching a recording of %s.", replay.level.c_str());
  // Nothing is at stake in a recording, and the pause key is not in it:
  // a window left for another goes on showing it.
  game.focusLossPause = focusLossIgnored;
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
