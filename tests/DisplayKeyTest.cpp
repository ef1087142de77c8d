// The display key switches on its press alone, by F11 or Alt+Enter, and
// gives way to a control the player put on it; a Game showing on a bitmap
// of its own stays as it is.
#include <gtest/gtest.h>

#include <vector>

#include "game/DisplayKey.h"
#include "tests/support/PlayField.h"

namespace {

struct KeyCase {
  const char* name;
  std::vector<std::vector<int>> looks;  // keys down at each look
  std::vector<int> controls;
  int switches;  // presses seen over the looks
};

const std::vector<int> standard = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_SPACE, KEY_P};

const KeyCase keyCases[] = {
    {"F11 tapped", {{KEY_F11}, {}}, standard, 1},
    {"F11 held", {{KEY_F11}, {KEY_F11}, {KEY_F11}}, standard, 1},
    {"F11 twice", {{KEY_F11}, {}, {KEY_F11}}, standard, 2},
    {"Alt+Enter", {{KEY_ALT, KEY_ENTER}, {KEY_ALT}}, standard, 1},
    {"AltGr+Enter", {{KEY_ALTGR, KEY_ENTER}}, standard, 1},
    {"Enter alone", {{KEY_ENTER}, {}}, standard, 0},
    {"Alt alone", {{KEY_ALT}}, standard, 0},
    {"Alt held, Enter again", {{KEY_ALT, KEY_ENTER}, {KEY_ALT}, {KEY_ALT, KEY_ENTER}}, standard, 2},
    {"F11 a control", {{KEY_F11}, {}}, {KEY_F11, KEY_RIGHT}, 0},
    {"Enter a control", {{KEY_ALT, KEY_ENTER}}, {KEY_ENTER}, 0},
    {"Enter a control, F11 free", {{KEY_F11}}, {KEY_ENTER}, 1},
};

TEST(DisplayKey, SwitchesOnceAPressWhereNoControlIsOnTheKey) {
  for (const KeyCase& c : keyCases) {
    DisplayKey key;
    int switches = 0;
    for (const std::vector<int>& down : c.looks) {
      InputRecord input;
      for (int code : down) input.hold(code);
      if (key.pressed(input, c.controls)) ++switches;
    }
    EXPECT_EQ(switches, c.switches) << c.name;
  }
}

TEST(DisplayKey, AGameShowingOnItsOwnBitmapKeepsItsDisplay) {
  LevelLayout layout;
  layout.floor(0, 640, 300);
  PlayField field(layout);
  BitmapPtr shown(create_bitmap(640, 480));
  field.game->output.display = shown.get();
  field.game->output.displaySwitchable = true;
  field.game->input.hold(KEY_F11);
  field.game->switchDisplayOnKey();
  EXPECT_EQ(field.game->output.display, shown.get());
  EXPECT_EQ(field.game->output.presenter.layout().scale, 1);
}

}  // namespace
