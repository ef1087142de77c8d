#pragma once
// Whether two figures touch: a cheap test of two rectangles (inclusive
// edges) and an exact test of the opaque pixels of two placed images.
#include <allegro.h>

bool rectanglesOverlap(float left1, float top1, float right1, float bottom1,
                       float left2, float top2, float right2, float bottom2);

// Positions are cut toward zero; a pixel is solid when its alpha is not 0.
bool imagesOverlap(float x1, float y1, BITMAP* image1, float x2, float y2, BITMAP* image2);

// How near two placed images come: the pixels one must move, straight or
// diagonally, before a solid pixel of it lands on one of the other; 0 when
// they overlap, `most` when it is `most` or more. The nearest solid pixels
// of two images apart lie on their outlines, so only those are compared:
// at most the product of the two outlines' lengths.
int imagesGap(float x1, float y1, BITMAP* image1, float x2, float y2, BITMAP* image2, int most);
