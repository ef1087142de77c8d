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
  pause.keyPause = readConfig(config::keyPause);
  pause.focusLossPause = readConfig(config::pauseOnFocusLoss);
  inputSource.gamepad.settings.jumpButton = readConfig(config::joystickJump);
  inputSource.gamepad.settings.deadZone = readConfig(config::deadZone);
  teleportCooldown = readConfig(config::teleportCooldown);
  chuteTolerance = readConfig(config::chuteTolerance);
  ladderHorizontalTolerance = readConfig(config::ladderHorizontalTolerance);
  ladderVerticalTolerance = readConfig(config::ladderVerticalTolerance);
}

void Game::holdBackHeldKeys() {
  std::vector<int> codes = {keyLeft, keyRight, keyUp, keyDown, keyJump, pause.keyPause};
  // Every code a teleporter number can be chosen with; Escape still quits.
  for (int code = firstDigitCode + 1; code < KEY_MAX; ++code) {
    if (code != KEY_ESC) codes.push_back(code);
  }
  if (inputSource.inputFromDevices) input.readDevices(inputSource.gamepad.settings);
  inputSource.gate.holdBackHeld(input, codes);
  inputSource.gamepad.holdBackHeld(input.pad);
}
