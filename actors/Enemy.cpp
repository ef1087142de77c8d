#include "actors/Enemy.h"

#include <string>

#include "graphics/Collision.h"
#include "graphics/Pixel.h"
#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/SoundFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/Sound.h"

namespace {

// Animation indices by role: two per state, walking left then right.
constexpr int dangerousLeft = 0;
constexpr int dangerousRight = 1;
constexpr int vulnerableLeft = 2;
constexpr int vulnerableRight = 3;

}  // namespace

SharedSample loadEnemyDeathSound() {
  std::string path = mediaPath(std::string(audioDir) + "enemy_death.wav");
  log_message("%s", path.c_str());
  SAMPLE* sample = loadSoundFile(path);
  if (sample == nullptr) dataFailure(formatText("Error loading %s.", path.c_str()));
  return shareSample(sample);
}

Enemy::Enemy(int x, int y, int direction, int min_x, int max_x, float speed, int changes,
             int state, int safe_time, int points, SharedSample deathSample)
    : x(static_cast<float>(x)),
      y(static_cast<float>(y)),
      direction(direction),
      min_x(static_cast<float>(min_x)),
      max_x(static_cast<float>(max_x)),
      speed(speed),
      changes(changes != 0),
      state(state),
      safe_time(safe_time),
      points(points),
      death_sample(deathSample ? std::move(deathSample) : loadEnemyDeathSound()) {}

void Enemy::setAnimation(int index) {
  // A sprite only answers for animations it holds; anything else would read
  // past its list, so such a choice leaves the enemy as it was.
  if (index < 0 || index >= sprite.animationCount()) return;
  sprite.setAnimation(index);
  BITMAP* frame = sprite.currentFrame();
  width = frame->w;
  height = frame->h;
}

void Enemy::selectStartAnimation() {
  if (state == dangerous && direction == walkingLeft) {
    setAnimation(dangerousLeft);
  } else if (state == dangerous && direction == walkingRight) {
    setAnimation(dangerousRight);
  } else if (state == vulnerable && direction == walkingLeft) {
    setAnimation(vulnerableLeft);
  } else {
    setAnimation(vulnerableRight);
  }
}

void Enemy::setPosition(float newX, float newY) {
  x = newX;
  y = newY;
}

void Enemy::draw(BITMAP* target) const {
  const FigureCorner at = figureCorner(x, y, width, height);
  sprite.draw(target, at.left, at.top);
}

void Enemy::setState(int newState) {
  state = newState;
  if (state == vulnerable) {
    setAnimation(direction != walkingLeft ? vulnerableRight : vulnerableLeft);
  } else {
    setAnimation(direction != walkingLeft ? dangerousRight : dangerousLeft);
  }
}

void Enemy::patrol() {
  // A turning step does not move: the enemy may stand exactly on an end and
  // turns only in the step that would carry it past.
  if (direction == walkingRight) {
    float target = x + speed;
    if (target <= max_x) {
      x = target;
    } else {
      direction = walkingLeft;
      setAnimation(state != dangerous ? vulnerableLeft : dangerousLeft);
    }
  } else {
    float target = x - speed;
    if (target >= min_x) {
      x = target;
    } else {
      direction = walkingRight;
      setAnimation(state != dangerous ? vulnerableRight : dangerousRight);
    }
  }
  sprite.advance();
}

FigureBox touchingBox(BITMAP* frame, float left, float top) {
  const int playerLeft = toPixel(left);
  const int playerTop = toPixel(top);
  return {playerLeft, playerTop, playerLeft + frame->w, playerTop + frame->h};
}

bool Enemy::touches(BITMAP* frame, float left, float top) {
  // A figure with no frame on show (a sprite without that animation) has
  // nothing that could touch.
  BITMAP* own = sprite.currentFrame();
  if (frame == nullptr || own == nullptr) return false;
  const FigureBox player = touchingBox(frame, left, top);
  const FigureBox box = this->box();
  if (!rectanglesOverlap(static_cast<float>(player.left), static_cast<float>(player.top),
                         static_cast<float>(player.right), static_cast<float>(player.bottom),
                         static_cast<float>(box.left), static_cast<float>(box.top),
                         static_cast<float>(box.right), static_cast<float>(box.bottom))) {
    return false;
  }
  if (!imagesOverlap(static_cast<float>(player.left), static_cast<float>(player.top), frame,
                     static_cast<float>(box.left), static_cast<float>(box.top), own)) {
    return false;
  }
  log_message("Collision against enemy @: (%d, %d) - (%d, %d)", box.left, box.top, box.right,
              box.bottom);
  if (state == vulnerable) {
    playSample(death_sample.get());
    alive = false;
  }
  return true;
}
