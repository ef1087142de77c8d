#pragma once
// Pictures drawn through their own alpha, exactly as draw_trans_sprite
// draws them under the alpha blender, the only blender the engine sets.
// Allegro's routine calls the blender through a pointer for every pixel,
// and figures are drawn every frame; between two 32-bit memory bitmaps
// the same arithmetic runs inline here instead. Anything else goes to
// draw_trans_sprite.
#include <allegro.h>

void drawAlphaSprite(BITMAP* target, BITMAP* sprite, int x, int y);
