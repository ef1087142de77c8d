#include "graphics/FrameArea.h"

#include <algorithm>

bool overlap(const FrameArea& a, const FrameArea& b) {
  // Wide arithmetic: hostile levels put pictures near the ends of int.
  const long long ax = a.x, ay = a.y, bx = b.x, by = b.y;
  return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && ax < bx + b.w && bx < ax + a.w &&
         ay < by + b.h && by < ay + a.h;
}

bool overlapsAny(const FrameArea& a, const std::vector<FrameArea>& areas) {
  for (const FrameArea& area : areas) {
    if (overlap(a, area)) return true;
  }
  return false;
}

FrameArea boundingBox(const FrameArea& a, const FrameArea& b) {
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  return {left, top, std::max(a.x + a.w, b.x + b.w) - left, std::max(a.y + a.h, b.y + b.h) - top};
}
