#include "structures/Ladder.h"

#include "graphics/Pixel.h"

namespace {

bool withinBand(const Ladder& ladder, int px, int H) {
  return ladder.x + H <= px && px <= ladder.x + ladder.width - H;
}

}  // namespace

bool Ladder::isOn(float px, float py, int H, int V) const {
  const LadderSpan on = span(H, V);
  const int column = toPixel(px);
  const int row = toPixel(py);
  return on.firstColumn <= column && column <= on.lastColumn && on.firstRow <= row &&
         row <= on.lastRow;
}

LadderSpan Ladder::span(int H, int V) const {
  return LadderSpan{x + H, x + width - H, y - V - 1, y + height - 1};
}

bool Ladder::isAtTop(float px, float py, int H, int V) const {
  const int row = toPixel(py);
  return withinBand(*this, toPixel(px), H) && y - V - 1 <= row && row < y;
}

bool Ladder::isAtBottom(float px, float py, int H, int V) const {
  const int row = toPixel(py);
  return withinBand(*this, toPixel(px), H) && y + height - V - 1 <= row && row < y + height;
}
