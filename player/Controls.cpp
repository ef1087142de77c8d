#include <allegro.h>

#include <vector>

#include "game/Game.h"
#include "shell/ConfigFields.h"

void Game::loadControls() {
  keyLeft = readConfig(config::keyLeft);
  keyRight = readConfig(config::keyRight);
  keyUp = readConfig(config::keyUp);
  keyDown = readConfig(config::keyDown);
  keyJump = readConfig(config::keyJump);
  keyPause = readConfig(config::keyPause);
  focusLossPause = readConfig(config::pauseOnFocusLoss);
  gamepad.settings.jumpButton = readConfig(config::joystickJump);
  gamepad.settings.deadZone = readConfig(config::deadZone);
  teleportCooldown = readConfig(config::teleportCooldown);
  chuteTolerance = readConfig(config::chuteTolerance);
  ladderHorizontalTolerance = readConfig(config::ladderHorizontalTolerance);
  ladderVerticalTolerance = readConfig(config::ladderVerticalTolerance);
}

void Game::holdBackHeldKeys() {
  std::vector<int> codes = {keyLeft, keyRight, keyUp, keyDown, keyJump, keyPause};
  // Every code a teleporter number can be chosen with; Escape still quits.
  for (int code = firstDigitCode + 1; code < KEY_MAX; ++code) {
    if (code != KEY_ESC) codes.push_back(code);
  }
  if (inputFromDevices) input.readDevices(gamepad.settings);
  gate.holdBackHeld(input, codes);
  gamepad.holdBackHeld(input.pad);
}
