// Jumps driven through real game ticks: the rise, the apex turn, the
// descent, landing, death by a long drop and the screen edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/PlayField.h"

namespace {

// The player stands at y = 300 on a floor whose top row is 301.
LevelLayout floorAt301(int startX) {
  LevelLayout layout;
  layout.startX = startX;
  layout.startY = 300;
  layout.floor(0, 640, 301);
  return layout;
}

// A frame width the player takes on when an animation is selected.
void airborneFramesWide(GameTree& tree, int width) {
  for (const char* name : {"air_left", "air_right"}) {
    tree.writeSolidPng(std::string("media/gfx/anim/player/") + name + "/0.png", width,
                       GameTree::playerHeight, 90, 90, 90);
  }
}

TEST(Jump, StraightUpRisesTurnsAtTheApexAndLandsWithItsDrop) {
  PlayField field(floorAt301(100));
  Player& p = field.player();
  p.jumpSpeed = 4.0f;
  p.jumpHeight = 40.0f;

  // The first rising step is taken in the tick of the key press.
  field.tickHolding({KEY_SPACE});
  EXPECT_EQ(p.jumpState, Player::risingUp);
  EXPECT_TRUE(field.logged("Player @ 100.000, 300.000 jumping. Switching jump state to up."));
  ASSERT_EQ(field.played.size(), 1u);
  EXPECT_EQ(field.played[0], field.game->jumpSample.get());

  const float expected[] = {296, 292, 288, 284, 280, 276, 272, 268, 264,  // ticks 1-9
                            268,                                          // tick 10
                            272, 276, 280, 284, 288, 292, 296, 300};      // ticks 11-18
  std::vector<float> seen{p.y};
  for (int t = 2; t <= 18; ++t) {
    field.tick();
    seen.push_back(p.y);
    EXPECT_EQ(p.x, 100.0f) << "tick " << t;
    if (t == 10) {
      // Reached 260, put back to 264 and, the same tick, 268 on the way down.
      EXPECT_TRUE(field.logged(
          "Player @ 100.000, 260.000 has exceeded jump height (260.000). Switching jump "
          "state to down."));
      EXPECT_EQ(p.jumpState, Player::descendingDown);
      EXPECT_EQ(field.game->fallDistance, 4.0f);
    }
    if (t == 17) {
      EXPECT_EQ(p.jumpState, Player::descendingDown);
      EXPECT_EQ(field.game->fallDistance, 32.0f);
    }
  }
  EXPECT_EQ(seen, std::vector<float>(std::begin(expected), std::end(expected)));
  EXPECT_TRUE(field.logged(
      "Player @ 100.000, 300.000 back on floor. Switching jump state to not jumping."));
  EXPECT_EQ(p.jumpState, Player::notJumping);
  EXPECT_EQ(field.game->fallDistance, 0.0f);
  EXPECT_EQ(p.sprite.animationIndex(), Player::walkRight);
  EXPECT_TRUE(p.alive);
  EXPECT_EQ(field.played.size(), 1u);  // the jump sound only
}

TEST(Jump, DescentLongerThanTheGreatestDropKillsSilently) {
  struct Case {
    float maxDrop;
    bool survives;
  };
  for (const Case& c : {Case{35.9f, false}, Case{36.0f, true}}) {
    SCOPED_TRACE(c.maxDrop);
    PlayField field(floorAt301(100));
    Player& p = field.player();
    p.jumpSpeed = 4.0f;
    p.jumpHeight = 40.0f;
    p.maxDrop = c.maxDrop;
    bool lifeEnded = field.tickHolding({KEY_SPACE});
    for (int t = 2; t <= 17; ++t) lifeEnded = field.tick();
    EXPECT_FALSE(lifeEnded);
    lifeEnded = field.tick();  // tick 18: on the floor again
    EXPECT_EQ(lifeEnded, !c.survives);
    EXPECT_EQ(p.lives, c.survives ? 3 : 2);
    EXPECT_EQ(p.y, 300.0f);
    EXPECT_EQ(field.game->fallDistance, c.survives ? 0.0f : 36.0f);
    EXPECT_EQ(field.logged("Player lives going from 3 to 2."), !c.survives);
    ASSERT_EQ(field.played.size(), 1u);  // the jump sound, no death sound
    EXPECT_EQ(field.played[0], field.game->jumpSample.get());
  }
}

TEST(Jump, SidewaysStepOffTheScreenIsTakenBack) {
  struct Case {
    const char* side;
    int walkKey;
    float startX;
    int risingState;
  };
  const Case cases[] = {{"left", KEY_LEFT, 9.0f, Player::risingLeft},
                         {"right", KEY_RIGHT, 631.0f, Player::risingRight}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    PlayField field(floorAt301(static_cast<int>(c.startX)),
                    [](GameTree& tree) { airborneFramesWide(tree, 20); });
    Player& p = field.player();
    p.walkSpeed = 0.0f;  // only the jump moves the player sideways
    p.jumpSpeed = 3.0f;
    p.jumpStride = 1.0f;
    p.jumpHeight = 30.0f;

    field.tickHolding({KEY_SPACE, c.walkKey});
    EXPECT_EQ(p.jumpState, c.risingState);
    EXPECT_EQ(p.width, 20);
    EXPECT_TRUE(field.logged("Player jumping off screen. Sending back to former position."));
    // Only the sideways step is taken back; the rise goes on.
    EXPECT_EQ(p.x, c.startX);
    EXPECT_EQ(p.y, 297.0f);
    field.tick();
    EXPECT_EQ(p.x, c.startX);
    EXPECT_EQ(p.y, 294.0f);
  }
}

TEST(Jump, SidewaysJumpTravelsBothWaysAndLandsFacingItsWay) {
  struct Case {
    const char* side;
    int walkKey;
    float dx;
    int landingAnimation;
  };
  const Case cases[] = {{"left", KEY_LEFT, -1.0f, Player::walkLeft},
                        {"right", KEY_RIGHT, 1.0f, Player::walkRight}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    PlayField field(floorAt301(300));
    Player& p = field.player();
    p.walkSpeed = 0.0f;
    p.jumpSpeed = 4.0f;
    p.jumpStride = 0.5f;  // 2 pixels sideways a tick
    p.jumpHeight = 8.0f;

    field.tickHolding({KEY_SPACE, c.walkKey});  // 296
    field.tick();                               // 292 reached, back to 296, down to 300
    EXPECT_EQ(p.jumpState, Player::notJumping);
    EXPECT_EQ(p.y, 300.0f);
    // Two rising steps, one taken back at the apex, and one descending step.
    EXPECT_EQ(p.x, 300.0f + c.dx * 2 * 2);
    EXPECT_EQ(p.sprite.animationIndex(), c.landingAnimation);
  }
}

TEST(Jump, LandsOnATileWhoseTopIsOneOrTwoRowsBelowTheFeet) {
  // The descent passes rows 300, 304, 308: a tile topped at 309 or at 308
  // both end the jump at 308; the feet are not moved onto the tile.
  struct Case {
    int top;
    int score;      // claimed on landing: x = 96 is the seam of two tiles
    float settled;  // feet inside the top row drop onto it as a fall
  };
  for (const Case& c : {Case{309, 20, 308.0f}, Case{308, 0, 307.0f}}) {
    SCOPED_TRACE(c.top);
    LevelLayout layout;
    layout.startX = 16;
    layout.startY = 300;
    layout.tiles.push_back("0 301 brick brick_clear 0 0");  // the ledge, x 0..32
    layout.floor(64, 640, c.top);
    PlayField field(layout);
    Player& p = field.player();
    p.walkSpeed = 0.0f;
    p.jumpSpeed = 4.0f;
    p.jumpStride = 1.0f;
    p.jumpHeight = 40.0f;
    field.tickHolding({KEY_SPACE, KEY_RIGHT});
    for (int t = 2; t <= 19; ++t) field.tick();
    EXPECT_EQ(p.y, 304.0f);
    EXPECT_EQ(p.jumpState, Player::descendingRight);
    field.tick();  // tick 20
    EXPECT_EQ(p.jumpState, Player::notJumping);
    EXPECT_EQ(p.x, 96.0f);
    EXPECT_EQ(p.y, 308.0f);
    EXPECT_TRUE(field.logged(
        "Player @ 96.000, 308.000 back on floor. Switching jump state to not jumping."));
    EXPECT_EQ(p.score, c.score);
    field.tick();
    field.tick();
    EXPECT_EQ(p.y, c.settled);
    EXPECT_TRUE(p.alive);
  }
}

TEST(Jump, LeftAndRightWithJumpGoLeftAndNoJumpStartsInTheAir) {
  PlayField field(floorAt301(300));
  Player& p = field.player();
  p.walkSpeed = 0.0f;
  field.tickHolding({KEY_SPACE, KEY_LEFT, KEY_RIGHT});
  EXPECT_EQ(p.jumpState, Player::risingLeft);
  EXPECT_TRUE(field.logged("Player @ 300.000, 300.000 jumping. Switching jump state to up left."));

  // Pressing jump again mid-air neither restarts the jump nor plays a sound.
  const float y = p.y;
  field.tickHolding({KEY_SPACE});
  EXPECT_EQ(p.jumpState, Player::risingLeft);
  EXPECT_EQ(p.y, y - p.jumpSpeed);
  EXPECT_EQ(std::count(field.played.begin(), field.played.end(), field.game->jumpSample.get()), 1);
}

TEST(Jump, StraightJumpShowsTheAirborneFrameOfTheFacing) {
  PlayField field(floorAt301(300));
  Player& p = field.player();
  p.walkSpeed = 0.0f;
  field.tickHolding({KEY_LEFT});  // now facing left
  field.tickHolding({KEY_SPACE});
  EXPECT_EQ(p.sprite.animationIndex(), Player::airborneLeft);
  EXPECT_EQ(p.facing, Player::facingLeft);
}

// What the checker measures a jump's reach by, against jumps played.
TEST(Jump, PeakIsTheHighestTheRiseTakesTheFeet) {
  struct Case {
    float jumpSpeed;
    float jumpHeight;
  };
  for (const Case& c : {Case{4.0f, 40.0f}, Case{3.0f, 40.0f}, Case{0.7f, 33.3f},
                        Case{2.5f, 12.5f}, Case{5.0f, 3.0f}}) {
    SCOPED_TRACE(testing::Message() << c.jumpSpeed << " " << c.jumpHeight);
    PlayField field(floorAt301(100));
    Player& p = field.player();
    p.jumpSpeed = c.jumpSpeed;
    p.jumpHeight = c.jumpHeight;
    const float peak = field.game->jumpPeak(p.y);
    float highest = p.y;
    field.tickHolding({KEY_SPACE});
    EXPECT_NE(p.jumpState, Player::notJumping);
    for (int t = 0; t < 100; ++t) {  // the longest rise here takes 48 ticks
      highest = std::min(highest, p.y);
      field.tick();
    }
    EXPECT_EQ(highest, peak);
  }
}

}  // namespace
