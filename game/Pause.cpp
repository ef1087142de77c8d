// Pausing between ticks: the pause key, or the window losing the focus for
// longer than a moment, stops the game where it stands. The key lets it go
// on, and so may the focus coming back, as pwe.cfg chooses.
#include <allegro.h>

#include <string>

#include "game/Game.h"
#include "shell/CloseButton.h"
#include "shell/FocusLoss.h"
#include "shell/Log.h"
#include "shell/TickTimer.h"

namespace {

// What the card says: which key goes on. A letter key is named; any other
// is the one pwe.cfg chose.
std::string pausedText(int keyPause) {
  if (keyPause >= KEY_A && keyPause <= KEY_Z) {
    return std::string("Paused: ") + static_cast<char>('A' + (keyPause - KEY_A)) + " to go on";
  }
  return "Paused: the pause key goes on";
}

// A black card with a white edge: readable over any level.
BitmapPtr composePausedCard(const std::string& words) {
  const char* text = words.c_str();
  const int margin = 8;
  BitmapPtr card(create_bitmap(text_length(font, text) + 2 * margin,
                               text_height(font) + 2 * margin));
  if (!card) return card;
  const int white = makecol(255, 255, 255);
  clear_to_color(card.get(), makecol(0, 0, 0));
  rect(card.get(), 0, 0, card->w - 1, card->h - 1, white);
  textout_centre_ex(card.get(), font, text, card->w / 2, margin, white, -1);
  return card;
}

}  // namespace

// Runs between ticks and reads the keyboard as it stands then; the pad is
// read by the ticks alone.
bool Game::updatePause() {
  if (inputSource.inputFromDevices) input.readKeyboard();
  const bool down = held(pause.keyPause);
  const bool pressed = down && !pause.pauseKeyDown;
  pause.pauseKeyDown = down;
  const bool away = focusOut();
  if (!away) pause.focusAwayTicks = 0;
  const bool focusLost = away && pause.focusLossPause != focusLossIgnored &&
                         pause.focusAwayTicks > focusLossTicks(updatesPerSecond);
  const bool focusBack =
      pause.paused && pause.pausedByFocus && !away && pause.focusLossPause == focusLossPausesUntilBack;
  if (!pause.paused && !pressed && !focusLost) return false;
  if (!pause.paused) {
    pause.paused = true;
    pause.pausedByFocus = focusLost && !pressed;
    // Play that goes on while the focus is still away needs another
    // quarter of a second of it to pause again.
    pause.focusAwayTicks = 0;
    log_message(pause.pausedByFocus ? "Paused: the window lost the focus." : "Paused.");
    showPaused();
  } else if (pressed || focusBack) {
    pause.paused = false;
    log_message(pressed ? "Resumed." : "Resumed: the window has the focus again.");
  }
  // Ticks that came due while paused are dropped, so nothing jumps ahead:
  // play goes on from the next tick that comes due.
  tickCounter = 0;
  if (held(KEY_ESC) || closeRequested()) quit = true;
  return true;
}

void Game::countFocusAway() {
  if (focusOut()) ++pause.focusAwayTicks;
}

void Game::showPaused() {
  if (output.display == nullptr) return;
  if (!pause.pausedCard) pause.pausedCard = composePausedCard(pausedText(pause.keyPause));
  if (!pause.pausedCard) return;
  output.presenter.overlay(pause.pausedCard.get(), (width - pause.pausedCard->w) / 2,
                    (height - pause.pausedCard->h) / 2, output.display);
}
