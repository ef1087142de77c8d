#pragma once
// Whether two figures touch: a cheap test of two rectangles (inclusive
// edges) and an exact test of the opaque pixels of two placed images.
#include <allegro.h>

bool rectanglesOverlap(float left1, float top1, float right1, float bottom1,
                       float left2, float top2, float right2, float bottom2);

// Positions are cut toward zero; a pixel is solid when its alpha is not 0.
bool imagesOverlap(float x1, float y1, BITMAP* image1, float x2, float y2, BITMAP* image2);
