#pragma once
// Making the bitmap of a ladder or chute image from level-given sizes.
#include <allegro.h>

#include <climits>
#include <cstdint>

// A bitmap of width x height at the current colour depth, or nullptr when it
// cannot be made. Allegro sizes the pixel buffer in an int, so a size whose
// byte count does not fit would wrap into a too-small buffer; such a size is
// refused here as a failure instead of being handed on.
inline BITMAP* createBuiltBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const int64_t bytesPerPixel = (get_color_depth() + 7) / 8;
  if (static_cast<int64_t>(width) * height * bytesPerPixel > INT_MAX) return nullptr;
  return create_bitmap(width, height);
}
