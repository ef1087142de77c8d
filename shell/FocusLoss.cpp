#include "shell/FocusLoss.h"

#include <allegro.h>

#include <atomic>

namespace {

std::atomic<bool> out{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from Allegro's event thread");

void onSwitchOut() { out = true; }
void onSwitchIn() { out = false; }

}  // namespace

void watchFocus() {
  // A new display mode keeps them or not; they are never there twice.
  remove_display_switch_callback(onSwitchOut);
  remove_display_switch_callback(onSwitchIn);
  set_display_switch_callback(SWITCH_OUT, onSwitchOut);
  set_display_switch_callback(SWITCH_IN, onSwitchIn);
}

bool focusOut() { return out; }

void setFocusOut(bool value) { out = value; }

int focusLossTicks(int updatesPerSecond) {
  const int quarterSecond = updatesPerSecond / 4;
  return quarterSecond > 0 ? quarterSecond : 1;
}
