#pragma once
// A rectangle of game pixels: where a picture stands on the frame, or
// the part of a frame that goes to the display.
#include <vector>

struct FrameArea {
  int x, y, w, h;
};

// Whether the two share a pixel; an empty rectangle shares none.
bool overlap(const FrameArea& a, const FrameArea& b);
bool overlapsAny(const FrameArea& a, const std::vector<FrameArea>& areas);
// The smallest rectangle holding both.
FrameArea boundingBox(const FrameArea& a, const FrameArea& b);
