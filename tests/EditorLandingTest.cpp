// An item, a teleporter, an enemy or the start placed with a click, or
// moved, rests on the first floor under the cursor, as the engine stands a
// figure there; with Shift (a move let go of with Ctrl), or with no floor
// below, it goes where the cursor's cell is.
// The tree's tiles are 32 x 8 (the grid), items 8 x 8, pads 24 x 32,
// enemies 12 x 12, the player 16 x 24.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"

namespace {

struct LandingRow {
  const char* name;
  std::vector<std::string> tiles;  // of the starting level, as LevelText lines
  const char* script;
  const char* expected;  // the summary line of what was placed
  bool onFloor;          // the engine finds it standing on a floor
};

void PrintTo(const LandingRow& row, std::ostream* out) { *out << row.name; }

// Asked of the engine as it placed the level: a figure's feet, a pad's
// arrival point, an item's bottom middle.
bool standsOnFloor(const Game& game, EditTool kind) {
  const FloorManager& floors = game.floorManager;
  if (kind.isStart()) return floors.isOnFloor(game.player.x, game.player.y);
  switch (kind.kind()) {
    case ElementKind::Enemy: {
      const Enemy& enemy = game.enemyManager.enemies().back();
      return floors.isOnFloor(enemy.x, enemy.y);
    }
    case ElementKind::Item: {
      const Item& item = game.itemManager.items().back();
      return floors.isOnFloor(static_cast<float>(item.x + item.width / 2),
                              static_cast<float>(item.y + item.height - 1));
    }
    case ElementKind::Teleporter: {
      float x = 0.0f;
      float y = 0.0f;
      game.teleporterManager.destination(game.teleporterManager.teleporters().back().number, x, y);
      return floors.isOnFloor(x, y);
    }
    default: return false;
  }
}

class Landings : public testing::TestWithParam<LandingRow> {};

TEST_P(Landings, RestOnTheFloorUnderTheCursor) {
  const LandingRow& row = GetParam();
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.start = "600 100 1";  // away from every cell the rows click
  start.tiles = row.tiles;
  fixture.startWith(start);
  LevelEditor& editor = *fixture.editor;
  perform(editor, row.script);
  const std::string summary = levelSummary(editor.level());
  EXPECT_NE(summary.find(row.expected), std::string::npos) << summary;
  EXPECT_EQ(standsOnFloor(*fixture.game, editor.tool()), row.onFloor) << summary;
}

const std::vector<std::string> floorAt200 = {"32 200 brick brick_clear 1 10"};
const std::vector<std::string> twoFloors = {"32 200 brick brick_clear 1 10",
                                            "32 120 brick brick_clear 1 10"};
const std::vector<std::string> floorAside = {"300 200 brick brick_clear 1 10"};

const LandingRow landingRows[] = {
    {"an enemy drops to the floor below", floorAt200, "tool 4; click 40 100",
     "enemy 48 199 0 -80 176 0.5 1 0 blob 600 100", true},
    {"an enemy with Shift stays in its cell", floorAt200, "tool 4; freeclick 40 100",
     "enemy 48 103 0", false},
    {"an enemy over no floor stays in its cell", floorAside, "tool 4; click 40 100",
     "enemy 48 103 0", false},
    {"an item drops to the floor below", floorAt200, "tool 5; click 40 100", "item 32 192 gem", true},
    {"an item with Shift stays in its cell", floorAt200, "tool 5; freeclick 40 100",
     "item 32 96 gem", false},
    {"an item over no floor stays in its cell", floorAside, "tool 5; click 40 100",
     "item 32 96 gem", false},
    {"an item clicked on the floor itself sits on it", floorAt200, "tool 5; click 40 203",
     "item 32 192 gem", true},
    {"an item takes the nearer of two floors below", twoFloors, "tool 5; click 40 100",
     "item 32 112 gem", true},
    {"an item between two floors takes the lower", twoFloors, "tool 5; click 40 150",
     "item 32 192 gem", true},
    {"a teleporter drops to the floor below", floorAt200, "tool 6; click 40 100",
     "teleporter 32 168 pad pad_cool 1", true},
    {"a teleporter with Shift stays in its cell", floorAt200, "tool 6; freeclick 40 100",
     "teleporter 32 72 pad", false},
    {"a teleporter over no floor stays in its cell", floorAside, "tool 6; click 40 100",
     "teleporter 32 72 pad", false},
    {"the start drops to the floor below", floorAt200, "tool 7; click 40 100", "start 48 199", true},
    {"the start with Shift stays in its cell", floorAt200, "tool 7; freeclick 40 100",
     "start 48 103", false},
    {"the start over no floor stays in its cell", floorAside, "tool 7; click 40 100",
     "start 48 103", false},
    {"without snapping it drops from the point", floorAt200, "tool 5; snap off; click 41 150",
     "item 41 192 gem", true},
    {"an item moved lands on the floor under it", floorAt200,
     "tool 5; freeclick 40 20; move 34 20 34 100", "item 32 192 gem", true},
    {"an item moved with Ctrl stays where it was let go", floorAt200,
     "tool 5; freeclick 40 20; freemove 34 20 34 100", "item 32 96 gem", false},
    {"an enemy moved lands with its patrol", floorAt200,
     "tool 4; freeclick 40 20; move 48 20 48 100", "enemy 48 199 0 -80 176 0.5", true},
    {"the start moved alone as the selection lands too", floorAt200,
     "tool 7; freeclick 40 20; select; band 48 20 48 20; drag 48 20 48 100", "start 48 199",
     true},
};

INSTANTIATE_TEST_SUITE_P(Editor, Landings, testing::ValuesIn(landingRows), caseName<LandingRow>);

// The outline the cursor shows is where the click, with or without Shift,
// puts the element.
TEST(EditorLanding, OutlineShowsTheLanding) {
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.tiles = floorAt200;
  fixture.startWith(start);
  LevelEditor& editor = *fixture.editor;
  for (EditTool tool : {EditTool(ElementKind::Enemy), EditTool(ElementKind::Item),
                        EditTool(ElementKind::Teleporter), EditTool::Start}) {
    for (bool free : {false, true}) {
      editor.setTool(tool);
      const Rect outline = editor.placementAt(40, 100, free);
      const ElementRef placed = editor.place(40, 100, free);
      ASSERT_TRUE(placed.valid()) << toolName(tool);
      const Rect landed = editor.bounds(placed);
      EXPECT_EQ(std::vector<int>({outline.x, outline.y, outline.w, outline.h}),
                std::vector<int>({landed.x, landed.y, landed.w, landed.h}))
          << toolName(tool) << (free ? " with Shift" : "");
      editor.undo();
    }
  }
}

}  // namespace
