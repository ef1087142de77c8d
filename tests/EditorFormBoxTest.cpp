// What the editor's forms and map show besides the level: a box entered
// by the keyboard has its text selected, so typing replaces it; the help's
// last page says what F1 does there; every teleporter's number is written
// on its pad, light on dark.
#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/EditorHelp.h"
#include "tools/edit/EditorInput.h"
#include "tools/edit/TeleporterNumbers.h"

namespace {

struct BitmapDeleter {
  void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

// A key as the GUI hands it to the box with the focus: the code first;
// a character the box left unused follows.
int press(DIALOG& box, int scan, int character) {
  const int used = selectingEditProc(MSG_CHAR, &box, (scan << 8) | character);
  if ((used & D_USED_CHAR) != 0 || character < ' ') return used;
  return selectingEditProc(MSG_UCHAR, &box, character);
}

struct BoxRow {
  const char* name;
  const char* keys;  // characters; '<' Backspace, '>' End, '^' Home
  const char* text;  // the box's text afterwards
};

void PrintTo(const BoxRow& row, std::ostream* out) { *out << row.name; }

const BoxRow boxRows[] = {
    {"typing replaces the value", "75", "75"},
    {"Backspace empties it", "<", ""},
    {"End lets go and appends", ">7", "1207"},
    {"Home lets go and inserts", "^7", "7120"},
    {"nothing typed keeps it", "", "120"},
};

class FormBox : public testing::TestWithParam<BoxRow> {};

TEST_P(FormBox, SelectsItsValueWhenEntered) {
  const BoxRow& row = GetParam();
  EditorFixture fixture;  // Allegro, headless
  // The GUI draws a box on Allegro's screen: a memory bitmap stands for it.
  Bitmap shown(create_bitmap(200, 20));
  screen = shown.get();
  gui_set_screen(shown.get());
  char text[64] = "120";
  DIALOG box{};
  box.proc = selectingEditProc;
  box.w = 180;
  box.h = 12;
  box.d1 = 40;
  box.d2 = 3;
  box.dp = text;
  box.fg = makecol(0, 0, 0);
  box.bg = makecol(255, 255, 255);
  selectingEditProc(MSG_GOTFOCUS, &box, 0);
  for (const char* k = row.keys; *k != '\0'; ++k) {
    if (*k == '<') press(box, KEY_BACKSPACE, 8);
    else if (*k == '>') press(box, KEY_END, 0);
    else if (*k == '^') press(box, KEY_HOME, 0);
    else press(box, KEY_0 + (*k - '0'), *k);
  }
  EXPECT_STREQ(text, row.text);
  gui_set_screen(nullptr);
  screen = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Editor, FormBox, testing::ValuesIn(boxRows), caseName<BoxRow>);

TEST(EditorHelp, SaysWhatF1DoesOnEachPage) {
  EXPECT_NE(helpTitle(0, 2).find(": F1 next page, Escape closes"), std::string::npos);
  for (const std::string& last : {helpTitle(1, 2), helpTitle(0, 1)}) {
    EXPECT_NE(last.find(": F1 or Escape closes"), std::string::npos) << last;
  }
}

// The plate's pixels: how many are of the light figures.
int lightPixels(BITMAP* map, const Rect& plate) {
  int light = 0;
  for (int y = plate.y; y < plate.y + plate.h; ++y) {
    for (int x = plate.x; x < plate.x + plate.w; ++x) {
      const int c = getpixel(map, x, y);
      light += getr(c) > 200 && getg(c) > 200 && getb(c) > 200 ? 1 : 0;
    }
  }
  return light;
}

TEST(EditorMap, WritesEveryTeleportersNumberOnItsPad) {
  const int numbers[] = {3, 12, 3};  // a pair and a number past the digit keys
  EditorFixture fixture;
  LevelData level = fixture.editor->level();
  for (int i = 0; i < 3; ++i) {
    level.teleporters.push_back(TeleporterSpec{100 + 120 * i, 200, "pad", "pad_cool", numbers[i]});
  }
  level.teleporterCount = 3;
  ASSERT_EQ(fixture.editor->replaceLevel(level), 0);
  Bitmap map(create_bitmap(640, 480));
  clear_to_color(map.get(), makecol(0, 200, 220));  // the pad's own colour all over
  drawTeleporterNumbers(map.get(), *fixture.editor);
  for (int i = 0; i < 3; ++i) {
    const Rect pad = fixture.editor->bounds(ElementRef{ElementKind::Teleporter, i});
    const Rect plate = teleporterNumberPlate(*fixture.editor, i);
    SCOPED_TRACE(i);
    EXPECT_TRUE(plate.x >= pad.x && plate.x + plate.w <= pad.x + pad.w && plate.y >= pad.y &&
                plate.y + plate.h <= pad.y + pad.h)
        << "the number lies on its pad";
    EXPECT_GT(lightPixels(map.get(), plate), 4 * static_cast<int>(std::to_string(numbers[i]).size()));
    EXPECT_EQ(getpixel(map.get(), plate.x, plate.y), makecol(0, 0, 0)) << "on a dark plate";
  }
}

}  // namespace
