// Pictures drawn through their own alpha give the target exactly what
// Allegro's draw_trans_sprite gives it under the alpha blender: every
// kind of pixel (left out, clear, opaque, half-way) at every edge.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "graphics/AlphaSprite.h"
#include "graphics/Resources.h"
#include "tests/support/Headless.h"

namespace {

// Pixels of every kind the blender treats apart, in random colours.
void fillPicture(BITMAP* picture, std::mt19937& random) {
  for (int y = 0; y < picture->h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(picture->line[y]);
    for (int x = 0; x < picture->w; ++x) {
      const std::uint32_t colour = random() & 0x00FFFFFF;
      switch (random() % 5) {
        case 0: row[x] = 0x00FF00FF; break;                     // the mask pixel
        case 1: row[x] = colour; break;                         // clear
        case 2: row[x] = 0xFF000000u | colour; break;           // opaque
        case 3: row[x] = 0xFFFF00FFu; break;                    // opaque mask colour
        default: row[x] = (random() & 0xFF000000u) | colour;    // anything
      }
    }
  }
}

TEST(AlphaSprite, DrawsWhatDrawTransSpriteDraws) {
  ensureHeadlessAllegro();
  struct Case {
    const char* what;
    int x, y;
    int clipLeft, clipTop, clipRight, clipBottom;  // inclusive; -1: the whole target
  } cases[] = {
      {"inside", 20, 15, -1, 0, 0, 0},
      {"over the left and top edges", -9, -7, -1, 0, 0, 0},
      {"over the right and bottom edges", 70, 50, -1, 0, 0, 0},
      {"entirely off", 200, 10, -1, 0, 0, 0},
      {"in a clip rectangle", 10, 10, 15, 12, 30, 33},
      {"across a clip rectangle's edge", 30, 30, 0, 0, 40, 40},
      {"outside a clip rectangle", 50, 50, 0, 0, 20, 20},
  };
  std::mt19937 random(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BitmapPtr picture(create_bitmap_ex(32, 23, 17));
    BitmapPtr ours(create_bitmap_ex(32, 80, 60));
    BitmapPtr theirs(create_bitmap_ex(32, 80, 60));
    fillPicture(picture.get(), random);
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 80; ++x) reinterpret_cast<std::uint32_t*>(ours->line[y])[x] = random();
    }
    blit(ours.get(), theirs.get(), 0, 0, 0, 0, 80, 60);
    for (BITMAP* target : {ours.get(), theirs.get()}) {
      if (c.clipLeft >= 0) set_clip_rect(target, c.clipLeft, c.clipTop, c.clipRight, c.clipBottom);
    }
    drawAlphaSprite(ours.get(), picture.get(), c.x, c.y);
    draw_trans_sprite(theirs.get(), picture.get(), c.x, c.y);
    for (int y = 0; y < 60; ++y) {
      ASSERT_EQ(std::memcmp(ours->line[y], theirs->line[y], 80 * 4), 0) << "row " << y;
    }
  }
}

}  // namespace
