// Chute entry and slide through real game ticks.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/PlayField.h"

namespace {

// An 8 x 8 step graphic: chutes built from it move 8 down per step.
void eightPixelStep(GameTree& tree) {
  tree.writeSolidPng("media/gfx/static/chutes/step8.png", 8, 8, 140, 90, 30);
}

// A chute with its entry at (200, 100), 64 high, 8 sideways per step. The
// player's left foot (x - 8) is within the entry's reach 186..194.
LevelLayout chuteFromRow100(int direction, int landingTileX) {
  LevelLayout layout;
  layout.startX = 200;
  layout.startY = 99;
  layout.chutes.push_back("200 100 64 8 " + std::to_string(direction) + " step8");
  layout.tiles.push_back(std::to_string(landingTileX) + " 165 brick brick_clear 1 10");
  return layout;
}

TEST(Chute, SlideRunsItsLengthAndEndsOnTheFloorBelow) {
  struct Case {
    const char* way;
    int direction;
    int landingTileX;
    float dx;          // per slide tick
    int animation;     // while sliding
    int facing;
    int endAnimation;  // after the slide
  };
  const Case cases[] = {
      {"right", 1, 256, 4.0f, Player::airborneRight, Player::facingRight, Player::walkRight},
      {"left", 0, 128, -4.0f, Player::airborneLeft, Player::facingLeft, Player::walkLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.way);
    PlayField field(chuteFromRow100(c.direction, c.landingTileX), eightPixelStep);
    Player& p = field.player();
    p.slideFactor = 0.5f;

    // Entry: the feet go to the middle of the top step, on the chute's top row.
    field.tick();
    EXPECT_TRUE(field.logged("Chute dx: 8 dy: 8 top: 100 height: 64"));
    EXPECT_TRUE(p.onChute);
    EXPECT_FALSE(p.hasControl);
    EXPECT_EQ(p.x, 204.0f);
    EXPECT_EQ(p.y, 100.0f);
    EXPECT_EQ(p.sprite.animationIndex(), c.animation);
    EXPECT_EQ(p.facing, c.facing);

    // 4 sideways and 4 down a tick; the keys do nothing while sliding.
    for (int step = 1; step <= 16; ++step) {
      field.tickHolding({KEY_LEFT, KEY_RIGHT, KEY_SPACE});
      ASSERT_EQ(p.y, 100.0f + 4 * step) << "step " << step;
      ASSERT_EQ(p.x, 204.0f + c.dx * step) << "step " << step;
      ASSERT_TRUE(p.onChute);
      EXPECT_EQ(p.jumpState, Player::notJumping);
    }
    // The step to 168 passes the chute's length: it is taken back and the
    // slide ends there, the tile below claimed.
    field.tick();
    EXPECT_EQ(p.y, 164.0f);
    EXPECT_EQ(p.x, 204.0f + c.dx * 16);
    EXPECT_FALSE(p.onChute);
    EXPECT_TRUE(p.hasControl);
    EXPECT_EQ(p.sprite.animationIndex(), c.endAnimation);
    EXPECT_EQ(p.score, 10);
    field.tick();
    EXPECT_EQ(p.y, 164.0f);
  }
}

TEST(Chute, EndInsideAFloorTileStandsOnTheTile) {
  LevelLayout layout;
  layout.startX = 200;
  layout.startY = 99;
  layout.chutes.push_back("200 100 64 8 1 step8");
  layout.tiles.push_back("256 162 brick brick_clear 1 10");  // rows 162..170
  PlayField field(layout, eightPixelStep);
  Player& p = field.player();
  p.slideFactor = 0.5f;
  for (int t = 0; t < 18; ++t) field.tick();
  EXPECT_FALSE(p.onChute);
  EXPECT_EQ(p.y, 161.0f);
  EXPECT_EQ(p.score, 10);
}

TEST(Chute, OtherDirectionsKeepTheFacing) {
  for (int facing : {Player::facingLeft, Player::facingRight}) {
    SCOPED_TRACE(facing);
    PlayField field(chuteFromRow100(2, 256), eightPixelStep);
    Player& p = field.player();
    p.setFacing(facing);
    field.tick();
    EXPECT_TRUE(p.onChute);
    EXPECT_EQ(p.facing, facing);
    const bool right = facing == Player::facingRight;
    EXPECT_EQ(p.sprite.animationIndex(), right ? Player::airborneRight : Player::airborneLeft);
    EXPECT_EQ(p.slideDx, 8);
    EXPECT_EQ(p.slideDy, 8);
  }
}

TEST(Chute, EscapeStillCountsWhileSliding) {
  PlayField field(chuteFromRow100(1, 256), eightPixelStep);
  field.tick();
  ASSERT_TRUE(field.player().onChute);
  field.tickHolding({KEY_ESC});
  EXPECT_TRUE(field.game->quit);
}

TEST(Chute, AJumpIntoAChuteGoesOnAfterTheSlide) {
  // Floor under the take-off only; the chute's entry lies on the way down.
  LevelLayout layout;
  layout.startX = 120;
  layout.startY = 99;
  layout.tiles.push_back("100 100 brick brick_clear 0 0");
  layout.chutes.push_back("146 100 64 8 1 step8");
  PlayField field(layout, eightPixelStep);
  Player& p = field.player();
  p.walkSpeed = 0.0f;
  p.jumpSpeed = 4.0f;
  p.jumpStride = 1.0f;
  p.jumpHeight = 16.0f;
  p.slideFactor = 0.5f;

  field.tickHolding({KEY_SPACE, KEY_RIGHT});
  int ticks = 1;
  while (!p.onChute && ticks < 10) {
    field.tick();
    ++ticks;
  }
  ASSERT_TRUE(p.onChute);
  EXPECT_EQ(ticks, 6);
  EXPECT_EQ(p.jumpState, Player::descendingRight);
  while (p.onChute && ticks < 40) {
    field.tick();
    ++ticks;
  }
  EXPECT_EQ(p.y, 164.0f);
  EXPECT_EQ(p.x, 214.0f);
  EXPECT_EQ(p.jumpState, Player::descendingRight);
  // The descending-right jump takes up again from where the slide left it.
  field.tick();
  EXPECT_EQ(p.x, 218.0f);
  EXPECT_EQ(p.y, 168.0f);
}

}  // namespace
