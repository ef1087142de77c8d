#pragma once
// Keys that were already down when play began: the key that skipped the
// title card is still held in the first ticks of the first level, and must
// not make the player jump or walk. Such a key is held back until it has
// been released once; every other key acts at once.
#include <allegro.h>

#include <array>
#include <vector>

#include "player/InputRecord.h"

class InputGate {
 public:
  // Holds back each of these codes that is down in the record.
  void holdBackHeld(const InputRecord& input, const std::vector<int>& codes);
  // Lets go of every held-back code that is up in this tick's record; once
  // per tick, before any key is read.
  void update(const InputRecord& input);

  bool heldBack(int code) const;
  // Down in the record, and not held back.
  bool held(const InputRecord& input, int code) const;

 private:
  std::array<bool, KEY_MAX> heldBack_{};  // by scan code
  bool any_ = false;                      // some code is held back
};
