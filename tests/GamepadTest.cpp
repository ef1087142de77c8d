// The first joystick walks, climbs and jumps as the game's keys do: a tick
// with the pad in some state must do exactly what a tick with the matching
// keys held does.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/PlayField.h"

namespace {

// The floor's top row is 300; a ladder stands around x 212 from row 236,
// where a ledge meets its head, down to the floor.
LevelLayout playground(int startX, int startY) {
  LevelLayout layout;
  layout.startX = startX;
  layout.startY = startY;
  layout.floor(0, 640, 300);
  layout.floor(160, 256, 236);
  layout.ladders.push_back("204 236 64 rungs");
  return layout;
}

// Allegro's joystick globals as a test leaves them: a test sets them as a
// user's hands would, and they are put back afterwards.
class JoystickGlobals {
 public:
  JoystickGlobals() : count_(num_joysticks), first_(joy[0]) {}
  ~JoystickGlobals() {
    num_joysticks = count_;
    joy[0] = first_;
  }
  JoystickGlobals(const JoystickGlobals&) = delete;
  JoystickGlobals& operator=(const JoystickGlobals&) = delete;

 private:
  int count_;
  JOYSTICK_INFO first_;
};

// A pad seen by Allegro: positions of the first stick's two axes, its
// digital directions (-1 for d1, 1 for d2, 0 for neither) and the buttons
// down, one bit each of four.
struct Pad {
  int x = 0;
  int y = 0;
  int digitalX = 0;
  int digitalY = 0;
  unsigned buttons = 0;
  int joysticks = 1;
};

void setAxis(JOYSTICK_AXIS_INFO& axis, int pos, int digital) {
  axis.pos = pos;
  axis.d1 = digital < 0;
  axis.d2 = digital > 0;
}

void showPad(const Pad& pad) {
  num_joysticks = pad.joysticks;
  joy[0].num_sticks = 1;
  joy[0].stick[0].num_axis = 2;
  setAxis(joy[0].stick[0].axis[0], pad.x, pad.digitalX);
  setAxis(joy[0].stick[0].axis[1], pad.y, pad.digitalY);
  joy[0].num_buttons = 4;
  for (int b = 0; b < 4; ++b) joy[0].button[b].b = (pad.buttons >> b) & 1u;
}

struct PadCase {
  const char* name;
  Pad pad;
  std::vector<int> keys;  // the keys the pad acts as: a tick holding them does the same
  int startX = 300;
  int startY = 299;
  const char* config = "";  // pwe.cfg
};

void PrintTo(const PadCase& c, std::ostream* out) { *out << c.name; }

const int atLadderX = 212;
const int ledgeY = 235;

const PadCase padCases[] = {
    {"centred", {}, {}},
    {"left inside the dead zone", {-47}, {}},
    {"left at the dead zone", {-48}, {KEY_LEFT}},
    {"right inside the dead zone", {47}, {}},
    {"right at the dead zone", {48}, {KEY_RIGHT}},
    // A digital pad shows a push at the end of the travel, flag and all.
    {"digital left", {-128, 0, -1}, {KEY_LEFT}},
    {"digital right", {128, 0, 1}, {KEY_RIGHT}},
    {"first button", {0, 0, 0, 0, 1}, {KEY_SPACE}},
    {"first button pushed left", {-100, 0, 0, 0, 1}, {KEY_SPACE, KEY_LEFT}},
    {"second button", {0, 0, 0, 0, 2}, {}},
    {"no joystick", {-128, 0, -1, 0, 1, 0}, {}},
    {"up at the ladder's foot", {0, -128}, {KEY_UP}, atLadderX},
    {"digital up at the ladder's foot", {0, -128, 0, -1}, {KEY_UP}, atLadderX},
    {"up inside the dead zone", {0, -47}, {}, atLadderX},
    {"down at the ladder's head", {0, 48}, {KEY_DOWN}, atLadderX, ledgeY},
    {"digital down at the ladder's head", {0, 128, 0, 1}, {KEY_DOWN}, atLadderX, ledgeY},
    {"configured button", {0, 0, 0, 0, 4}, {KEY_SPACE}, 300, 299, "[joystick]\njump = 2\n"},
    {"first button when another jumps", {0, 0, 0, 0, 1}, {}, 300, 299, "[joystick]\njump = 2\n"},
    {"inside a configured dead zone", {99}, {}, 300, 299, "[joystick]\ndead_zone = 100\n"},
    {"at a configured dead zone", {100}, {KEY_RIGHT}, 300, 299, "[joystick]\ndead_zone = 100\n"},
    {"any push with no dead zone", {-1}, {KEY_LEFT}, 300, 299, "[joystick]\ndead_zone = 0\n"},
    // Left is the A key, which also jumps: the pad's left does both.
    {"left on a configured key", {-128}, {KEY_A}, 300, 299, "[keyboard]\nleft = 1\njump = 1\n"},
};

// Where a tick left the player, and its jump state.
using Outcome = std::tuple<float, float, int>;
Outcome outcome(const Player& p) { return {p.x, p.y, p.jumpState}; }

PlayField fieldFor(const PadCase& c) {
  const std::string config = c.config;
  return PlayField(playground(c.startX, c.startY), [config](GameTree& tree) {
    if (config.empty()) return;
    tree.writeText("media/pwe.cfg", config);
    set_config_file("media/pwe.cfg");
  });
}

class PadState : public testing::TestWithParam<PadCase> {};

TEST_P(PadState, ActsAsTheMatchingKeys) {
  const PadCase& c = GetParam();
  JoystickGlobals restore;
  const Outcome expected = [&] {
    PlayField keyboard = fieldFor(c);
    showPad(Pad{0, 0, 0, 0, 0, 0});
    keyboard.tickHolding(c.keys);
    return outcome(keyboard.player());
  }();
  PlayField pad = fieldFor(c);
  const Outcome before = outcome(pad.player());
  showPad(c.pad);
  pad.tickHolding({});
  EXPECT_EQ(outcome(pad.player()), expected);
  // Keys that act must have moved the player, or the comparison proves nothing.
  EXPECT_EQ(outcome(pad.player()) != before, !c.keys.empty());
}

INSTANTIATE_TEST_SUITE_P(Pads, PadState, testing::ValuesIn(padCases));

// What Allegro 4.4's Linux driver made of raw event values (-32767 to
// 32767) on a stick axis, recorded by feeding it those events: its digital
// flags go up past 8192, a quarter of the way out, at position 31.
struct DriverAxis {
  int raw;  // the kernel's value
  int pos;  // what the driver reported
  int d1;
  int d2;
};
const DriverAxis driverAxes[] = {
    {0, 0, 0, 0},           {4096, 15, 0, 0},      {-4096, -15, 0, 0},
    {8192, 31, 0, 0},       {8193, 31, 0, 1},      {-8193, -31, 1, 0},
    {12384, 47, 0, 1},      {-12384, -47, 1, 0},   {12385, 48, 0, 1},
    {-12385, -48, 1, 0},    {20000, 77, 0, 1},     {25800, 99, 0, 1},
    {25801, 100, 0, 1},     {-26000, -100, 1, 0},  {32767, 127, 0, 1},
    {-32767, -127, 1, 0},
};

// The direction a stick held at a driver's value counts as, for each dead
// zone: -1 left (or up), 1 right (or down), 0 none.
struct ZoneCase {
  int deadZone;
  std::vector<int> raws;  // values of driverAxes
  int direction;
};
const ZoneCase zoneCases[] = {
    {Gamepad::defaultDeadZone, {0, 4096, -4096, 8192, 8193, -8193, 12384, -12384}, 0},
    {Gamepad::defaultDeadZone, {12385, 20000, 25800, 32767}, 1},
    {Gamepad::defaultDeadZone, {-12385, -26000, -32767}, -1},
    {100, {8193, 12385, 20000, 25800}, 0},
    {100, {25801, 32767}, 1},
    {100, {-26000, -32767}, -1},
    {32, {8192, 8193, -8193}, 0},
    {32, {12384, 12385}, 1},
    {0, {0}, 0},
    {0, {4096}, 1},
};

const DriverAxis& driverAxis(int raw) {
  for (const DriverAxis& a : driverAxes) {
    if (a.raw == raw) return a;
  }
  ADD_FAILURE() << raw << " is not in the driver's table";
  return driverAxes[0];
}

TEST(Gamepad, TheDeadZoneHoldsForWhatTheLinuxDriverReports) {
  JoystickGlobals restore;
  const Gamepad::Codes codes = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_SPACE};
  for (const ZoneCase& c : zoneCases) {
    for (int raw : c.raws) {
      const DriverAxis& a = driverAxis(raw);
      showPad(Pad{});
      for (JOYSTICK_AXIS_INFO& axis : joy[0].stick[0].axis) {
        axis.pos = a.pos;
        axis.d1 = a.d1;
        axis.d2 = a.d2;
      }
      Gamepad pad;
      pad.settings.deadZone = c.deadZone;
      pad.read();
      const int across = pad.actsAs(KEY_RIGHT, codes) - pad.actsAs(KEY_LEFT, codes);
      const int along = pad.actsAs(KEY_DOWN, codes) - pad.actsAs(KEY_UP, codes);
      EXPECT_EQ(across, c.direction) << "raw " << raw << ", dead zone " << c.deadZone;
      EXPECT_EQ(along, c.direction) << "raw " << raw << ", dead zone " << c.deadZone;
    }
  }
}

TEST(Gamepad, AControlDownWhenPlayBeginsWaitsUntilReleased) {
  JoystickGlobals restore;
  PlayField field(playground(300, 299));
  Player& p = field.player();
  showPad(Pad{-128, 0, 0, 0, 1});
  field.holdBackHeld({});
  for (int i = 0; i < 5; ++i) field.tickHolding({});
  EXPECT_EQ(p.x, 300.0f);
  EXPECT_EQ(p.jumpState, Player::notJumping);
  // Still pushed left, the button let go and pressed again jumps.
  showPad(Pad{-128});
  field.tickHolding({});
  showPad(Pad{-128, 0, 0, 0, 1});
  field.tickHolding({});
  EXPECT_EQ(p.jumpState, Player::risingUp);
  EXPECT_EQ(p.x, 300.0f);
}

TEST(Gamepad, SettingsNoJoystickCanHaveFallBackToDefaults) {
  const std::string configs[] = {"[joystick]\njump = 32\ndead_zone = 129\n",
                                 "[joystick]\njump = -1\ndead_zone = -1\n"};
  const std::vector<std::string> lines[] = {
      {"Joystick button 32 for \"jump\" is not a button; using 0.",
       "Joystick dead zone 129 is outside 0 to 128; using 48."},
      {"Joystick button -1 for \"jump\" is not a button; using 0.",
       "Joystick dead zone -1 is outside 0 to 128; using 48."}};
  for (int i = 0; i < 2; ++i) {
    JoystickGlobals restore;
    PlayField field(playground(300, 299));
    set_config_data(configs[i].c_str(), static_cast<int>(configs[i].size()));
    field.game->loadControls();
    EXPECT_EQ(field.log, lines[i]) << configs[i];
    // The defaults are in force: the first button jumps, 48 walks.
    showPad(Pad{48, 0, 0, 0, 1});
    field.tickHolding({});
    EXPECT_EQ(field.player().jumpState, Player::risingRight) << configs[i];
  }
}

}  // namespace
