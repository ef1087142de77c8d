#include "player/KeyRelease.h"

#include <allegro.h>

namespace {
// One entry per scan code: the key was seen held and its release is awaited.
bool pressed[KEY_MAX] = {};
}  // namespace

bool keyReleased(int code, bool held) {
  // Digit codes grow with the number of teleporters on a level and can run
  // past the table; such codes have no key and are never reported.
  if (code < 0 || code >= KEY_MAX) return false;
  if (held && !pressed[code]) {
    pressed[code] = true;
    return false;
  }
  if (!held && pressed[code]) {
    pressed[code] = false;
    return true;
  }
  return false;
}

bool keyReleasePending(int code) { return code >= 0 && code < KEY_MAX && pressed[code]; }

void setKeyReleasePending(int code, bool pending) {
  if (code >= 0 && code < KEY_MAX) pressed[code] = pending;
}

void resetKeyReleases() {
  for (bool& entry : pressed) entry = false;
}
