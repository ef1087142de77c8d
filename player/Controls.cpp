#include <allegro.h>

#include "game/Game.h"
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

}  // namespace

void Game::loadControls() {
  keyLeft = readKey("left", KEY_LEFT);
  keyRight = readKey("right", KEY_RIGHT);
  keyUp = readKey("up", KEY_UP);
  keyDown = readKey("down", KEY_DOWN);
  keyJump = readKey("jump", KEY_SPACE);
  teleportCooldown = get_config_int("mechanics", "teleport_cooldown", 200);
  chuteTolerance = get_config_int("mechanics", "chute_horiz_tol", 14);
  ladderHorizontalTolerance = get_config_int("mechanics", "ladder_horiz_tol", 6);
  ladderVerticalTolerance = get_config_int("mechanics", "ladder_vert_tol", 2);
}
