#pragma once
// Positions are floats; every test of position turns them into a pixel by
// cutting toward zero (9.9 -> 9, -0.5 -> 0), never by rounding.
inline int toPixel(float v) { return static_cast<int>(v); }
