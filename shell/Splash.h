#pragma once
// The title card, shown for up to four seconds or until a key is pressed.

// 0 when shown, -1 when its buffer cannot be created.
int showSplash(int width, int height, int updatesPerSecond);
