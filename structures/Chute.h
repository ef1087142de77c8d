#pragma once
// A diagonal slide built from copies of a step graphic. Copies share the
// built image.
#include <allegro.h>

#include <string>

#include "graphics/Resources.h"

struct Chute {
  int x = 0;                // left column of the top step (the entry)
  int y = 0;                // top row
  int width = 0;            // width of the whole image, set when built
  int height = 0;           // pixels down from y
  int dx = 0;               // horizontal shift per step
  int dy = 0;               // vertical shift per step: the graphic's height
  std::string name;         // step graphic name
  int image_index = 0;      // index of the graphic
  int direction = 0;        // 0 runs down to the left, else to the right
  SharedBitmap image;       // width x height, built by ChuteManager::createImages
  BITMAP* graphic = nullptr;// step graphic, borrowed from the set

  // The point stands on the entry: y == trunc(py) + 1 and
  // x - T <= trunc(px) <= x + graphic width - T.
  bool isAtEntry(float px, float py, int T) const;
};
