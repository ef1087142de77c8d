#pragma once
// Making the bitmap of a ladder or chute image from level-given sizes.
#include <allegro.h>

#include "graphics/BitmapSize.h"

// A bitmap of width x height at the current colour depth, or nullptr when it
// cannot be made. A size whose byte count Allegro cannot hold is refused here
// as a failure instead of being handed on.
inline BITMAP* createBuiltBitmap(int width, int height) {
  if (!bitmapSizeFits(width, height, get_color_depth())) return nullptr;
  return create_bitmap(width, height);
}
