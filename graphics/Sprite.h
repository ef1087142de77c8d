#pragma once
// The animations of one moving figure and the choice of the one on show.
// Knows nothing of positions: the owner keeps those.
#include <allegro.h>

#include <vector>

#include "graphics/Animation.h"

class Sprite {
 public:
  void addAnimation(const Animation& animation);  // appends a copy
  void setAnimation(int index);                   // nothing else changes
  BITMAP* currentFrame() const;
  void advance();                                 // only the current animation
  // Animation::seek on one of the animations; an index never added is ignored.
  void seek(int animation, int frameIndex, int frameTicks);
  void draw(BITMAP* target, int x, int y) const;

  int animationIndex() const { return animationIndex_; }
  int animationCount() const { return static_cast<int>(animations_.size()); }
  const Animation& animation(int index) const { return animations_[index]; }

 private:
  friend struct TickLedger;  // the search's capture lists every field: a new one is placed there
  bool hasCurrent() const;  // the selected index names an added animation

  std::vector<Animation> animations_;  // index = order of adding
  int animationIndex_ = 0;             // current animation
};
