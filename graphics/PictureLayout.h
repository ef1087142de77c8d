#pragma once
// Where the game's frame lands on a display: each game pixel shown as a
// scale x scale block, the picture's top-left corner at (left, top).

struct PictureLayout {
  int scale = 1;  // display pixels per game pixel, each way
  int left = 0;   // display column of the picture's left edge
  int top = 0;    // display row of the picture's top edge
};

// The largest whole scale at which a width x height picture fits a
// displayWidth x displayHeight display, centred on it; 1 when not even
// that fits (the picture then starts at the top-left corner).
PictureLayout fitPicture(int width, int height, int displayWidth, int displayHeight);
