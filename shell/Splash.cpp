#include "shell/Splash.h"

#include <cstdio>

#include "graphics/Resources.h"
#include "player/Gamepad.h"
#include "presentation/FramePresenter.h"
#include "shell/BuildInfo.h"
#include "shell/CloseButton.h"
#include "shell/TickTimer.h"

void composeSplash(BITMAP* card, int width) {
  // A fresh bitmap holds whatever memory it was given; the card's
  // background is meant to be black.
  clear_bitmap(card);
  const int middle = width / 2;
  // -1 sets every bit of the built-in font's ink (white) and draws no box.
  textout_centre_ex(card, font, "Pitwick Engine", middle, 200, -1, -1);
  textout_centre_ex(card, font, "by the Pitwick team", middle, 240, -1, -1);
  textout_centre_ex(card, font, pweVersionLine, middle, 320, -1, -1);
}

void waitOnSplash(int updatesPerSecond) {
  tickCounter = 0;
  const int limit = 4 * updatesPerSecond;
  if (limit <= 0) return;
  // The key is only noticed, not read: it stays in the buffer. The game
  // holds back whatever key or button is still down when it ends.
  while (!keypressed() && !joystickButtonDown() && !closeRequested()) {
    rest(1);
    if (tickCounter >= limit) return;
  }
}

int showSplash(int width, int height, int updatesPerSecond, const PictureLayout& layout) {
  BitmapPtr card(create_bitmap(width, height));
  if (!card) {
    allegro_message("Error creating splash screen buffer.");
    std::fprintf(stderr, "Error creating splash screen buffer.\n");
    return -1;
  }
  composeSplash(card.get(), width);
  // Shown as the game's frames will be, at their scale and place.
  FramePresenter presenter;
  presenter.setLayout(layout);
  presenter.show(card.get(), screen);
  waitOnSplash(updatesPerSecond);
  clear_bitmap(screen);
  return 0;
}
