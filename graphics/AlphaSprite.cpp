#include "graphics/AlphaSprite.h"

#include <algorithm>
#include <cstdint>

namespace {

// The transparent pixel of a 32-bit picture: left out, not blended.
const std::uint32_t maskPixel = 0x00FF00FF;

// One picture pixel over one target pixel, as the alpha blender mixes
// them: red and blue in one word, green in another, in the blender's own
// unsigned wide arithmetic, whose wrap-around the result depends on. The
// target's top byte is not kept.
std::uint32_t blend(std::uint32_t picture, std::uint32_t under) {
  unsigned long n = picture >> 24;
  if (n != 0) ++n;
  const unsigned long x = picture;
  const unsigned long y = under;
  const unsigned long redBlue = ((x & 0xFF00FFul) - (y & 0xFF00FFul)) * n / 256 + y;
  const unsigned long green = ((x & 0xFF00ul) - (y & 0xFF00ul)) * n / 256 + (y & 0xFF00ul);
  return static_cast<std::uint32_t>((redBlue & 0xFF00FFul) | (green & 0xFF00ul));
}

bool plain32(BITMAP* bitmap) {
  return is_memory_bitmap(bitmap) && bitmap_color_depth(bitmap) == 32;
}

void blendRow(const std::uint32_t* from, std::uint32_t* to, int count) {
  for (int i = 0; i < count; ++i) {
    const std::uint32_t c = from[i];
    if (c == maskPixel) continue;
    const std::uint32_t alpha = c >> 24;
    if (alpha == 0xFF) {
      to[i] = c & 0x00FFFFFF;
    } else if (alpha == 0) {
      to[i] &= 0x00FFFFFF;
    } else {
      to[i] = blend(c, to[i]);
    }
  }
}

}  // namespace

void drawAlphaSprite(BITMAP* target, BITMAP* sprite, int x, int y) {
  if (!plain32(target) || !plain32(sprite)) {
    draw_trans_sprite(target, sprite, x, y);
    return;
  }
  // The clip rectangle, held to the bitmap even when clipping is off.
  const long long left = std::max({0LL, static_cast<long long>(target->clip ? target->cl : 0),
                                   static_cast<long long>(x)});
  const long long top = std::max({0LL, static_cast<long long>(target->clip ? target->ct : 0),
                                  static_cast<long long>(y)});
  const long long right = std::min({static_cast<long long>(target->w),
                                    static_cast<long long>(target->clip ? target->cr : target->w),
                                    static_cast<long long>(x) + sprite->w});
  const long long bottom = std::min({static_cast<long long>(target->h),
                                     static_cast<long long>(target->clip ? target->cb : target->h),
                                     static_cast<long long>(y) + sprite->h});
  if (left >= right || top >= bottom) return;
  const int count = static_cast<int>(right - left);
  for (long long row = top; row < bottom; ++row) {
    const auto* from = reinterpret_cast<const std::uint32_t*>(sprite->line[row - y]) + (left - x);
    auto* to = reinterpret_cast<std::uint32_t*>(target->line[row]) + left;
    blendRow(from, to, count);
  }
}
