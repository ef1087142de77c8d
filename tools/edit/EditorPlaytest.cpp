#include "tools/edit/EditorPlaytest.h"

#include <allegro.h>

#include "game/Game.h"
#include "graphics/Pixel.h"
#include "shell/CloseButton.h"
#include "shell/TickTimer.h"
#include "tools/edit/EditorWindow.h"

namespace {

// What a play-test changes on the Game beyond the placed level.
struct RunState {
  int lives = 0;
  int score = 0;

  explicit RunState(const Game& game) : lives(game.player.lives), score(game.player.score) {}
  void restore(Game& game) const {
    game.player.setLives(lives);
    game.player.score = score;
    game.quit = false;
    game.levelDone = false;
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

// The game's pacing: every due tick runs, then one frame is drawn; a pass
// stops running ticks as soon as the timer adds one during a tick. True
// when the life is over.
bool runDueTicks(Game& game, PlaytestOutcome& outcome) {
  while (tickCounter.load() > 0) {
    const int due = tickCounter.load();
    const bool over = game.tick();
    ++outcome.ticks;
    notePosition(game, outcome);
    if (over) return true;
    const int left = --tickCounter;
    if (left >= due) break;
  }
  return false;
}

PlaytestOutcome::End playOneLife(Game& game, PlaytestOutcome& outcome) {
  const int idleWait = game.updatesPerSecond > 0 ? 100 / game.updatesPerSecond : 0;
  for (;;) {
    while (tickCounter.load() == 0) rest(idleWait);
    if (runDueTicks(game, outcome)) {
      return game.levelDone ? PlaytestOutcome::Cleared : PlaytestOutcome::LifeLost;
    }
    game.drawFrame();
    if (closeRequested()) return PlaytestOutcome::Closed;
    if (game.quit) return PlaytestOutcome::Escaped;
  }
}

// The key that ended the play-test must not reach the editor as well.
void useUpKeys() {
  for (int wait = 0; wait < 100 && key[KEY_ESC]; ++wait) rest(10);
  clear_keybuf();
}

}  // namespace

PlaytestOutcome playTest(Game& game, EditorWindow& window, const LevelData& level) {
  const RunState before(game);
  PlaytestOutcome outcome;
  game.level = level;
  game.quit = false;
  game.levelDone = false;
  // The key that started the play-test is still down.
  game.holdBackHeldKeys();
  window.showOnScreen();
  game.beginLife();
  notePosition(game, outcome);
  game.drawFrame();
  // The screen still shows the editor's marks; the play-test starts from
  // the game's whole frame, whatever part of it the Game showed.
  window.showWholeFrame(window.screenView());
  outcome.end = playOneLife(game, outcome);
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
