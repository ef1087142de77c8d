#include "graphics/Sprite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Headless.h"

namespace {

const std::string base = "media/gfx/anim/enemy/";

// Two animations whose frames are told apart by colour: walk frames are
// red 10, 20, 30; climb frames are green 40, 50. Every frame lasts 2 ticks.
class SpriteTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      tree.writeSolidPng(base + "walk/" + std::to_string(i) + ".png", 3, 2, 10 * (i + 1), 0, 0);
    }
    for (int i = 0; i < 2; ++i) {
      tree.writeSolidPng(base + "climb/" + std::to_string(i) + ".png", 2, 4, 0, 40 + 10 * i, 0);
    }
    tree.writeText(base + "walk.anm", "walk 3 2 2 2");
    tree.writeText(base + "climb.anm", "climb 2 2 2");
    sprite.addAnimation(Animation(base, "walk"));
    sprite.addAnimation(Animation(base, "climb"));
    sprite.setAnimation(0);
  }

  // What the sprite shows, as "r<red>" or "g<green>", read from a drawing.
  static std::string shown(const Sprite& s) {
    BITMAP* target = create_bitmap_ex(32, 8, 8);
    clear_to_color(target, makecol32(0, 0, 0));
    s.draw(target, 1, 1);
    int pixel = getpixel(target, 2, 2);
    destroy_bitmap(target);
    return getr32(pixel) != 0 ? "r" + std::to_string(getr32(pixel))
                              : "g" + std::to_string(getg32(pixel));
  }

  static std::vector<std::string> run(Sprite& s, int ticks) {
    std::vector<std::string> seen;
    for (int i = 0; i < ticks; ++i) {
      s.advance();
      seen.push_back(shown(s));
    }
    return seen;
  }

  MediaTree tree;
  Sprite sprite;
};

TEST_F(SpriteTest, ASelectedAgainAnimationResumesWhereItWasLeft) {
  EXPECT_EQ(run(sprite, 3), (std::vector<std::string>{"r10", "r20", "r20"}));
  sprite.setAnimation(1);
  EXPECT_EQ(sprite.currentFrame()->h, 4);
  EXPECT_EQ(run(sprite, 5), (std::vector<std::string>{"g40", "g50", "g50", "g40", "g40"}));
  sprite.setAnimation(0);
  // Walk stood still at frame 1 with one tick spent while climb ran.
  EXPECT_EQ(shown(sprite), "r20");
  EXPECT_EQ(run(sprite, 3), (std::vector<std::string>{"r30", "r30", "r10"}));
  sprite.setAnimation(1);
  EXPECT_EQ(shown(sprite), "g40");
  EXPECT_EQ(sprite.animation(1).frameTicks(), 1);
}

TEST_F(SpriteTest, ACopyShowsTheSameFrameThenRunsOnItsOwn) {
  run(sprite, 3);
  Sprite copy(sprite);
  EXPECT_EQ(copy.animationIndex(), 0);
  EXPECT_EQ(shown(copy), "r20");
  EXPECT_NE(copy.currentFrame(), sprite.currentFrame());
  EXPECT_EQ(run(copy, 2), (std::vector<std::string>{"r30", "r30"}));
  EXPECT_EQ(shown(sprite), "r20");
  copy.setAnimation(1);
  EXPECT_EQ(sprite.animationIndex(), 0);
  EXPECT_EQ(run(sprite, 1), (std::vector<std::string>{"r30"}));
  EXPECT_EQ(shown(copy), "g40");
}

TEST_F(SpriteTest, AssignmentReplacesTheWholeList) {
  Sprite other;
  other.addAnimation(Animation(base, "climb"));
  other.setAnimation(0);
  other.advance();
  other.advance();
  sprite = other;
  ASSERT_EQ(sprite.animationCount(), 1);
  EXPECT_EQ(shown(sprite), "g50");
  sprite.advance();
  EXPECT_EQ(shown(other), "g50");
  EXPECT_EQ(other.animation(0).frameTicks(), 0);

  BITMAP* before = sprite.currentFrame();
  Sprite& alias = sprite;
  sprite = alias;
  EXPECT_EQ(sprite.currentFrame(), before);
}

TEST_F(SpriteTest, AnIndexNeverAddedShowsNothing) {
  for (int index : {-1, 2}) {
    sprite.setAnimation(index);
    EXPECT_EQ(sprite.currentFrame(), nullptr);
    sprite.advance();
    BITMAP* target = create_bitmap_ex(32, 4, 4);
    clear_to_color(target, makecol32(1, 2, 3));
    sprite.draw(target, 0, 0);
    EXPECT_EQ(getpixel(target, 0, 0) & 0xFFFFFF, makecol32(1, 2, 3) & 0xFFFFFF);
    destroy_bitmap(target);
  }
  sprite.setAnimation(0);
  EXPECT_EQ(sprite.animation(0).frameTicks(), 0);
  EXPECT_EQ(sprite.animation(1).frameTicks(), 0);
}

}  // namespace
