#include "shell/CloseButton.h"

#include <allegro.h>

#include <atomic>

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from Allegro's event thread");

void onClose() { requested = true; }

}  // namespace

void watchCloseButton() { set_close_button_callback(onClose); }

bool closeRequested() { return requested; }

void setCloseRequested(bool value) { requested = value; }
