#pragma once
// Positions are floats; every test of position turns them into a pixel by
// cutting toward zero (9.9 -> 9, -0.5 -> 0), never by rounding.
//
// A position beyond a billion pixels (a figure that has fallen or been sent
// far off any screen by extreme data) pins to that bound, and NaN reads as
// 0: a plain cast of such a value is undefined, and the bound leaves room to
// add figure and image sizes in int without overflowing.
inline constexpr float pixelLimit = 1.0e9f;

inline int toPixel(float v) {
  if (v != v) return 0;
  if (v > pixelLimit) return static_cast<int>(pixelLimit);
  if (v < -pixelLimit) return -static_cast<int>(pixelLimit);
  return static_cast<int>(v);
}
