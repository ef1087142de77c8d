#pragma once
// What the user's hands do in one tick: every key down, by scan code, and
// the first joystick's controls. The tick reads its input from here and
// nowhere else. The game fills the record from Allegro's key[] and the
// joystick before each tick; replays, the reachability search and tests
// fill it themselves and leave Allegro's globals alone.
//
// Keys are kept by code, not by action: pwe.cfg chooses the actions'
// codes, two actions may share one, a walking key may be a teleport digit,
// and the input gate and the key-release table both follow codes.
#include <allegro.h>

#include <bitset>

#include "player/Gamepad.h"

struct InputRecord {
  std::bitset<KEY_MAX> keys;  // scan codes down
  unsigned pad = 0;           // joystick controls down: bit n for Gamepad::Control n

  bool down(int code) const { return code >= 0 && code < KEY_MAX && keys.test(code); }
  // Holds the key down, or lets it up; a code outside the keyboard is no key.
  void hold(int code, bool held = true);
  void releaseAll();

  // The keyboard as Allegro sees it now; the pad is left as it was.
  void readKeyboard();
  // The keyboard and a poll of the first joystick: the game's input.
  void readDevices(const Gamepad::Settings& settings);
};
