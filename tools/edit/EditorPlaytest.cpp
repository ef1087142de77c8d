#include "tools/edit/EditorPlaytest.h"

#include <allegro.h>

#include <functional>
#include <optional>

#include "game/Game.h"
#include "game/ReplayFile.h"
#include "graphics/Pixel.h"
#include "shell/CloseButton.h"
#include "shell/FocusLoss.h"
#include "shell/ReplayWatch.h"
#include "tools/edit/EditorInput.h"
#include "tools/edit/EditorWindow.h"

namespace {

// What a play-test changes on the Game beyond the placed level.
struct RunState {
  int lives = 0;
  int score = 0;
  int focusLossPause = 0;

  explicit RunState(const Game& game)
      : lives(game.player.lives), score(game.player.score), focusLossPause(game.pause.focusLossPause) {}
  void restore(Game& game) const {
    game.pause.focusLossPause = focusLossPause;
    // A route's keys took the place of the devices'.
    releaseAllKeys(game);
    game.inputSource.inputFromDevices = true;
    game.player.setLives(lives);
    game.player.score = score;
    game.quit = false;
    game.levelDone = false;
    // Escape may have ended the play-test while paused.
    game.pause.paused = false;
  }
};

void notePosition(const Game& game, PlaytestOutcome& outcome) {
  const PathPoint here{toPixel(game.player.x), toPixel(game.player.y)};
  if (!outcome.path.empty()) {
    const PathPoint& last = outcome.path.back();
    if (last.x == here.x && last.y == here.y) return;
  }
  outcome.path.push_back(here);
}

// Why the pass that ended the life ended it. Escape or the close button
// only end a life that is still going; a route may run out of keys first.
PlaytestOutcome::End lifeEnd(const Game& game, bool keysRanOut) {
  if (game.levelDone) return PlaytestOutcome::Cleared;
  if (!game.player.alive) return PlaytestOutcome::LifeLost;
  if (keysRanOut) return PlaytestOutcome::KeysRanOut;
  return closeRequested() ? PlaytestOutcome::Closed : PlaytestOutcome::Escaped;
}

// The game's own pacing, pause included; the editor only follows the
// ticks to count them and draw the path walked. A route's keys fill the
// input record, so Escape is looked for on the keyboard itself.
PlaytestOutcome::End playOneLife(Game& game, PlaytestOutcome& outcome, const Replay* route) {
  std::optional<ReplayFeed> feed;
  if (route != nullptr) feed.emplace(*route);
  bool keysRanOut = feed && !feed->next(game);
  const std::function<bool()> afterTick = [&] {
    ++outcome.ticks;
    notePosition(game, outcome);
    if (feed) keysRanOut = !feed->next(game);
    return keysRanOut;
  };
  if (keysRanOut) return PlaytestOutcome::KeysRanOut;
  for (;;) {
    game.waitForTick();
    if (route != nullptr && watcherEnds()) {
      return closeRequested() ? PlaytestOutcome::Closed : PlaytestOutcome::Escaped;
    }
    if (game.pacingStep(afterTick)) return lifeEnd(game, keysRanOut);
    if (closeRequested()) return PlaytestOutcome::Closed;
  }
}

// The key that ended the play-test must not reach the editor as well, nor
// the clicks made while it ran.
void useUpKeys() {
  for (int wait = 0; wait < 100 && key[KEY_ESC]; ++wait) rest(10);
  clearKeys();
  mouseBackFromDialog();
}

}  // namespace

PlaytestOutcome playTest(Game& game, EditorWindow& window, const LevelData& level,
                         const Replay* route) {
  const RunState before(game);
  PlaytestOutcome outcome;
  game.level = level;
  game.quit = false;
  game.levelDone = false;
  // The key that started the play-test is still down.
  if (route == nullptr) game.holdBackHeldKeys();
  window.showOnScreen();
  if (route != nullptr) {
    // The pause key is not in the route: the focus going elsewhere must
    // not pause what only that key could resume.
    game.pause.focusLossPause = focusLossIgnored;
    beginReplayLife(game, *route);
  } else {
    game.beginLife();
  }
  notePosition(game, outcome);
  game.drawFrame();
  // The screen still shows the editor's marks; the play-test starts from
  // the game's whole frame, whatever part of it the Game showed.
  window.showWholeFrameOnScreen();
  outcome.end = playOneLife(game, outcome, route);
  window.showOnCanvas();
  before.restore(game);
  useUpKeys();
  return outcome;
}

LevelData startingAt(const LevelData& level, int x, int y) {
  LevelData moved = level;
  moved.start_x = x;
  moved.start_y = y;
  return moved;
}
