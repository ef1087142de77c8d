#pragma once
// Enemy kinds and floor images for the enemy tests, written into a
// MediaTree.
#include <string>

#include "tests/support/Headless.h"

namespace enemymedia {

// "walker": four animations of two frames each (2 ticks per frame), every
// animation with its own frame size so the size tells which one is on show.
// Frame f of animation i is opaque in the colour walkerColour(i, f).
constexpr int walkerWidth[4] = {17, 15, 13, 11};
constexpr int walkerHeight[4] = {20, 18, 16, 14};
int walkerColour(int animation, int frame);  // makeacol value, alpha 255

// "ghost": one 20 x 20 animation used for all four roles; its left half
// (columns 0..9) is fully transparent, its right half opaque.
constexpr int ghostSize = 20;

// Writes walker.nme, ghost.nme, their .anm files and frames, and
// media/audio/enemy_death.wav.
void writeKinds(MediaTree& tree);

// One .anm with frames of the given sizes, each opaque in the given colour.
void writeAnimation(MediaTree& tree, const std::string& name, int frames, const int* widths,
                    const int* heights, const int* colours);

// A single normal and cleared floor tile image ("stone", 32 x 8) so a
// FloorManager can be built.
void writeFloorImages(MediaTree& tree);

}  // namespace enemymedia
