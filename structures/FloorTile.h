#pragma once
// One floor piece: stood and walked on, and claimed by the player.
#include <allegro.h>

#include <string>

struct FloorTile {
  int x = 0;                         // left column, screen pixels
  int y = 0;                         // top row
  int width = 0;                     // width of the normal image
  int height = 0;                    // height of the normal image
  std::string tile_name;             // normal image name
  std::string cleared_name;          // cleared image name
  int image_index = 0;               // in the normal image set
  int cleared_image_index = 0;       // in the cleared image set
  int claimable = 0;                 // 1: must be claimed to clear the level
  int points = 0;                    // scored when claimed
  bool cleared = false;              // the player has claimed it
  BITMAP* image = nullptr;           // borrowed from the normal set
  BITMAP* cleared_image = nullptr;   // borrowed from the cleared set
};
