// Keys already down when play begins (the key that skipped the title card)
// do nothing until released once; every other key, Escape and the close
// button act from the first tick.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "shell/CloseButton.h"
#include "tests/support/PlayField.h"

namespace {

// The floor's top row is 300; pad 1 covers x 100..123, pad 2 x 400..423;
// a ladder stands around x 212 from row 236 down to the floor.
LevelLayout playground(int startX) {
  LevelLayout layout;
  layout.startX = startX;
  layout.floor(0, 640, 300);
  layout.ladders.push_back("204 236 64 rungs");
  layout.teleporters.push_back("100 268 pad pad_cool 1");
  layout.teleporters.push_back("400 268 pad pad_cool 2");
  return layout;
}

struct HeldKeyCase {
  const char* name;
  int code;
  int startX;
  std::function<float(const Player&)> watched;  // changes once the key acts
};

const HeldKeyCase heldKeyCases[] = {
    {"walk right", KEY_RIGHT, 300, [](const Player& p) { return p.x; }},
    {"walk left", KEY_LEFT, 300, [](const Player& p) { return p.x; }},
    {"jump", KEY_SPACE, 300, [](const Player& p) { return static_cast<float>(p.jumpState); }},
    {"climb", KEY_UP, 212, [](const Player& p) { return p.y; }},
    {"teleport", KEY_2, 112, [](const Player& p) { return p.x; }},
};

void PrintTo(const HeldKeyCase& c, std::ostream* out) { *out << c.name; }

class HeldAtStart : public testing::TestWithParam<HeldKeyCase> {};

TEST_P(HeldAtStart, DoesNothingUntilReleasedOnce) {
  const HeldKeyCase& c = GetParam();
  PlayField field(playground(c.startX));
  Player& p = field.player();
  const float before = c.watched(p);
  field.holdBackHeld({c.code});
  for (int i = 0; i < 10; ++i) field.tickHolding({c.code});
  field.tick();
  EXPECT_EQ(c.watched(p), before) << "held since the start, or its release, acted";
  // Pressed again, it acts as any key does (a digit when let go).
  for (int i = 0; i < 5; ++i) field.tickHolding({c.code});
  field.tick();
  EXPECT_NE(c.watched(p), before);
  releaseAllKeys();
}

INSTANTIATE_TEST_SUITE_P(Keys, HeldAtStart, testing::ValuesIn(heldKeyCases));

TEST(HeldAtStart, OtherKeysActFromTheFirstTick) {
  PlayField field(playground(300));
  Player& p = field.player();
  field.holdBackHeld({KEY_RIGHT});
  field.tickHolding({KEY_RIGHT, KEY_LEFT});
  EXPECT_LT(p.x, 300.0f);  // left walks; the held-back right does not

  field.holdBackHeld({KEY_ESC});
  field.tickHolding({KEY_ESC});
  EXPECT_TRUE(field.game->quit);
}

TEST(CloseButton, EndsTheRunAfterTheTickAsEscapeDoes) {
  PlayField field(playground(300));
  Player& p = field.player();
  setCloseRequested(true);
  field.tickHolding({KEY_RIGHT});
  setCloseRequested(false);
  EXPECT_TRUE(field.game->quit);
  EXPECT_GT(p.x, 300.0f);  // the tick in which it was seen ran to its end
}

}  // namespace
