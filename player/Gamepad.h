#pragma once
// The first joystick, read as the keyboard's five game keys: its stick or
// pad walks and climbs, one button jumps. Each tick reads it once, so that
// every question asked in that tick gets the same answer.
#include <allegro.h>

#include <array>

class Gamepad {
 public:
  // The controls, in the order of the key codes they act as.
  enum Control { left, right, up, down, jump, controlCount };
  using Codes = std::array<int, controlCount>;  // key code each control acts as

  // Allegro's analogue positions run from -fullTravel to fullTravel (its
  // Linux driver stops at 127 either way).
  static constexpr int fullTravel = 128;
  // Allegro reports this many buttons at most; a jump button is an index below it.
  static constexpr int buttonCount = MAX_JOYSTICK_BUTTONS;
  static constexpr int defaultJumpButton = 0;  // the first button
  // A stick resting off centre, or drifting with wear, must not walk the
  // player; 48 of 128 is well clear of that and still inside half a push.
  static constexpr int defaultDeadZone = 48;

  struct Settings {
    int jumpButton = defaultJumpButton;  // button index, 0 to buttonCount - 1
    int deadZone = defaultDeadZone;      // stick positions nearer centre than this are centred
  };

  // Polls joy[0], when there is a joystick: the controls down now, one bit
  // each; 0 without a joystick.
  static unsigned poll(const Settings& settings);
  // Keeps the controls down in this tick (a tick's input record holds
  // them); once a tick, before any control is asked for. A control held
  // back is let go once it is up.
  void update(unsigned down);
  void read() { update(poll(settings)); }  // from the joystick itself
  // Holds back every control down now until it is released once.
  void holdBackHeld(unsigned down);
  // Some control down at the last read, and not held back, acts as code.
  bool actsAs(int code, const Codes& codes) const;

  Settings settings;

 private:
  unsigned down_ = 0;      // controls down at the last read, one bit each
  unsigned heldBack_ = 0;  // controls held back until released
};

// Some button of the first joystick is down: any of them skips the title
// card, as any key does. Polls it; without a joystick, nothing is polled.
bool joystickButtonDown();
