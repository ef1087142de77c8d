#include "player/InputGate.h"

namespace {

bool down(int code) { return code >= 0 && code < KEY_MAX && key[code] != 0; }

}  // namespace

void InputGate::holdBackHeld(const std::vector<int>& codes) {
  for (int code : codes) {
    if (down(code)) heldBack_[static_cast<size_t>(code)] = any_ = true;
  }
}

// Every tick asks; mostly nothing is held back, and the table is not walked.
void InputGate::update() {
  if (!any_) return;
  any_ = false;
  for (size_t code = 0; code < heldBack_.size(); ++code) {
    if (heldBack_[code] && key[code] == 0) heldBack_[code] = false;
    any_ = any_ || heldBack_[code];
  }
}

bool InputGate::heldBack(int code) const {
  return code >= 0 && code < KEY_MAX && heldBack_[static_cast<size_t>(code)];
}

bool InputGate::held(int code) const { return down(code) && !heldBack(code); }
