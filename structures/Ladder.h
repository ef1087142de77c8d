#pragma once
// A ladder: a rung graphic stacked down to the ladder's height. Copies (the
// player keeps one) share the built image, so none can dangle.
#include <allegro.h>

#include <string>

#include "graphics/Resources.h"

// The columns and rows of the points that count as on a ladder, both ends
// included; there are none when a first is past its last.
struct LadderSpan {
  int firstColumn = 0;
  int lastColumn = 0;
  int firstRow = 0;
  int lastRow = 0;
};

struct Ladder {
  int x = 0;              // left column
  int y = 0;              // top row
  int width = 0;          // width of the graphic, set when the image is built
  int height = 0;         // pixels down from y
  std::string name;       // graphic in the ladder image set
  int image_index = 0;    // index of that graphic
  SharedBitmap image;     // width x height, built by LadderManager::createImages

  // H narrows the usable band on each side; V widens the top by V + 1 rows.
  bool isOn(float px, float py, int H, int V) const;
  LadderSpan span(int H, int V) const;  // where isOn holds
  bool isAtTop(float px, float py, int H, int V) const;
  bool isAtBottom(float px, float py, int H, int V) const;
};
