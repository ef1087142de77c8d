#include <allegro.h>

#include "game/Game.h"
#include "graphics/Pixel.h"
#include "player/KeyRelease.h"
#include "shell/Log.h"

void Game::climbKeys() {
  Player& p = player;
  const int H = ladderHorizontalTolerance;
  const int V = ladderVerticalTolerance;

  // A ladder's head or foot where the player already stands on a floor is
  // no place to climb further in that direction.
  if (held(keyUp) && !p.falling && p.jumpState == Player::notJumping &&
      ladderManager->ladderAt(p.x, p.y, p.currentLadder)) {
    if (!(p.currentLadder.isAtTop(p.x, p.y, H, V) && floorManager.isOnFloor(p.x, p.y))) {
      if (p.climbDirection != Player::climbingUp) p.setClimbDirection(Player::climbingUp);
      if (!p.climbStep) {
        p.climbStep = true;
        p.setAnimation(Player::climb);
      }
    }
  }
  // Down comes second, so with both keys held it decides the direction.
  if (held(keyDown) && !p.falling && p.jumpState == Player::notJumping &&
      ladderManager->ladderAt(p.x, p.y, p.currentLadder)) {
    if (!(p.currentLadder.isAtBottom(p.x, p.y, H, V) && floorManager.isOnFloor(p.x, p.y))) {
      if (p.climbDirection != Player::climbingDown) p.setClimbDirection(Player::climbingDown);
      if (!p.climbStep) {
        p.climbStep = true;
        p.setAnimation(Player::climb);
      }
    }
  }
}

void Game::climbStep() {
  Player& p = player;
  const Ladder& ladder = p.currentLadder;
  // A step that would leave the ladder stops at its end and leaves the
  // climb animation where it was.
  if (p.climbDirection == Player::climbingUp) {
    p.move(0.0f, -p.climbSpeed);
    if (toPixel(p.y) < ladder.y) {
      p.setPosition(p.x, static_cast<float>(ladder.y - 1));
    } else {
      p.sprite.advance();
    }
  } else {
    p.move(0.0f, p.climbSpeed);
    if (toPixel(p.y) > ladder.y + ladder.height) {
      p.setPosition(p.x, static_cast<float>(ladder.y + ladder.height));
    } else {
      p.sprite.advance();
    }
  }
  p.climbStep = false;
}

void Game::chuteStep() {
  Player& p = player;
  if (!p.onChute) {
    // The left foot at a chute's upper end takes the player in, whatever it
    // was doing.
    Chute chute;
    if (chuteManager->entryAt(p.frameLeft(), p.y, chute)) enterChute(chute);
    return;
  }

  // The slide ends by its length alone; the step that overshoots is undone.
  const float dx = p.slideDx * p.slideFactor;
  const float dy = p.slideDy * p.slideFactor;
  p.move(dx, dy);
  if (toPixel(p.y) - slideTop <= slideLength) return;
  p.move(-dx, -dy);
  p.onChute = false;
  p.setAnimation(p.facing == Player::facingRight ? Player::walkRight : Player::walkLeft);
  FloorTile tile;
  if (floorManager.tileAt(p.x, p.y, tile)) p.setPosition(p.x, static_cast<float>(tile.y - 1));
  p.addScore(floorManager.claimAt(p.x, p.y));
  p.hasControl = true;
}

void Game::enterChute(const Chute& chute) {
  Player& p = player;
  log_message("Chute dx: %d dy: %d top: %d height: %d", chute.dx, chute.dy, chute.y,
              chute.height);
  slideTop = chute.y;
  slideLength = chute.height;
  int stepWidth = chute.graphic != nullptr ? chute.graphic->w : 0;
  p.setPosition(static_cast<float>(chute.x + stepWidth / 2), static_cast<float>(chute.y));
  p.hasControl = false;
  p.onChute = true;
  if (chute.direction == 0) {
    p.setAnimation(Player::airborneLeft);
    p.setFacing(Player::facingLeft);
  } else if (chute.direction == 1) {
    p.setAnimation(Player::airborneRight);
    p.setFacing(Player::facingRight);
  } else {
    p.setAnimation(p.facing == Player::facingRight ? Player::airborneRight : Player::airborneLeft);
  }
  p.setSlideVector(chute.direction == 0 ? -chute.dx : chute.dx, chute.dy);
}

void Game::teleportKeys() {
  Player& p = player;
  const int count = teleporterManager.count();
  for (int n = 1; n <= count; ++n) {
    // Asked for every number every tick, so the detector sees each press
    // and release even when the teleport is refused.
    // A digit held since before play began is neither a press nor, when it
    // comes up, a release.
    const int code = firstDigitCode + n;
    if (inputSource.gate.heldBack(code)) continue;
    if (!keyReleased(code, input.down(code))) continue;
    // A release while busy is used up: the key has to be pressed again.
    if (p.climbStep || p.falling || p.jumpState != Player::notJumping || teleportCooldownActive) continue;
    BITMAP* frame = p.sprite.currentFrame();
    if (frame == nullptr) continue;
    if (!teleporterManager.findOccupied(frame, p.frameLeft(), p.frameTop(), p.currentTeleporter)) {
      continue;
    }
    if (p.currentTeleporter.number == n) continue;
    float destinationX = 0.0f;
    float destinationY = 0.0f;
    teleporterManager.destination(n, destinationX, destinationY);
    if (destinationX == -1.0f) continue;
    p.setPosition(destinationX, destinationY);
    teleportCooldownActive = true;
    teleportCooldownTicks = 0;
  }
}

void Game::cooldownCount() {
  if (!teleportCooldownActive) return;
  ++teleportCooldownTicks;
  if (teleportCooldownTicks > teleportCooldown) teleportCooldownActive = false;
}
