#include "structures/Chute.h"

#include "graphics/Pixel.h"

bool Chute::isAtEntry(float px, float py, int T) const {
  const int column = toPixel(px);
  const int stepWidth = graphic != nullptr ? graphic->w : 0;
  // The band is one step plus one pixel wide and lies T pixels left of the
  // top step, whichever way the chute runs.
  return y == toPixel(py) + 1 && x - T <= column && column <= x + stepWidth - T;
}
