#pragma once
// Keys that were already down when play began: the key that skipped the
// title card is still held in the first ticks of the first level, and must
// not make the player jump or walk. Such a key is held back until it has
// been released once; every other key acts at once.
#include <allegro.h>

#include <array>
#include <vector>

class InputGate {
 public:
  // Holds back each of these codes that is down now.
  void holdBackHeld(const std::vector<int>& codes);
  // Lets go of every held-back code that is up now; once per tick, before
  // any key is read.
  void update();

  bool heldBack(int code) const;
  // Down, and not held back.
  bool held(int code) const;

 private:
  std::array<bool, KEY_MAX> heldBack_{};  // by scan code
  bool any_ = false;                      // some code is held back
};
