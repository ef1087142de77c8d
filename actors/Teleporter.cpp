#include "actors/Teleporter.h"

#include "graphics/AlphaSprite.h"
#include "graphics/Collision.h"
#include "graphics/Pixel.h"

bool Teleporter::overlaps(BITMAP* frame, float left, float top) const {
  // Rectangles only: a pad's transparent margin still counts as inside it.
  if (frame == nullptr) return false;
  int playerLeft = toPixel(left);
  int playerTop = toPixel(top);
  return rectanglesOverlap(static_cast<float>(playerLeft), static_cast<float>(playerTop),
                           static_cast<float>(playerLeft + frame->w),
                           static_cast<float>(playerTop + frame->h), static_cast<float>(x),
                           static_cast<float>(y), static_cast<float>(x + width),
                           static_cast<float>(y + height));
}

void Teleporter::draw(BITMAP* target, bool cooldown) const {
  drawAlphaSprite(target, cooldown ? cooldown_image : image, x, y);
}
