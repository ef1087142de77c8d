#include "graphics/Sprite.h"

void Sprite::addAnimation(const Animation& animation) { animations_.push_back(animation); }

void Sprite::setAnimation(int index) { animationIndex_ = index; }

// An index the owner never added selects nothing: no frame, nothing drawn,
// nothing advanced, rather than a read past the end of the list.
BITMAP* Sprite::currentFrame() const {
  return hasCurrent() ? animations_[animationIndex_].currentFrame() : nullptr;
}

void Sprite::advance() {
  if (hasCurrent()) animations_[animationIndex_].advance();
}

void Sprite::seek(int animation, int frameIndex, int frameTicks) {
  if (animation >= 0 && animation < static_cast<int>(animations_.size())) {
    animations_[animation].seek(frameIndex, frameTicks);
  }
}

void Sprite::draw(BITMAP* target, int x, int y) const {
  if (hasCurrent()) animations_[animationIndex_].draw(target, x, y);
}

bool Sprite::hasCurrent() const {
  return animationIndex_ >= 0 && animationIndex_ < static_cast<int>(animations_.size());
}
