#pragma once
// The key that switches between the window and full screen: F11, or Enter
// with Alt held. It acts on its press, once however long it is held, and
// not at all where the player has put one of the game's controls on it:
// the control wins.
#include <vector>

#include "player/InputRecord.h"

class DisplayKey {
 public:
  // controls: the scan codes of the game's own controls.
  bool pressed(const InputRecord& input, const std::vector<int>& controls);

 private:
  bool down_ = false;  // at the last look
};
