#include "graphics/Collision.h"

#include <gtest/gtest.h>

#include <functional>

#include "graphics/Pixel.h"
#include "graphics/Resources.h"
#include "tests/support/Headless.h"

namespace {

const int solid = makeacol32(200, 30, 40, 255);
const int clear = makeacol32(255, 255, 255, 0);  // bright colour, but alpha 0

BitmapPtr image32(int w, int h, const std::function<int(int, int)>& colour) {
  ensureHeadlessAllegro();
  BitmapPtr bitmap(create_bitmap_ex(32, w, h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) putpixel(bitmap.get(), x, y, colour(x, y));
  }
  return bitmap;
}

BitmapPtr filled(int w, int h, int colour) {
  return image32(w, h, [colour](int, int) { return colour; });
}

// A w x h image whose only solid pixel is (px, py).
BitmapPtr onePixel(int w, int h, int px, int py) {
  return image32(w, h, [px, py](int x, int y) { return x == px && y == py ? solid : clear; });
}

struct Rect {
  float left, top, right, bottom;
};

bool overlap(const Rect& a, const Rect& b) {
  return rectanglesOverlap(a.left, a.top, a.right, a.bottom, b.left, b.top, b.right, b.bottom);
}

TEST(RectanglesOverlap, EdgesAreInclusiveOnEverySide) {
  const Rect a{0, 0, 10, 10};
  struct Case {
    Rect b;
    bool expected;
  };
  const Case cases[] = {
      {{10, 0, 20, 10}, true},      // shares the right edge line
      {{10.5f, 0, 20, 10}, false},  // half a pixel to the right
      {{-8, 0, 0, 10}, true},       // shares the left edge line
      {{-8, 0, -0.25f, 10}, false},
      {{0, 10, 10, 20}, true},      // shares the bottom edge line
      {{0, 10.5f, 10, 20}, false},
      {{0, -5, 10, 0}, true},       // shares the top edge line
      {{0, -5, 10, -0.01f}, false},
      {{10, 10, 11, 11}, true},     // corner to corner
      {{10.01f, 10, 11, 11}, false},
      {{3, 3, 4, 4}, true},         // inside
      {{-5, -5, 15, 15}, true},     // around
      {{-5, 3, 15, 4}, true},       // a bar through the middle
      {{20, 20, 30, 30}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.b.left << "," << c.b.top << "," << c.b.right << ","
                                    << c.b.bottom);
    EXPECT_EQ(overlap(a, c.b), c.expected);
    EXPECT_EQ(overlap(c.b, a), c.expected);
  }
}

// The gap is how far a box moves toward the other before the collision
// counts them overlapping: 0 exactly when it does, and one step of the
// gap closer (straight or diagonally) does.
TEST(BoxGap, IsTheMoveBeforeTheBoxesOverlap) {
  const FigureBox a{0, 0, 10, 10};
  const struct {
    FigureBox b;
    int gap;
  } cases[] = {
      {{10, 0, 20, 10}, 0},    // sharing the right edge
      {{3, 3, 4, 4}, 0},       // inside
      {{13, 2, 20, 8}, 3},     // to the right
      {{-9, 0, -4, 10}, 4},    // to the left
      {{0, 12, 10, 20}, 2},    // below
      {{0, -7, 10, -1}, 1},    // above
      {{15, 12, 20, 20}, 5},   // diagonally: the longer way
      {{12, 19, 20, 20}, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.b.left << "," << c.b.top << "," << c.b.right << ","
                                    << c.b.bottom);
    const Rect b{float(c.b.left), float(c.b.top), float(c.b.right), float(c.b.bottom)};
    const Rect from{float(a.left), float(a.top), float(a.right), float(a.bottom)};
    EXPECT_EQ(boxGap(a, c.b), c.gap);
    EXPECT_EQ(boxGap(c.b, a), c.gap);
    EXPECT_EQ(overlap(from, b), c.gap == 0);
    // Moved toward a by gap - 1 pixels it still misses; by gap it meets.
    const int dx = c.b.left > a.right ? -1 : c.b.right < a.left ? 1 : 0;
    const int dy = c.b.top > a.bottom ? -1 : c.b.bottom < a.top ? 1 : 0;
    for (int step : {c.gap - 1, c.gap}) {
      if (step < 0) continue;
      const int mx = dx * step, my = dy * step;
      const Rect moved{b.left + mx, b.top + my, b.right + mx, b.bottom + my};
      EXPECT_EQ(overlap(from, moved), step == c.gap) << step;
    }
  }
}

TEST(ImagesOverlap, PositionsAreCutTowardZero) {
  BitmapPtr a = filled(10, 10, solid);
  BitmapPtr b = filled(10, 10, solid);
  struct Case {
    float x2, y2;
    bool expected;
  };
  const Case cases[] = {
      {10, 0, false},    // no common column
      {9.9f, 0, true},   // cut to 9: column 9 is shared
      {0, 10, false},
      {0, 9.99f, true},
      {-10, 0, false},
      {-9.9f, 0, true},  // cut to -9, not floored to -10
      {-9.9f, -9.9f, true},
      {-10.5f, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x2 << "," << c.y2);
    EXPECT_EQ(imagesOverlap(0, 0, a.get(), c.x2, c.y2, b.get()), c.expected);
    EXPECT_EQ(imagesOverlap(c.x2, c.y2, b.get(), 0, 0, a.get()), c.expected);
  }

  // Single pixels: 0.9 and -0.5 both land on pixel 0, neither is rounded.
  BitmapPtr dot = filled(1, 1, solid);
  const float onZero[] = {0.9f, -0.5f, 0.0f, -0.99f};
  for (float v : onZero) {
    SCOPED_TRACE(v);
    EXPECT_TRUE(imagesOverlap(0, 0, dot.get(), v, v, dot.get()));
    EXPECT_TRUE(imagesOverlap(v, 0, dot.get(), 0, v, dot.get()));
  }
  EXPECT_FALSE(imagesOverlap(0, 0, dot.get(), 1.0f, 0, dot.get()));
  EXPECT_FALSE(imagesOverlap(0, 0, dot.get(), 0, -1.0f, dot.get()));
}

TEST(ImagesOverlap, ComparesPixelsAtTheSameScreenPoint) {
  // One solid pixel in each image; they touch only where both land on the
  // same screen point.
  struct Case {
    float x1, y1;
    int px1, py1;
    float x2, y2;
    int px2, py2;
    bool expected;
  };
  const Case cases[] = {
      {0, 0, 4, 1, 2, 0, 2, 1, true},     // screen (4, 1) both
      {0, 0, 4, 1, 2, 0, 1, 1, false},    // (4, 1) against (3, 1)
      {0, 0, 4, 1, 2, 0, 2, 0, false},    // (4, 1) against (4, 0)
      {5, 7, 0, 3, 3, 4, 2, 6, true},     // second image up and left: (5, 10) both
      {5, 7, 0, 3, 3, 4, 2, 5, false},
      {5, 7, 0, 3, 3, 4, 1, 6, false},
      {10, 2, 0, 0, 13, 0, 0, 2, false},  // (10, 2) against (13, 2)
      {13, 2, 0, 0, 10, 0, 3, 2, true},   // (13, 2) both
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at " << c.x1 << "," << c.y1 << " / " << c.x2 << ","
                                    << c.y2 << " pixels " << c.px1 << "," << c.py1 << " / "
                                    << c.px2 << "," << c.py2);
    BitmapPtr first = onePixel(5, 8, c.px1, c.py1);
    BitmapPtr second = onePixel(4, 7, c.px2, c.py2);
    EXPECT_EQ(imagesOverlap(c.x1, c.y1, first.get(), c.x2, c.y2, second.get()), c.expected);
    EXPECT_EQ(imagesOverlap(c.x2, c.y2, second.get(), c.x1, c.y1, first.get()), c.expected);
  }
}

TEST(ImagesOverlap, ANarrowImageIsComparedOnlyOverItsOwnWidth) {
  // The wide image is solid only from its column 8 on; rows 0 and 1.
  BitmapPtr wide = image32(20, 2, [](int x, int) { return x >= 8 ? solid : clear; });
  BitmapPtr narrow = filled(3, 2, solid);
  // Narrow at 5 covers columns 5..7, all clear in the wide image; solid
  // wide pixels lie just beyond its right edge.
  EXPECT_FALSE(imagesOverlap(100, 50, wide.get(), 105, 50, narrow.get()));
  EXPECT_FALSE(imagesOverlap(105, 50, narrow.get(), 100, 50, wide.get()));
  EXPECT_TRUE(imagesOverlap(100, 50, wide.get(), 106, 50, narrow.get()));
  EXPECT_TRUE(imagesOverlap(106, 50, narrow.get(), 100, 50, wide.get()));
  // Same shape vertically: a short image inside a tall one's rows.
  BitmapPtr tall = image32(2, 20, [](int, int y) { return y >= 8 ? solid : clear; });
  BitmapPtr flat = filled(2, 3, solid);
  EXPECT_FALSE(imagesOverlap(0, 0, tall.get(), 0, 5, flat.get()));
  EXPECT_FALSE(imagesOverlap(0, 5, flat.get(), 0, 0, tall.get()));
  EXPECT_TRUE(imagesOverlap(0, 6, flat.get(), 0, 0, tall.get()));
}

TEST(ImagesOverlap, OnlyAlphaZeroIsEmpty) {
  BitmapPtr ghost = filled(6, 6, clear);
  BitmapPtr mask = filled(6, 6, makeacol32(255, 0, 255, 0));
  BitmapPtr faint = filled(6, 6, makeacol32(0, 0, 0, 1));
  BitmapPtr block = filled(6, 6, solid);
  const float positions[] = {-3, 0, 2.5f, 5};
  for (float p : positions) {
    SCOPED_TRACE(p);
    EXPECT_FALSE(imagesOverlap(0, 0, ghost.get(), p, p, block.get()));
    EXPECT_FALSE(imagesOverlap(p, p, block.get(), 0, 0, ghost.get()));
    EXPECT_FALSE(imagesOverlap(0, 0, mask.get(), p, p, block.get()));
    EXPECT_FALSE(imagesOverlap(0, 0, ghost.get(), p, p, ghost.get()));
    EXPECT_TRUE(imagesOverlap(0, 0, faint.get(), p, p, block.get()));
    EXPECT_TRUE(imagesOverlap(p, p, block.get(), 0, 0, faint.get()));
  }
}

TEST(ImagesOverlap, ImagesWithoutAlphaAreSolidExceptTheirMaskColour) {
  BitmapPtr block = filled(4, 4, solid);
  BitmapPtr highColour(create_bitmap_ex(16, 4, 4));
  clear_to_color(highColour.get(), bitmap_mask_color(highColour.get()));
  EXPECT_FALSE(imagesOverlap(0, 0, highColour.get(), 0, 0, block.get()));
  EXPECT_FALSE(imagesOverlap(0, 0, block.get(), 0, 0, highColour.get()));
  putpixel(highColour.get(), 3, 3, makecol16(10, 200, 10));
  EXPECT_TRUE(imagesOverlap(0, 0, highColour.get(), 0, 0, block.get()));
  EXPECT_TRUE(imagesOverlap(1, 1, block.get(), 0, 0, highColour.get()));
  EXPECT_FALSE(imagesOverlap(0, 0, block.get(), 0, 0.5f + 3, highColour.get()));
}

}  // namespace

namespace {

// How near two pictures come, in the moves before a solid pixel of one
// lands on one of the other: their boxes may overlap long before that.
TEST(ImagesGap, IsTheMoveBeforeTheSolidPixelsMeet) {
  struct Case {
    const char* name;
    float x2, y2;
    int px1, py1, px2, py2;  // the one solid pixel of each 10 x 10 image; -1: all solid
    int most;
    int expected;
  };
  const Case cases[] = {
      {"one point of both", 2, 1, 4, 4, 2, 3, 50, 0},
      {"beside, along a row", 3, 0, 0, 0, 0, 0, 50, 3},
      {"diagonal: the longer side", 3, 5, 0, 0, 0, 0, 50, 5},
      {"boxes overlap, corners far apart", 5, 5, 0, 0, 9, 9, 50, 14},
      {"no further than asked", 3, 5, 0, 0, 0, 0, 4, 4},
      {"solid blocks apart", 16, 12, -1, -1, -1, -1, 50, 7},
      {"a block and a point inside its box", 4, 4, -1, -1, 0, 0, 50, 0},
      {"a point beyond a block", 20, 0, -1, -1, 0, 0, 50, 11},
  };
  for (const Case& c : cases) {
    auto image = [](int px, int py) { return px < 0 ? filled(10, 10, solid) : onePixel(10, 10, px, py); };
    BitmapPtr first = image(c.px1, c.py1);
    BitmapPtr second = image(c.px2, c.py2);
    EXPECT_EQ(imagesGap(0, 0, first.get(), c.x2, c.y2, second.get(), c.most), c.expected) << c.name;
    EXPECT_EQ(imagesGap(c.x2, c.y2, second.get(), 0, 0, first.get(), c.most), c.expected) << c.name;
  }
}

}  // namespace
