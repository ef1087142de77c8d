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

// A figure stands with x at its centre and y on its lowest row. Its box
// reaches half its width (cut) either side of the centre's column and from
// its height less one above the feet' row down to it, edges included; for
// an even width the right edge is one column past the picture. The
// picture's corner is the box's: drawing, the frame's bookkeeping, the
// editor's outline and an enemy's collisions all place it here.
struct FigureBox {
  int left;
  int top;
  int right;
  int bottom;
};

inline FigureBox figureBox(float x, float y, int width, int height) {
  const int centre = toPixel(x);
  const int feet = toPixel(y);
  return {centre - width / 2, feet - height + 1, centre + width / 2, feet};
}

// How near two boxes come: the pixels one must move toward the other,
// straight or diagonally, before they overlap as a collision counts it
// (edges included, graphics/Collision's rectanglesOverlap); 0 when they do.
inline int boxGap(const FigureBox& a, const FigureBox& b) {
  const int across = a.left > b.right ? a.left - b.right : b.left > a.right ? b.left - a.right : 0;
  const int down = a.top > b.bottom ? a.top - b.bottom : b.top > a.bottom ? b.top - a.bottom : 0;
  return across > down ? across : down;
}

struct FigureCorner {
  int left;
  int top;
};

inline FigureCorner figureCorner(float x, float y, int width, int height) {
  const FigureBox box = figureBox(x, y, width, height);
  return {box.left, box.top};
}

// The player's collisions place its frame by halving the width in float
// before any cut, so this corner is not figureCorner's: at x = 10.3 a
// frame 11 wide is tested from column 4 (4.8 cut) but drawn from column 5.
// The chute entry reads its left edge uncut. Recorded play holds the game
// to this rule, and the search measures the player by it too.
struct CollisionCorner {
  float left;
  float top;
};

inline CollisionCorner collisionCorner(float x, float y, int width, int height) {
  return {x - 0.5f * width, y - height + 1};
}
