#pragma once
// Whether Allegro can make a bitmap of a given size.
#include <climits>
#include <cstdint>

// Allegro sizes a bitmap's pixel memory as width x height x bytes per pixel
// in an int. A product beyond that wraps: to a negative size, and the bitmap
// is refused; to a small positive one, and rows are written far past the
// buffer (a 32768 x 32768 screen at 32 bits wraps to 0 and aborts in malloc).
// Sides of 0 or below make no bitmap either.
inline bool bitmapSizeFits(int width, int height, int colourDepth) {
  if (width <= 0 || height <= 0) return false;
  const int64_t bytesPerPixel = (colourDepth + 7) / 8;
  return static_cast<int64_t>(width) * height * bytesPerPixel <= INT_MAX;
}
