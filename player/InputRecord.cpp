#include "player/InputRecord.h"

void InputRecord::hold(int code, bool held) {
  if (code >= 0 && code < KEY_MAX) keys.set(static_cast<std::size_t>(code), held);
}

void InputRecord::releaseAll() {
  keys.reset();
  pad = 0;
}

// Under X11 a held key reads -1, so any value but 0 is down.
void InputRecord::readKeyboard() {
  for (int code = 0; code < KEY_MAX; ++code) keys.set(static_cast<std::size_t>(code), key[code] != 0);
}

void InputRecord::readDevices(const Gamepad::Settings& settings) {
  readKeyboard();
  pad = Gamepad::poll(settings);
}
