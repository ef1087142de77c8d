#include "player/InputGate.h"

void InputGate::holdBackHeld(const InputRecord& input, const std::vector<int>& codes) {
  for (int code : codes) {
    if (input.down(code)) heldBack_[static_cast<size_t>(code)] = any_ = true;
  }
}

// Every tick asks; mostly nothing is held back, and the table is not walked.
void InputGate::update(const InputRecord& input) {
  if (!any_) return;
  any_ = false;
  for (size_t code = 0; code < heldBack_.size(); ++code) {
    if (heldBack_[code] && !input.down(static_cast<int>(code))) heldBack_[code] = false;
    any_ = any_ || heldBack_[code];
  }
}

bool InputGate::heldBack(int code) const {
  return code >= 0 && code < KEY_MAX && heldBack_[static_cast<size_t>(code)];
}

bool InputGate::held(const InputRecord& input, int code) const {
  return input.down(code) && !heldBack(code);
}
