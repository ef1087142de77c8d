#include <allegro.h>

#include "game/Game.h"
#include "graphics/Pixel.h"
#include "shell/CloseButton.h"
#include "shell/Log.h"
#include "shell/Sound.h"

namespace {


void startJump(Game& game, int state) {
  Player& p = game.player;
  game.jumpApexY = p.y - p.jumpHeight;
  p.setJumpState(state);
  if (state == Player::risingLeft) {
    log_message("Player @ %.3f, %.3f jumping. Switching jump state to up left.", p.x, p.y);
    p.setAnimation(Player::airborneLeft);
  } else if (state == Player::risingRight) {
    log_message("Player @ %.3f, %.3f jumping. Switching jump state to up right.", p.x, p.y);
    p.setAnimation(Player::airborneRight);
  } else {
    log_message("Player @ %.3f, %.3f jumping. Switching jump state to up.", p.x, p.y);
    p.setAnimation(p.facing == 1 ? Player::airborneRight : Player::airborneLeft);
  }
  playSample(game.jumpSample.get());
}

// Only one walking sound at a time: a new one starts when the last has ended.
void walkSound(Game& game) {
  if (voiceSample(game.walkVoice) != game.walkSample.get()) {
    game.walkVoice = playSample(game.walkSample.get());
  }
}

// Off-screen jumps lose this tick's sideways step; the vertical one stands.
void leftEdge(Player& p, float stride) {
  if (p.x < 0.5f * p.width) {
    log_message("Player jumping off screen. Sending back to former position.");
    p.move(stride, 0.0f);
  }
}

void rightEdge(Player& p, float stride, int screenWidth) {
  if (p.x >= screenWidth - 0.5f * p.width) {
    log_message("Player jumping off screen. Sending back to former position.");
    p.move(-stride, 0.0f);
  }
}

// A descending jump lands on a tile whose top row is one or two rows below
// the feet' row; the feet stay where they are. Returns false when the drop
// killed the player.
bool landingTest(Game& game) {
  Player& p = game.player;
  int row = toPixel(p.y);
  bool landed =
      game.floorManager.isOnFloor(static_cast<float>(toPixel(p.x)), static_cast<float>(row)) ||
      game.floorManager.isOnFloor(p.x, static_cast<float>(row - 1));
  if (!landed) return true;
  if (game.fallDistance > p.maxDrop) {
    p.alive = false;
    return false;
  }
  p.setJumpState(Player::notJumping);
  game.fallDistance = 0.0f;
  log_message("Player @ %.3f, %.3f back on floor. Switching jump state to not jumping.", p.x, p.y);
  float feet = static_cast<float>(row);
  p.addScore(game.floorManager.claimAt(p.x, feet));
  p.addScore(game.floorManager.claimAt(p.x - p.width * 0.5f, feet));
  p.addScore(game.floorManager.claimAt(p.x + p.width * 0.5f, feet));
  p.setAnimation(p.facing == 1 ? Player::walkRight : Player::walkLeft);
  return true;
}

}  // namespace

void Game::handleInput() {
  input.update();
  if (held(KEY_ESC) || closeRequested()) quit = true;
  if (!player.hasControl) return;

  Player& p = player;
  const int H = ladderHorizontalTolerance;
  const int V = ladderVerticalTolerance;
  // Between a ladder's top and bottom zones the player hangs on it and
  // cannot walk away.
  auto freeToWalk = [&]() {
    const Ladder& ladder = p.currentLadder;
    return !p.falling && p.jumpState == Player::notJumping &&
           (!ladder.isOn(p.x, p.y, H, V) || ladder.isAtTop(p.x, p.y, H, V) ||
            ladder.isAtBottom(p.x, p.y, H, V));
  };
  auto freeToJump = [&]() {
    return !p.falling && !p.currentLadder.isOn(p.x, p.y, H, V) && p.jumpState == Player::notJumping;
  };

  if (held(keyLeft) && freeToWalk()) {
    if (p.sprite.animationIndex() != Player::walkLeft) {
      log_message("Player changing direction to left.");
      p.setFacing(0);
      p.setAnimation(Player::walkLeft);
    }
    if (p.x >= static_cast<float>(p.width / 2)) p.move(-p.walkSpeed, 0.0f);
    p.sprite.advance();
    walkSound(*this);
  }
  if (held(keyRight) && freeToWalk()) {
    if (p.sprite.animationIndex() != Player::walkRight) {
      log_message("Player changing direction to right.");
      p.setFacing(1);
      p.setAnimation(Player::walkRight);
    }
    if (p.x <= static_cast<float>(width - p.width / 2)) p.move(p.walkSpeed, 0.0f);
    p.sprite.advance();
    walkSound(*this);
  }

  // Walking came first, so a jump starts from where the walk left the player.
  if (held(keyJump) && held(keyLeft) && freeToJump()) startJump(*this, Player::risingLeft);
  if (held(keyJump) && held(keyRight) && freeToJump()) startJump(*this, Player::risingRight);
  if (held(keyJump) && !held(keyLeft) && !held(keyRight) && freeToJump()) {
    startJump(*this, Player::risingUp);
  }

  climbKeys();
  teleportKeys();
}

void Game::jumpStep() {
  Player& p = player;
  const float v = p.jumpSpeed;
  const float h = p.jumpSpeed * p.jumpStride;

  // Rising handlers first, so the tick that reaches the apex also takes the
  // first step down.
  if (p.jumpState == Player::risingUp) {
    p.move(0.0f, -v);
    if (p.y <= jumpApexY) {
      log_message(
          "Player @ %.3f, %.3f has exceeded jump height (%.3f). Switching jump state to down.", p.x,
          p.y, jumpApexY);
      p.move(0.0f, v);
      p.setJumpState(Player::descendingDown);
    }
  }
  if (p.jumpState == Player::risingLeft) {
    p.move(-h, -v);
    if (p.y <= jumpApexY) {
      log_message(
          "Player @ %.3f, %.3f has exceeded jump height (%.3f). Switching jump state to down "
          "left.",
          p.x, p.y, jumpApexY);
      p.move(h, v);
      p.setJumpState(Player::descendingLeft);
    }
    leftEdge(p, h);
  }
  if (p.jumpState == Player::risingRight) {
    p.move(h, -v);
    if (p.y <= jumpApexY) {
      log_message(
          "Player @ %.3f, %.3f has exceeded jump height (%.3f). Switching jump state to down "
          "right.",
          p.x, p.y, jumpApexY);
      p.move(-h, v);
      p.setJumpState(Player::descendingRight);
    }
    rightEdge(p, h, width);
  }
  if (p.jumpState == Player::descendingDown) {
    p.move(0.0f, v);
    fallDistance += v;
    if (!landingTest(*this)) return;
  }
  if (p.jumpState == Player::descendingLeft) {
    p.move(-h, v);
    fallDistance += v;
    leftEdge(p, h);
    if (!landingTest(*this)) return;
  }
  if (p.jumpState == Player::descendingRight) {
    p.move(h, v);
    fallDistance += v;
    rightEdge(p, h, width);
    if (!landingTest(*this)) return;
    // the descending-right state is the only jump state that animates
    p.sprite.advance();
  }
}

void Game::fallStep() {
  Player& p = player;
  if (!p.falling) return;
  p.move(0.0f, p.fallSpeed);
  fallDistance += p.fallSpeed;

  FloorTile tile;
  if (!floorManager.tileAt(p.x, p.y, tile)) return;
  if (fallDistance > p.maxDrop) {
    p.alive = false;
    playSample(fallDeathSample.get());
    return;
  }
  float top = static_cast<float>(tile.y - 1);
  log_message("Moving player from %.3f, %.3f to %.3f, %.3f.", p.x, p.y, p.x, top);
  p.setPosition(p.x, top);
  p.falling = false;
  fallDistance = 0.0f;
}

void Game::supportCheck() {
  Player& p = player;
  if (floorManager.isOnFloor(p.x, p.y)) {
    p.addScore(floorManager.claimAt(p.x, p.y));
    p.addScore(floorManager.claimAt(p.x - p.width * 0.5f, p.y));
    p.addScore(floorManager.claimAt(p.x + p.width * 0.5f, p.y));
    return;
  }
  if (!p.falling &&
      !p.currentLadder.isOn(p.x, p.y, ladderHorizontalTolerance, ladderVerticalTolerance) &&
      p.jumpState == Player::notJumping) {
    log_message("Player @ %.3f, %.3f now falling.", p.x, p.y);
    p.falling = true;
  }
}
