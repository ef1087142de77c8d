// The palette's panel: where it stands for every place of the cursor and
// the element under it, that it stays put for the cursor coming to click,
// and that a click on a thumbnail chooses that look, on a real Game's
// catalog.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/EditorPalette.h"

namespace {

constexpr int mapWidth = 640;
constexpr int mapHeight = 480;

bool overlaps(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool onMap(const Rect& r) {
  return r.x >= 0 && r.y >= 0 && r.x + r.w <= mapWidth && r.y + r.h <= mapHeight;
}

struct PlaceRow {
  const char* name;
  int looks;
  Rect clear;   // the element under the cursor
  int x, y;     // the cursor
  bool right;   // the panel stands at the map's right
};

void PrintTo(const PlaceRow& row, std::ostream* out) { *out << row.name; }

class PalettePlaces : public testing::TestWithParam<PlaceRow> {};

TEST_P(PalettePlaces, KeepClearOfTheElementUnderTheCursor) {
  const PlaceRow& row = GetParam();
  const PaletteLayout layout =
      placePalette(row.looks, mapWidth, mapHeight, row.clear, row.x, row.y, PaletteLayout{});
  EXPECT_FALSE(layout.panel.empty());
  EXPECT_TRUE(onMap(layout.panel));
  EXPECT_FALSE(overlaps(layout.panel, row.clear));
  EXPECT_FALSE(layout.panel.contains(row.x, row.y));
  EXPECT_EQ(layout.panel.x + layout.panel.w / 2 > mapWidth / 2, row.right);
  for (int look = 0; look < row.looks; ++look) {
    const Rect t = layout.thumbnail(look);
    EXPECT_TRUE(t.x >= layout.panel.x && t.x + t.w <= layout.panel.x + layout.panel.w &&
                t.y >= layout.panel.y && t.y + t.h <= layout.panel.y + layout.panel.h)
        << "look " << look << " outside the panel";
  }
}

const PlaceRow placeRows[] = {
    {"cursor at the left puts it right", 5, Rect{100, 300, 32, 8}, 110, 303, true},
    {"cursor at the right puts it left", 5, Rect{500, 300, 32, 8}, 510, 303, false},
    {"a tile in the top right corner", 5, Rect{608, 0, 32, 8}, 620, 4, false},
    {"a tall ladder at the right under the panel's corner", 3, Rect{560, 0, 16, 480}, 570, 100,
     false},
    {"a wide ledge across the top at the left", 3, Rect{0, 0, 600, 40}, 100, 20, true},
    {"a wide ledge across the top at the right", 3, Rect{40, 0, 600, 40}, 620, 20, false},
    {"nothing under the cursor in the middle right", 4, Rect{321, 240, 1, 1}, 321, 240, false},
    {"many looks in small cells", 200, Rect{100, 100, 16, 16}, 104, 104, true},
};

INSTANTIATE_TEST_SUITE_P(EditorPalette, PalettePlaces, testing::ValuesIn(placeRows),
                         caseName<PlaceRow>);

// The cursor crossing to the panel to click must not chase it away, but an
// element the cursor comes to under the panel does.
TEST(EditorPalette, StaysForTheCursorAndMovesForAnElementUnderIt) {
  const Rect tile{100, 300, 32, 8};
  const PaletteLayout first = placePalette(5, mapWidth, mapHeight, tile, 110, 303, PaletteLayout{});
  const Rect t = first.thumbnail(2);
  const int x = t.x + t.w / 2;
  const int y = t.y + t.h / 2;
  const Rect beneath{x - 4, y - 4, 8, 8};
  const PaletteLayout onIt = placePalette(5, mapWidth, mapHeight, beneath, x, y, first);
  EXPECT_EQ(onIt.panel.x, first.panel.x);
  EXPECT_EQ(onIt.panel.y, first.panel.y);
  const int belowX = first.panel.x + first.panel.w / 2;
  const int belowY = first.panel.y + first.panel.h + 2;
  const Rect reaching{belowX - 8, first.panel.y + first.panel.h - 6, 16, 16};
  const PaletteLayout moved = placePalette(5, mapWidth, mapHeight, reaching, belowX, belowY, first);
  EXPECT_FALSE(overlaps(moved.panel, reaching));
}

TEST(EditorPalette, AClickOnAThumbnailChoosesItsLook) {
  EditorFixture fixture(false);
  fixture.tree.writeSolidPng("media/gfx/static/floor tiles/normal/stone.png", 16, 12, 90, 90, 90);
  fixture.tree.writeSolidPng("media/gfx/static/floor tiles/normal/moss.png", 32, 8, 20, 160, 20);
  fixture.build();
  LevelEditor& editor = *fixture.editor;
  const LookCatalog& looks = *fixture.looks;
  editor.setTool(ElementKind::Tile);
  const int count = looks.count(ElementKind::Tile);
  ASSERT_EQ(count, 3);
  const PaletteLayout layout = placePalette(count, mapWidth, mapHeight,
                                            paletteClearance(editor, 50, 50), 50, 50,
                                            PaletteLayout{});
  for (const char* name : {"stone", "brick", "moss"}) {
    const Rect t = layout.thumbnail(looks.find(ElementKind::Tile, name));
    EXPECT_TRUE(choosePaletteLook(layout, t.x + t.w - 1, t.y, editor)) << name;
    EXPECT_EQ(editor.lookName(), name);
  }
  // Between the thumbnails and off the panel nothing is chosen.
  const Rect second = layout.thumbnail(1);
  EXPECT_FALSE(choosePaletteLook(layout, second.x - 1, second.y, editor));
  EXPECT_FALSE(choosePaletteLook(layout, layout.panel.x - 5, layout.panel.y + 20, editor));
  EXPECT_EQ(editor.lookName(), "moss");
}

// The panel keeps clear of what is under the cursor: an element's bounds
// as the Game placed them, else the point itself.
TEST(EditorPalette, ClearsTheElementUnderTheCursorOrItsPoint) {
  EditorFixture fixture;
  fixture.startWith(EditorFixture::emptyLevel());
  LevelEditor& editor = *fixture.editor;
  editor.setTool(ElementKind::Ladder);
  const ElementRef ladder = editor.place(400, 100);
  ASSERT_TRUE(ladder.valid());
  const Rect bounds = editor.bounds(ladder);
  const Rect under = paletteClearance(editor, bounds.x + 2, bounds.y + 2);
  EXPECT_EQ(under.x, bounds.x);
  EXPECT_EQ(under.h, bounds.h);
  const Rect none = paletteClearance(editor, 20, 20);
  EXPECT_EQ(none.x, 20);
  EXPECT_EQ(none.w, 1);
}

}  // namespace
