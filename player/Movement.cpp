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
    p.setAnimation(p.facing == Player::facingRight ? Player::airborneRight : Player::airborneLeft);
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

// Feet on a row claim the tiles under the centre and under both edges of
// the frame, in that order.
void claimUnderFeet(Game& game, float feet) {
  Player& p = game.player;
  p.addScore(game.floorManager.claimAt(p.x, feet));
  p.addScore(game.floorManager.claimAt(p.frameLeft(), feet));
  p.addScore(game.floorManager.claimAt(p.x + p.width * 0.5f, feet));
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
  claimUnderFeet(game, static_cast<float>(row));
  p.setAnimation(p.facing == Player::facingRight ? Player::walkRight : Player::walkLeft);
  return true;
}

}  // namespace

namespace {

// Between a ladder's top and bottom zones the player hangs on it and
// cannot walk away.
bool freeToWalk(const Game& game) {
  const Player& p = game.player;
  const Ladder& ladder = p.currentLadder;
  const int H = game.ladderHorizontalTolerance;
  const int V = game.ladderVerticalTolerance;
  return !p.falling && p.jumpState == Player::notJumping &&
         (!ladder.isOn(p.x, p.y, H, V) || ladder.isAtTop(p.x, p.y, H, V) ||
          ladder.isAtBottom(p.x, p.y, H, V));
}

bool freeToJump(const Game& game) {
  const Player& p = game.player;
  return !p.falling && !game.onLadder(p.currentLadder, p.x, p.y) &&
         p.jumpState == Player::notJumping;
}

// One tick of walking the way the facing says, stopping at the screen's edge.
void walk(Game& game, int facing) {
  Player& p = game.player;
  const bool left = facing == Player::facingLeft;
  const int animation = left ? Player::walkLeft : Player::walkRight;
  if (p.sprite.animationIndex() != animation) {
    log_message("Player changing direction to %s.", left ? "left" : "right");
    p.setFacing(facing);
    p.setAnimation(animation);
  }
  if (left && p.x >= static_cast<float>(p.width / 2)) p.move(-p.walkSpeed, 0.0f);
  if (facing == Player::facingRight && p.x <= static_cast<float>(game.width - p.width / 2)) {
    p.move(p.walkSpeed, 0.0f);
  }
  p.sprite.advance();
  walkSound(game);
}

}  // namespace

void Game::takeInput() {
  if (inputSource.inputFromDevices) input.readDevices(inputSource.gamepad.settings);
  inputSource.gamepad.update(input.pad);
  inputSource.gate.update(input);
}

void Game::handleInput() {
  takeInput();
  if (held(KEY_ESC) || closeRequested()) quit = true;
  if (!player.hasControl) return;
  walkKeys();
  // Walking came first, so a jump starts from where the walk left the player.
  jumpKeys();
  climbKeys();
  teleportKeys();
}

void Game::walkKeys() {
  if (held(keyLeft) && freeToWalk(*this)) walk(*this, Player::facingLeft);
  if (held(keyRight) && freeToWalk(*this)) walk(*this, Player::facingRight);
}

void Game::jumpKeys() {
  if (held(keyJump) && held(keyLeft) && freeToJump(*this)) startJump(*this, Player::risingLeft);
  if (held(keyJump) && held(keyRight) && freeToJump(*this)) startJump(*this, Player::risingRight);
  if (held(keyJump) && !held(keyLeft) && !held(keyRight) && freeToJump(*this)) {
    startJump(*this, Player::risingUp);
  }
}

namespace {

// One half of a jump in one direction: its state, which way it goes
// sideways (-1 left, 0 straight, 1 right), and for a rise the descent
// that follows it.
struct JumpHalf {
  int state;
  float side;
  int next;          // the descent after a rise; unused for a descent
  const char* name;  // the descent's name in the log
};

// Rising halves first, so the tick that reaches the apex also takes the
// first step down.
const JumpHalf rises[] = {
    {Player::risingUp, 0.0f, Player::descendingDown, "down"},
    {Player::risingLeft, -1.0f, Player::descendingLeft, "down left"},
    {Player::risingRight, 1.0f, Player::descendingRight, "down right"},
};
const JumpHalf descents[] = {
    {Player::descendingDown, 0.0f, 0, ""},
    {Player::descendingLeft, -1.0f, 0, ""},
    {Player::descendingRight, 1.0f, 0, ""},
};

// Keeps a sideways step on the screen.
void keepOnScreen(Player& p, float side, float h, int width) {
  if (side < 0.0f) leftEdge(p, h);
  if (side > 0.0f) rightEdge(p, h, width);
}

}  // namespace

void Game::jumpStep() {
  Player& p = player;
  const float v = p.jumpSpeed;
  const float h = p.jumpSpeed * p.jumpStride;
  for (const JumpHalf& rise : rises) {
    if (p.jumpState != rise.state) continue;
    const float dx = rise.side == 0.0f ? 0.0f : rise.side * h;
    p.move(dx, -v);
    if (p.y <= jumpApexY) {
      log_message(
          "Player @ %.3f, %.3f has exceeded jump height (%.3f). Switching jump state to %s.", p.x,
          p.y, jumpApexY, rise.name);
      p.move(-dx, v);
      p.setJumpState(rise.next);
    }
    keepOnScreen(p, rise.side, h, width);
  }
  for (const JumpHalf& descent : descents) {
    if (p.jumpState != descent.state) continue;
    p.move(descent.side == 0.0f ? 0.0f : descent.side * h, v);
    fallDistance += v;
    keepOnScreen(p, descent.side, h, width);
    if (!landingTest(*this)) return;
    // the descending-right state is the only jump state that animates
    if (descent.state == Player::descendingRight) p.sprite.advance();
  }
}

bool Game::onLadder(const Ladder& ladder, float x, float y) const {
  return ladder.isOn(x, y, ladderHorizontalTolerance, ladderVerticalTolerance);
}

// The same steps as a rise in jumpStep, float for float.
float Game::jumpPeak(float y) const {
  const float v = player.jumpSpeed;
  if (!(v > 0.0f)) return y;  // a rise that never climbs
  const float apex = y - player.jumpHeight;
  float peak = y;
  // A step too small to change the float, or a rise of millions of steps,
  // is no jump any level could show: stop counting rather than spin.
  for (int step = 0; step < 1000000 && peak - v > apex && peak - v < peak; ++step) peak -= v;
  return peak;
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
    claimUnderFeet(*this, p.y);
    return;
  }
  if (!p.falling && !onLadder(p.currentLadder, p.x, p.y) && p.jumpState == Player::notJumping) {
    log_message("Player @ %.3f, %.3f now falling.", p.x, p.y);
    p.falling = true;
  }
}
