#pragma once
// A still picture collected by touching it.
#include <allegro.h>

#include <string>

struct Item {
  int x = 0;               // left column
  int y = 0;               // top row
  int width = 0;           // of the image
  int height = 0;
  std::string type;        // image name
  int image_index = 0;     // in the item image set
  BITMAP* image = nullptr; // borrowed from the set
  int points = 0;          // scored when collected
  bool present = true;     // false once collected

  bool touches(BITMAP* frame, float left, float top);  // collects on contact
  void draw(BITMAP* target) const;
};
