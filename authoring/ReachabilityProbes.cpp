// What a tick's step from a state can reach, asked while a state is
// expanded: a teleporter the digit keys can use, a ladder the climbing
// keys can find. Both move the game's own player and put it back.
#include "authoring/Reachability.h"

#include "actors/Teleporter.h"
#include "game/Game.h"

// Whether a digit released in the tick after `end` may teleport: the
// teleport keys then need the player under control, standing, the cooldown
// over and a teleporter overlapped where that tick's walking leaves the
// player.
bool Reachability::mayTeleportNext(const TickState& end) {
  if (!end.has(TickState::hasControl) || end.has(TickState::falling) ||
      end.jumpState != Player::notJumping || end.has(TickState::cooldownActive)) {
    return false;
  }
  Player& p = game_.player;
  const float x = p.x;
  const float y = p.y;
  const int width = p.width;
  bool near = false;
  for (int walk = 0; walk < 4 && !near; ++walk) {
    p.setPosition(end.x, end.y);
    if (walk == 1 || walk == 3) p.move(-p.walkSpeed, 0.0f);
    if (walk == 2 || walk == 3) p.move(p.walkSpeed, 0.0f);
    for (BITMAP* frame : frameSizes_) {
      p.width = frame->w;
      Teleporter occupied;
      near = near || game_.teleporterManager.findOccupied(frame, p.frameLeft(), p.frameTop(),
                                                          occupied);
    }
  }
  p.setPosition(x, y);
  p.width = width;
  return near;
}

// Whether the climbing keys can find a ladder in a tick from the state:
// they look where that tick's walking leaves the player.
bool Reachability::ladderWithinStep(const TickState& state) {
  if (game_.ladderManager->ladders().empty()) return false;
  Player& p = game_.player;
  Ladder found;
  for (int walk = 0; walk < 4; ++walk) {
    p.setPosition(state.x, state.y);
    if (walk == 1 || walk == 3) p.move(-p.walkSpeed, 0.0f);
    if (walk == 2 || walk == 3) p.move(p.walkSpeed, 0.0f);
    if (game_.ladderManager->ladderAt(p.x, p.y, found)) return true;
  }
  return false;
}
