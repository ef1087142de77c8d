#include "actors/Item.h"

#include "graphics/AlphaSprite.h"
#include "graphics/Collision.h"
#include "graphics/Pixel.h"
#include "shell/Log.h"

bool Item::touches(BITMAP* frame, float left, float top) {
  if (!present || frame == nullptr || image == nullptr) return false;
  int playerLeft = toPixel(left);
  int playerTop = toPixel(top);
  int right = x + width;
  int bottom = y + height;
  if (!rectanglesOverlap(static_cast<float>(playerLeft), static_cast<float>(playerTop),
                         static_cast<float>(playerLeft + frame->w),
                         static_cast<float>(playerTop + frame->h), static_cast<float>(x),
                         static_cast<float>(y), static_cast<float>(right),
                         static_cast<float>(bottom))) {
    return false;
  }
  if (!imagesOverlap(static_cast<float>(playerLeft), static_cast<float>(playerTop), frame,
                     static_cast<float>(x), static_cast<float>(y), image)) {
    return false;
  }
  log_message("Collision against item @: (%d, %d) - (%d, %d)", x, y, right, bottom);
  present = false;
  return true;
}

void Item::draw(BITMAP* target) const { drawAlphaSprite(target, image, x, y); }
