#include "player/KeyRelease.h"

#include <allegro.h>

namespace {
KeyReleaseEntry table[KEY_MAX];
}  // namespace

bool keyReleased(int code, bool held) {
  // Digit codes grow with the number of teleporters on a level and can run
  // past the table; such codes have no key and are never reported.
  if (code < 0 || code >= KEY_MAX) return false;
  if (held && !table[code].pending) {
    table[code].pending = true;
    return false;
  }
  if (!held && table[code].pending) {
    table[code].pending = false;
    return true;
  }
  return false;
}

bool keyReleasePending(int code) { return code >= 0 && code < KEY_MAX && table[code].pending; }

void setKeyReleasePending(int code, bool pending) {
  if (code >= 0 && code < KEY_MAX) table[code].pending = pending;
}

void resetKeyReleases() {
  for (KeyReleaseEntry& entry : table) entry = KeyReleaseEntry{};
}
