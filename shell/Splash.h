#pragma once
// The title card, shown for up to four seconds or until a key or a joystick
// button is pressed.
#include <allegro.h>

#include "graphics/PictureLayout.h"

// 0 when shown, -1 when its buffer cannot be created.
int showSplash(int width, int height, int updatesPerSecond, const PictureLayout& layout = {});

// The steps of showSplash that need no screen, so they can be checked
// without a display.

// Clears the card to colour 0 and draws the three lines centred on
// width / 2 at rows 200, 240 and 320, whatever the card's height.
void composeSplash(BITMAP* card, int width);

// Restarts the tick count and returns once four seconds' worth of ticks
// have come, a key is waiting or a joystick button is down; returns at
// once when that is no ticks.
void waitOnSplash(int updatesPerSecond);
