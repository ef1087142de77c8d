// The fixture tree itself must be what the engine's loaders expect.
#include "tests/support/GameTree.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(GameTree, FontsLoadWithEveryPrintableGlyph) {
  GameTree tree;
  FONT* f = load_font("media/fonts/score_fnt.png", nullptr, nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(get_font_range_begin(f, -1), 32);
  EXPECT_EQ(get_font_range_end(f, -1), 126);
  EXPECT_EQ(text_height(f), 8);
  EXPECT_EQ(text_length(f, "123"), 18);
  destroy_font(f);
}

TEST(GameTree, ImagesAndSoundsLoad) {
  GameTree tree;
  for (const char* path : {"media/gfx/static/back.png", "media/gfx/static/ladders/rungs.png",
                           "media/gfx/anim/player/walk_left/3.png",
                           "media/gfx/anim/enemy/blob_vr/1.png"}) {
    BITMAP* b = load_bitmap(path, nullptr);
    EXPECT_NE(b, nullptr) << path;
    if (b) destroy_bitmap(b);
  }
  BITMAP* rungs = load_bitmap("media/gfx/static/ladders/rungs.png", nullptr);
  ASSERT_NE(rungs, nullptr);
  EXPECT_EQ(static_cast<unsigned>(getpixel(rungs, 5, 1)), 0x00FF00FFu);
  destroy_bitmap(rungs);
  SAMPLE* s = load_wav("media/audio/enemy_death.wav");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->bits, 16);
  destroy_sample(s);
}

}  // namespace
