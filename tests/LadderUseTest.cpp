// Climbing: where the climbing keys take hold, the ladder step and its two
// ends, through real game ticks.
#include <gtest/gtest.h>

#include "tests/support/PlayField.h"

namespace {

// A ladder from row 200 down to row 299 joins an upper floor (top row 200)
// and a lower one (top row 300). The player's x of 100 is within the
// ladder's narrowed span 98..102.
LevelLayout ladderBetweenFloors(int startY) {
  LevelLayout layout;
  layout.startX = 100;
  layout.startY = startY;
  layout.ladders.push_back("92 200 100 rungs");
  layout.floor(0, 640, 300);
  layout.floor(64, 160, 200);
  return layout;
}

TEST(Ladder, ClimbingKeysTakeHoldWhereTheFloorAllows) {
  struct Case {
    const char* where;
    int startY;
    int code;
    float yAfter;  // climbSpeed 2
    bool climbs;
  };
  const Case cases[] = {
      {"up at the foot", 299, KEY_UP, 297.0f, true},
      {"down at the foot", 299, KEY_DOWN, 299.0f, false},
      {"up at the head, on the floor", 199, KEY_UP, 199.0f, false},
      {"down at the head", 199, KEY_DOWN, 201.0f, true},
      {"up in the middle", 250, KEY_UP, 248.0f, true},
      {"down in the middle", 250, KEY_DOWN, 252.0f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    PlayField field(ladderBetweenFloors(c.startY));
    Player& p = field.player();
    field.tickHolding({c.code});
    EXPECT_EQ(p.y, c.yAfter);
    EXPECT_EQ(p.x, 100.0f);
    EXPECT_FALSE(p.climbStep);  // lives for one tick
    EXPECT_EQ(p.sprite.animationIndex(), c.climbs ? Player::climb : Player::walkRight);
    if (c.climbs) {
      EXPECT_EQ(p.climbDirection, c.code == KEY_UP ? Player::climbingUp : Player::climbingDown);
    }
    EXPECT_FALSE(p.falling);
  }
}

TEST(Ladder, BothKeysHeldClimbDown) {
  PlayField field(ladderBetweenFloors(250));
  field.tickHolding({KEY_UP, KEY_DOWN});
  EXPECT_EQ(field.player().y, 252.0f);
}

TEST(Ladder, OffTheLaddersSpanTheKeysDoNothing) {
  LevelLayout layout = ladderBetweenFloors(299);
  layout.startX = 97;  // one column left of the narrowed span
  PlayField field(layout);
  field.tickHolding({KEY_UP});
  EXPECT_EQ(field.player().y, 299.0f);
  EXPECT_EQ(field.player().sprite.animationIndex(), Player::walkRight);
}

TEST(Ladder, ClimbUpPastTheTopStopsOneRowAboveItKeepingTheFrame) {
  PlayField field(ladderBetweenFloors(207));
  Player& p = field.player();
  p.climbSpeed = 3.0f;
  field.tickHolding({KEY_UP});  // 204
  field.tickHolding({KEY_UP});  // 201
  EXPECT_EQ(p.y, 201.0f);
  const Animation& climbing = p.sprite.animation(Player::climb);
  const int frame = climbing.frameIndex();
  const int spent = climbing.frameTicks();
  field.tickHolding({KEY_UP});  // 198 is above row 200: feet go to 199
  EXPECT_EQ(p.y, 199.0f);
  EXPECT_EQ(climbing.frameIndex(), frame);
  EXPECT_EQ(climbing.frameTicks(), spent);
  // Standing on the upper floor at the ladder's head, up does nothing more.
  field.tickHolding({KEY_UP});
  EXPECT_EQ(p.y, 199.0f);
  EXPECT_FALSE(p.falling);
}

TEST(Ladder, ClimbDownPastTheBottomStopsOnItsLastRow) {
  LevelLayout layout;
  layout.startX = 100;
  layout.startY = 293;
  layout.ladders.push_back("92 200 100 rungs");
  layout.floor(0, 640, 320);  // well below the ladder's foot
  PlayField field(layout);
  Player& p = field.player();
  p.climbSpeed = 4.0f;
  field.tickHolding({KEY_DOWN});
  EXPECT_EQ(p.y, 297.0f);
  field.tickHolding({KEY_DOWN});  // 301 is below 200 + 100
  EXPECT_EQ(p.y, 300.0f);
}

TEST(Ladder, ClimbAnimationAdvancesOnlyWithSteps) {
  PlayField field(ladderBetweenFloors(280));
  Player& p = field.player();
  for (int t = 0; t < 4; ++t) field.tickHolding({KEY_UP});
  const Animation& climbing = p.sprite.animation(Player::climb);
  EXPECT_EQ(climbing.frameIndex(), 1);  // 4 ticks a frame
  EXPECT_EQ(p.y, 272.0f);
  for (int t = 0; t < 4; ++t) field.tick();  // hanging on, no key
  EXPECT_EQ(climbing.frameIndex(), 1);
  EXPECT_EQ(p.y, 272.0f);
}

TEST(Ladder, NoJumpFromTheLadder) {
  PlayField field(ladderBetweenFloors(250));
  Player& p = field.player();
  field.tickHolding({KEY_UP});
  field.tickHolding({KEY_SPACE});
  EXPECT_EQ(p.jumpState, Player::notJumping);
  EXPECT_EQ(p.y, 248.0f);
}

}  // namespace
