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

// A figure stands with x at its centre and y on its lowest row; its
// picture's corner is therefore half its width left and its height less
// one up. Drawing and the frame's bookkeeping both place it here.
struct FigureCorner {
  int left;
  int top;
};

inline FigureCorner figureCorner(float x, float y, int width, int height) {
  return {toPixel(x) - width / 2, toPixel(y) - height + 1};
}
