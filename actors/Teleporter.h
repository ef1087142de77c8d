#pragma once
// A numbered pad; the digit keys carry the player between pads.
#include <allegro.h>

#include <string>

struct Teleporter {
  int x = 0;                         // left column
  int y = 0;                         // top row
  int width = 0;                     // of the normal image
  int height = 0;
  std::string name;                  // normal image
  std::string cooldown_name;         // image while the cooldown runs
  int image_index = 0;
  int cooldown_image_index = 0;
  int number = 0;                    // chosen with digit key 27 + number
  BITMAP* image = nullptr;           // borrowed
  BITMAP* cooldown_image = nullptr;  // borrowed

  bool overlaps(BITMAP* frame, float left, float top) const;  // rectangles only
  void draw(BITMAP* target, bool cooldown) const;
};
