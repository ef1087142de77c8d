#include <allegro.h>

#include <vector>

#include "game/Game.h"
#include "shell/FocusLoss.h"
#include "shell/Log.h"

namespace {

// key[] has KEY_MAX entries and is read with the configured code every tick,
// so a code outside it cannot be used; the key keeps its default instead.
int readKey(const char* name, int fallback) {
  int code = get_config_int("keyboard", name, fallback);
  if (code < 0 || code >= KEY_MAX) {
    log_message("Key code %d for \"%s\" is not a key; using %d.", code, name, fallback);
    return fallback;
  }
  return code;
}

// Tolerances and the cooldown go into pixel and tick arithmetic with
// positions; beyond a million they mean nothing on a screen and their sums
// would overflow int, so such a value keeps its default.
const int maxMechanicsValue = 1000000;

int readMechanics(const char* name, int fallback) {
  int value = get_config_int("mechanics", name, fallback);
  if (value < -maxMechanicsValue || value > maxMechanicsValue) {
    log_message("Mechanics value %d for \"%s\" is outside -%d to %d; using %d.", value, name,
                maxMechanicsValue, maxMechanicsValue, fallback);
    return fallback;
  }
  return value;
}

// The jump button indexes joy[0]'s buttons and the dead zone is compared
// with stick positions; values no joystick can report keep their defaults.
Gamepad::Settings readJoystick() {
  Gamepad::Settings settings;
  const int button = get_config_int("joystick", "jump", Gamepad::defaultJumpButton);
  if (button < 0 || button >= Gamepad::buttonCount) {
    log_message("Joystick button %d for \"jump\" is not a button; using %d.", button,
                Gamepad::defaultJumpButton);
  } else {
    settings.jumpButton = button;
  }
  const int zone = get_config_int("joystick", "dead_zone", Gamepad::defaultDeadZone);
  if (zone < 0 || zone > Gamepad::fullTravel) {
    log_message("Joystick dead zone %d is outside 0 to %d; using %d.", zone, Gamepad::fullTravel,
                Gamepad::defaultDeadZone);
  } else {
    settings.deadZone = zone;
  }
  return settings;
}

// [game] pause_on_focus_loss is one of the three choices; anything else
// keeps pausing until the key, as the game always did.
int readFocusLossPause() {
  const int choice = get_config_int("game", "pause_on_focus_loss", defaultFocusLossPause);
  if (choice < focusLossIgnored || choice > focusLossPausesUntilBack) {
    log_message("pause_on_focus_loss %d is not 0, 1 or 2; using %d.", choice,
                defaultFocusLossPause);
    return defaultFocusLossPause;
  }
  return choice;
}

}  // namespace

void Game::loadControls() {
  keyLeft = readKey("left", KEY_LEFT);
  keyRight = readKey("right", KEY_RIGHT);
  keyUp = readKey("up", KEY_UP);
  keyDown = readKey("down", KEY_DOWN);
  keyJump = readKey("jump", KEY_SPACE);
  keyPause = readKey("pause", KEY_P);
  focusLossPause = readFocusLossPause();
  gamepad.settings = readJoystick();
  teleportCooldown = readMechanics("teleport_cooldown", 200);
  chuteTolerance = readMechanics("chute_horiz_tol", 14);
  ladderHorizontalTolerance = readMechanics("ladder_horiz_tol", 6);
  ladderVerticalTolerance = readMechanics("ladder_vert_tol", 2);
}

void Game::holdBackHeldKeys() {
  std::vector<int> codes = {keyLeft, keyRight, keyUp, keyDown, keyJump, keyPause};
  // Every code a teleporter number can be chosen with; Escape still quits.
  for (int code = firstDigitCode + 1; code < KEY_MAX; ++code) {
    if (code != KEY_ESC) codes.push_back(code);
  }
  input.holdBackHeld(codes);
  gamepad.holdBackHeld();
}
