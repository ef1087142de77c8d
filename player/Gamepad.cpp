#include "player/Gamepad.h"

namespace {

unsigned bit(int control) { return 1u << control; }

// An axis counts one way when its position is at least the dead zone out;
// a dead zone of 0 still leaves the centre itself. Allegro's digital flags
// are not looked at: its Linux driver raises them a quarter of the way
// out, whatever dead zone is set, and a digital pad shows its pushes as
// positions at the ends of the travel anyway.
void readAxis(const JOYSTICK_AXIS_INFO& axis, int deadZone, int less, int more, unsigned& down) {
  if (axis.pos < 0 && -axis.pos >= deadZone) down |= bit(less);
  if (axis.pos > 0 && axis.pos >= deadZone) down |= bit(more);
}

// Only the axes and buttons the driver reports are looked at: the rest of
// joy[0] holds nothing.
unsigned controlsDown(const Gamepad::Settings& settings) {
  const JOYSTICK_INFO& pad = joy[0];
  unsigned down = 0;
  if (pad.num_sticks > 0) {
    const JOYSTICK_STICK_INFO& stick = pad.stick[0];
    const int zone = settings.deadZone;
    if (stick.num_axis > 0) readAxis(stick.axis[0], zone, Gamepad::left, Gamepad::right, down);
    if (stick.num_axis > 1) readAxis(stick.axis[1], zone, Gamepad::up, Gamepad::down, down);
  }
  const int button = settings.jumpButton;
  if (button >= 0 && button < pad.num_buttons && pad.button[button].b != 0) {
    down |= bit(Gamepad::jump);
  }
  return down;
}

}  // namespace

// Without a joystick nothing is polled: the keyboard alone costs what it did.
unsigned Gamepad::poll(const Settings& settings) {
  if (num_joysticks <= 0) return 0;
  // A failed poll leaves joy[0] as it was last seen, which is all there is.
  poll_joystick();
  return controlsDown(settings);
}

void Gamepad::update(unsigned down) {
  down_ = down;
  heldBack_ &= down_;
}

void Gamepad::holdBackHeld(unsigned down) {
  update(down);
  heldBack_ = down_;
}

bool Gamepad::actsAs(int code, const Codes& codes) const {
  const unsigned acting = down_ & ~heldBack_;
  if (acting == 0) return false;
  for (int control = 0; control < controlCount; ++control) {
    if ((acting & bit(control)) != 0 && codes[static_cast<size_t>(control)] == code) return true;
  }
  return false;
}

bool joystickButtonDown() {
  if (num_joysticks <= 0) return false;
  poll_joystick();
  for (int b = 0; b < joy[0].num_buttons; ++b) {
    if (joy[0].button[b].b != 0) return true;
  }
  return false;
}
