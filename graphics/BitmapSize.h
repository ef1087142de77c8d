#pragma once
// Whether Allegro can make a bitmap of a given size.
#include <climits>
#include <cstdint>

// X11 carries window sizes and drawing coordinates in 16 bits: no screen,
// and no picture meant for one, is wider or taller than this.
inline constexpr int maxBitmapSide = 32767;

// Allegro sizes a bitmap's pixel memory as width x height x bytes per pixel
// in an int. A product beyond that wraps: to a negative size, and the bitmap
// is refused; to a small positive one, and rows are written far past the
// buffer (a 32768 x 32768 screen at 32 bits wraps to 0 and aborts in malloc).
inline constexpr int64_t maxBitmapBytes = INT_MAX;

// Sides of 0 or below make no bitmap either.
inline bool bitmapSizeFits(int width, int height, int colourDepth) {
  if (width <= 0 || height <= 0) return false;
  const int64_t bytesPerPixel = (colourDepth + 7) / 8;
  return static_cast<int64_t>(width) * height * bytesPerPixel <= maxBitmapBytes;
}
