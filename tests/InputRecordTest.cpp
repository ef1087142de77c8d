// The tick reads its keys and pad from one input record. Filled from the
// devices, the record must hold exactly what Allegro's key[] and joystick
// show; filled by hand, it must drive a tick as held keys did.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "player/InputRecord.h"
#include "tests/support/PlayField.h"

namespace {

// Allegro's key[] as these tests leave it: they write it as a user's hands
// would, and it is cleared afterwards.
struct KeyboardCleared {
  KeyboardCleared() { clear(); }
  ~KeyboardCleared() { clear(); }
  static void clear() {
    for (int code = 0; code < KEY_MAX; ++code) key[code] = 0;
  }
};

struct KeyboardCase {
  std::vector<int> codes;  // held
  int value;               // what key[] shows for a held key
};
const KeyboardCase keyboardCases[] = {
    {{}, 1},
    {{KEY_LEFT, KEY_SPACE}, 1},
    {{KEY_ESC, KEY_P, KEY_1, KEY_9}, -1},  // X11 shows a held key as -1
    {{0, KEY_0_PAD, KEY_MAX - 1}, 1},       // the ends of the table and a pad digit
};

TEST(InputRecord, FromTheDevicesHoldsExactlyTheKeysDown) {
  KeyboardCleared cleared;
  const int joysticks = num_joysticks;
  num_joysticks = 0;
  for (const KeyboardCase& c : keyboardCases) {
    KeyboardCleared::clear();
    for (int code : c.codes) key[code] = static_cast<char>(c.value);
    InputRecord record;
    record.pad = ~0u;
    record.readDevices(Gamepad::Settings{});
    std::vector<int> down;
    for (int code = -1; code <= KEY_MAX; ++code) {
      if (record.down(code)) down.push_back(code);
    }
    std::vector<int> expected = c.codes;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(down, expected);
    EXPECT_EQ(record.pad, 0u) << "no joystick, no control down";
  }
  num_joysticks = joysticks;
}

TEST(InputRecord, FromTheDevicesHoldsTheJoysticksControls) {
  const int joysticks = num_joysticks;
  const JOYSTICK_INFO first = joy[0];
  num_joysticks = 1;
  joy[0].num_sticks = 1;
  joy[0].stick[0].num_axis = 2;
  joy[0].stick[0].axis[0].pos = -Gamepad::fullTravel;
  joy[0].stick[0].axis[1].pos = 0;
  joy[0].num_buttons = 1;
  joy[0].button[0].b = 1;
  InputRecord record;
  record.readDevices(Gamepad::Settings{});
  EXPECT_EQ(record.pad, (1u << Gamepad::left) | (1u << Gamepad::jump));
  // The pause reads the keyboard alone: the pad stays as the tick saw it.
  joy[0].button[0].b = 0;
  record.readKeyboard();
  EXPECT_EQ(record.pad, (1u << Gamepad::left) | (1u << Gamepad::jump));
  num_joysticks = joysticks;
  joy[0] = first;
}

// A floor at row 300 with a ladder whose head meets a ledge at row 236.
LevelLayout playground() {
  LevelLayout layout;
  layout.startX = 300;
  layout.startY = 299;
  layout.floor(0, 640, 300);
  layout.floor(160, 256, 236);
  layout.ladders.push_back("204 236 64 rungs");
  return layout;
}

struct DriveCase {
  const char* name;
  std::vector<int> codes;  // held for every tick
  int startX;
};
const DriveCase driveCases[] = {
    {"walk left", {KEY_LEFT}, 300},
    {"jump right", {KEY_SPACE, KEY_RIGHT}, 300},
    {"straight jump", {KEY_SPACE}, 300},
    {"climb the ladder", {KEY_UP}, 212},
    {"escape", {KEY_ESC}, 300},
};

// Where each tick left the player, and whether the run is to end.
using Trace = std::vector<std::tuple<float, float, int, bool>>;

Trace play(PlayField& field, int ticks) {
  Trace trace;
  for (int t = 0; t < ticks; ++t) {
    field.tick();
    const Player& p = field.player();
    trace.emplace_back(p.x, p.y, p.jumpState, field.game->quit);
  }
  return trace;
}

TEST(InputRecord, AFilledRecordDrivesTheTickAsHeldKeysDid) {
  KeyboardCleared cleared;
  for (const DriveCase& c : driveCases) {
    LevelLayout layout = playground();
    layout.startX = c.startX;
    PlayField keyboard(layout);
    keyboard.game->inputSource.inputFromDevices = true;
    for (int code : c.codes) key[code] = 1;
    const Trace held = play(keyboard, 30);
    KeyboardCleared::clear();

    PlayField filled(layout);
    filled.game->inputSource.inputFromDevices = false;
    for (int code : c.codes) filled.game->input.hold(code);
    const Trace recorded = play(filled, 30);
    EXPECT_EQ(recorded, held) << c.name;
    // The keys must have done something, or the comparison proves nothing.
    EXPECT_NE(held.back(), std::make_tuple(float(c.startX), 299.0f, 0, false)) << c.name;
  }
}

}  // namespace
