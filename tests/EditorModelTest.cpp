// The editor's model driven headless by scripts of mouse and key actions, as
// the front end would turn them into calls: what the level holds after each
// script, what lies under a point, and how undo and redo walk the history.
// The tree's tiles are 32 x 8 (the grid), ladders 16 wide, chute steps
// 16 x 16, items 8 x 8, pads 24 x 32, enemies 12 x 12, the player 16 x 24.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"

namespace {

struct EditRow {
  const char* name;
  std::vector<std::string> ladders;  // of the starting level, as LevelText lines
  const char* script;
  const char* expected;  // levelSummary of the level afterwards
};

void PrintTo(const EditRow& row, std::ostream* out) { *out << row.name; }

class EditScripts : public testing::TestWithParam<EditRow> {};

TEST_P(EditScripts, LeaveTheLevelAsExpected) {
  const EditRow& row = GetParam();
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.ladders = row.ladders;
  fixture.startWith(start);
  perform(*fixture.editor, row.script);
  const LevelData& level = fixture.editor->level();
  EXPECT_EQ(levelSummary(level), row.expected);
  EXPECT_EQ(level.tileCount, static_cast<int>(level.tiles.size()));
  EXPECT_EQ(level.ladderCount, static_cast<int>(level.ladders.size()));
  EXPECT_EQ(level.teleporterCount, static_cast<int>(level.teleporters.size()));
}

const EditRow editRows[] = {
    {"a click places a tile on the grid", {}, "click 40 13",
     "tile 32 8 brick brick_clear 1 10\nstart 100 299\n"},
    {"without snapping at the very point", {}, "snap off; click 41 13",
     "tile 41 13 brick brick_clear 1 10\nstart 100 299\n"},
    {"a drag paints every cell between two samples", {}, "paint 0 100 200 100",
     "tile 0 96 brick brick_clear 1 10\ntile 32 96 brick brick_clear 1 10\n"
     "tile 64 96 brick brick_clear 1 10\ntile 96 96 brick brick_clear 1 10\n"
     "tile 128 96 brick brick_clear 1 10\ntile 160 96 brick brick_clear 1 10\n"
     "tile 192 96 brick brick_clear 1 10\nstart 100 299\n"},
    {"a diagonal drag steps cell by cell", {}, "paint 0 0 96 24",
     "tile 0 0 brick brick_clear 1 10\ntile 32 8 brick brick_clear 1 10\n"
     "tile 64 16 brick brick_clear 1 10\ntile 96 24 brick brick_clear 1 10\nstart 100 299\n"},
    {"painting back over a row adds nothing twice", {}, "click 32 96; paint 0 100 100 100 0 100",
     "tile 32 96 brick brick_clear 1 10\ntile 0 96 brick brick_clear 1 10\n"
     "tile 64 96 brick brick_clear 1 10\ntile 96 96 brick brick_clear 1 10\nstart 100 299\n"},
    {"an unsnapped drag lays tiles a tile apart from where it began", {},
     "snap off; paint 5 50 90 52",
     "tile 5 50 brick brick_clear 1 10\ntile 37 50 brick brick_clear 1 10\n"
     "tile 69 50 brick brick_clear 1 10\nstart 100 299\n"},
    {"with no floors a ladder is as long as the shipped floors lie apart", {}, "tool 2; click 70 50",
     "ladder 64 48 80 rungs\nstart 100 299\n"},
    {"a chute shifting half a tile to the right", {}, "tool 3; click 5 5",
     "chute 0 0 80 16 1 step\nstart 100 299\n"},
    {"an enemy stands on the cell's bottom with its patrol around it", {}, "tool 4; click 40 100",
     "enemy 48 103 0 -80 176 0.5 1 0 blob 600 100\nstart 100 299\n"},
    {"an item sits on the cell's bottom", {}, "tool 5; click 40 100",
     "item 32 96 gem 100\nstart 100 299\n"},
    {"teleporters take the lowest free numbers", {}, "tool 6; click 0 200; click 64 200",
     "teleporter 0 176 pad pad_cool 1\nteleporter 64 176 pad pad_cool 2\nstart 100 299\n"},
    {"the start tool moves the start", {}, "tool 7; click 200 300", "start 208 303\n"},
    {"erasing takes the tile drawn over the ladder", {"32 88 40 rungs"},
     "click 40 100; erase 40 97", "ladder 32 88 40 rungs\nstart 100 299\n"},
    {"erasing where only the ladder is", {"32 88 40 rungs"}, "click 40 100; erase 40 120",
     "tile 32 96 brick brick_clear 1 10\nstart 100 299\n"},
    {"the start is never erased", {}, "erase 100 290", "start 100 299\n"},
    {"undo takes back the last click", {}, "click 40 13; click 100 13; undo",
     "tile 32 8 brick brick_clear 1 10\nstart 100 299\n"},
    {"redo gives it again", {}, "click 40 13; click 100 13; undo; redo",
     "tile 32 8 brick brick_clear 1 10\ntile 96 8 brick brick_clear 1 10\nstart 100 299\n"},
    {"a new edit drops what could be redone", {}, "click 40 13; undo; click 100 13; redo",
     "tile 96 8 brick brick_clear 1 10\nstart 100 299\n"},
    {"a whole drag is one step of undo", {}, "click 300 300; paint 0 100 200 100; undo",
     "tile 288 296 brick brick_clear 1 10\nstart 100 299\n"},
    {"undo of an erase brings the tile back in its place", {},
     "click 0 0; click 40 0; erase 40 0; undo",
     "tile 0 0 brick brick_clear 1 10\ntile 32 0 brick brick_clear 1 10\nstart 100 299\n"},
    {"a move goes by whole cells", {}, "click 40 13; move 40 10 110 30",
     "tile 96 24 brick brick_clear 1 10\nstart 100 299\n"},
    {"a move is one step of undo", {}, "click 40 13; move 40 10 80 10 110 30; undo",
     "tile 32 8 brick brick_clear 1 10\nstart 100 299\n"},
    {"an enemy moves with its patrol", {}, "tool 4; click 40 100; move 48 100 112 100",
     "enemy 112 103 0 -16 240 0.5 1 0 blob 600 100\nstart 100 299\n"},
    {"the start can be moved", {}, "move 100 290 164 274", "start 164 283\n"},
    {"an unsnapped move follows the point", {}, "snap off; click 41 13; move 45 15 50 17",
     "tile 46 15 brick brick_clear 1 10\nstart 100 299\n"},
    {"a pick takes tool and fields of what it picks", {"64 48 64 rungs"},
     "pick 70 60; click 200 0", "ladder 64 48 64 rungs\nladder 192 0 64 rungs\nstart 100 299\n"},
};

INSTANTIATE_TEST_SUITE_P(Editor, EditScripts, testing::ValuesIn(editRows), caseName<EditRow>);

struct PointRow {
  const char* name;
  int x, y;
  EditTool kind;
  int index;  // -1: nothing there
};

void PrintTo(const PointRow& row, std::ostream* out) { *out << row.name; }

class ElementUnderPoint : public testing::TestWithParam<PointRow> {};

// A ladder at 32, 88 (40 rows), a tile over it at 32, 96, a gem above the
// tile at 36, 80, an enemy standing on the tile's right half, two tiles at
// one place, and the player start at 100, 299.
TEST_P(ElementUnderPoint, IsTheOneDrawnTopmost) {
  const PointRow& row = GetParam();
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.ladders = {"32 88 40 rungs"};
  start.tiles = {"32 96 brick brick_clear 1 10", "300 50 brick brick_clear 1 10",
                 "300 50 brick brick_clear 0 0"};
  start.items = {"36 80 gem 10"};
  start.enemies = {"50 95 0 40 60 0.5 1 0 blob 600 100"};
  fixture.startWith(start);
  const ElementRef found = fixture.editor->elementAt(row.x, row.y);
  EXPECT_EQ(found.index, row.index);
  if (row.index >= 0) {
    EXPECT_EQ(toolName(found.kind), std::string(toolName(row.kind)));
  }
}

const PointRow pointRows[] = {
    {"tile over ladder", 34, 97, ElementKind::Tile, 0},
    {"ladder below the tile", 40, 110, ElementKind::Ladder, 0},
    {"item over ladder", 40, 85, ElementKind::Item, 0},
    {"enemy over tile", 50, 95, ElementKind::Enemy, 0},
    {"the later of two equal tiles", 310, 52, ElementKind::Tile, 2},
    {"player start", 100, 290, EditTool::Start, 0},
    {"right of the start", 108, 290, ElementKind::Tile, -1},
    {"empty screen", 500, 400, ElementKind::Tile, -1},
};

INSTANTIATE_TEST_SUITE_P(Editor, ElementUnderPoint, testing::ValuesIn(pointRows),
                         caseName<PointRow>);

struct StepNameRow {
  const char* name;
  const char* script;
  const char* undoName;  // what undo would take back afterwards
  const char* redoName;  // what redo would give again
};

void PrintTo(const StepNameRow& row, std::ostream* out) { *out << row.name; }

class StepNames : public testing::TestWithParam<StepNameRow> {};

// The status bar says these after an undo or redo; a wrong count or kind
// would tell the author something other than what changed.
TEST_P(StepNames, NameTheEditOfEachStep) {
  const StepNameRow& row = GetParam();
  EditorFixture fixture;
  fixture.startWith(EditorFixture::emptyLevel());
  perform(*fixture.editor, row.script);
  EXPECT_EQ(fixture.editor->undoName(), row.undoName);
  EXPECT_EQ(fixture.editor->redoName(), row.redoName);
}

const StepNameRow stepNameRows[] = {
    {"a click", "click 40 13", "place tile", ""},
    {"a drag counts what it laid", "paint 0 100 200 100", "paint 7 tiles", ""},
    {"a drag over one cell is one tile", "paint 0 100 10 100", "paint 1 tile", ""},
    {"an erase names the kind", "tool 2; click 70 50; erase 70 60", "remove ladder", ""},
    {"a move", "click 40 13; move 40 10 110 30", "move tile", ""},
    {"undo walks back past the names", "click 40 13; tool 3; click 200 200; undo", "place tile",
     "place chute"},
    {"redo of all leaves only undo", "click 40 13; undo; redo", "place tile", ""},
    {"a new edit drops the redo name", "click 40 13; undo; tool 5; click 200 200", "place item",
     ""},
};

INSTANTIATE_TEST_SUITE_P(Editor, StepNames, testing::ValuesIn(stepNameRows),
                         caseName<StepNameRow>);

TEST(EditorHistory, TellsWhatIsUnsavedAsTheHistoryMoves) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  EXPECT_FALSE(editor.modified());
  EXPECT_FALSE(editor.canUndo());
  const unsigned before = editor.revision();
  editor.place(40, 13);
  EXPECT_TRUE(editor.modified());
  EXPECT_NE(editor.revision(), before);
  EXPECT_TRUE(editor.undo());
  EXPECT_FALSE(editor.modified());  // back where the document began
  EXPECT_FALSE(editor.undo());
  EXPECT_TRUE(editor.redo());
  EXPECT_TRUE(editor.modified());
  EXPECT_FALSE(editor.redo());
  // A click where an equal element is changes nothing and adds no step.
  const unsigned after = editor.revision();
  EXPECT_FALSE(editor.place(40, 13).valid());
  EXPECT_EQ(editor.revision(), after);
  EXPECT_TRUE(editor.undo());
  EXPECT_FALSE(editor.canUndo());
}

TEST(EditorHistory, KeepsEveryStepOfALongSession) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  const std::size_t floor = editor.level().tiles.size();
  for (int i = 0; i < 300; ++i) editor.place((i % 20) * 32, (i / 20) * 8);
  EXPECT_EQ(editor.level().tiles.size(), floor + 300);
  int undone = 0;
  while (editor.undo()) ++undone;
  EXPECT_EQ(undone, 300);
  EXPECT_EQ(editor.level().tiles.size(), floor);
}

TEST(EditorLooks, CycleThroughTheTreeAndSetTheGrid) {
  EditorFixture fixture(false);
  fixture.tree.writeSolidPng("media/gfx/static/floor tiles/normal/stone.png", 16, 12, 90, 90, 90);
  fixture.build();
  LevelEditor& editor = *fixture.editor;
  const LookCatalog& looks = *fixture.looks;
  ASSERT_EQ(looks.count(ElementKind::Tile), 2);
  for (int step = 0; step < 3; ++step) {
    EXPECT_EQ(editor.gridWidth(), looks.width(ElementKind::Tile, editor.look()));
    EXPECT_EQ(editor.gridHeight(), looks.height(ElementKind::Tile, editor.look()));
    const int stone = looks.find(ElementKind::Tile, "stone");
    EXPECT_EQ(editor.gridWidth(), editor.look() == stone ? 16 : 32);
    editor.cycleLook(1);
  }
  EXPECT_EQ(editor.look(), 1);  // wrapped round after two looks
  editor.cycleLook(-3);
  EXPECT_EQ(editor.look(), 0);
  // The stone tile has no cleared look of its own: it takes the set's first.
  editor.setTool(ElementKind::Tile);
  while (editor.lookName() != "stone") editor.cycleLook(1);
  editor.setSnapping(false);
  editor.place(5, 5);
  EXPECT_EQ(editor.level().tiles.back().cleared_name, "brick_clear");
}

TEST(EditorGame, DrawsWhatTheEditorHolds) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  editor.setTool(ElementKind::Ladder);
  editor.place(64, 48);
  ASSERT_EQ(fixture.game->ladderManager->ladders().size(), 1u);
  EXPECT_EQ(editor.bounds(ElementRef{ElementKind::Ladder, 0}).h, LevelEditor::usualRise);
  editor.undo();
  EXPECT_TRUE(fixture.game->ladderManager->ladders().empty());
  // A name the tree has no image for: the engine's own words, nothing placed.
  LevelText broken = EditorFixture::emptyLevel();
  broken.items = {"10 10 ruby 5"};
  fixture.startWith(broken);
  EXPECT_EQ(editor.placementError(), "No graphics to correspond with name ruby");
  EXPECT_TRUE(editor.bounds(ElementRef{ElementKind::Item, 0}).empty());
}

}  // namespace

namespace {

// Ladders and chutes fitted to the floors where they are placed. Tiles are
// 32 x 8, ladders 16 wide (climbed 6 in from each side), chute steps
// 16 x 16 shifting 16 to the right; the slide goes 8 rows a tick, so the
// first chute whose slide ends on a floor at row 100 is 104 long.
struct FitRow {
  const char* name;
  std::vector<std::string> tiles;  // of the starting level
  const char* script;
  const char* expected;  // the level's last ladder or chute, as levelSummary writes it
};

void PrintTo(const FitRow& row, std::ostream* out) { *out << row.name; }

class Fits : public testing::TestWithParam<FitRow> {};

TEST_P(Fits, ReachTheFloorsAroundThePoint) {
  const FitRow& row = GetParam();
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.tiles = row.tiles;
  fixture.startWith(start);
  perform(*fixture.editor, row.script);
  const std::string summary = levelSummary(fixture.editor->level());
  const std::size_t at = summary.find(row.expected);
  EXPECT_NE(at, std::string::npos) << summary;
}

const FitRow fitRows[] = {
    {"a ladder from the floor below up to the floor above",
     {"64 200 brick brick_clear 1 10", "64 150 brick brick_clear 1 10"}, "tool 2; click 70 170",
     "ladder 64 150 50 rungs"},
    {"a click on a floor climbs from it", {"64 200 brick brick_clear 1 10", "64 150 brick brick_clear 1 10"},
     "tool 2; click 70 203", "ladder 64 150 50 rungs"},
    {"a floor lying on another is one floor",
     {"64 200 brick brick_clear 1 10", "64 192 brick brick_clear 1 10",
      "64 150 brick brick_clear 1 10"},
     "tool 2; click 70 195", "ladder 64 150 42 rungs"},
    {"no floor above: the shipped rise up from the floor",
     {"64 200 brick brick_clear 1 10", "200 150 brick brick_clear 1 10"}, "tool 2; click 70 170",
     "ladder 64 120 80 rungs"},
    {"a floor the climbing band misses is no floor",
     {"32 200 brick brick_clear 1 10", "0 150 brick brick_clear 1 10"}, "tool 2; click 40 170",
     "ladder 32 120 80 rungs"},
    {"a chute ends on the floor its slide meets",
     {"0 100 brick brick_clear 1 10", "32 100 brick brick_clear 1 10",
      "64 100 brick brick_clear 1 10", "96 100 brick brick_clear 1 10"},
     "tool 3; click 5 5", "chute 0 0 104 16 1 step"},
};

INSTANTIATE_TEST_SUITE_P(Editor, Fits, testing::ValuesIn(fitRows), caseName<FitRow>);

// The outline the cursor shows is where the click puts the element, for
// every tool, a fitted ladder included.
TEST(EditorPlacement, PreviewIsWhereTheClickLands) {
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.tiles = {"64 200 brick brick_clear 1 10", "64 150 brick brick_clear 1 10"};
  fixture.startWith(start);
  LevelEditor& editor = *fixture.editor;
  for (int tool = 0; tool < editToolCount; ++tool) {
    editor.setTool(toolAt(tool));
    const Rect preview = editor.placementAt(70, 170);
    const ElementRef placed = editor.place(70, 170);
    ASSERT_TRUE(placed.valid()) << toolName(toolAt(tool));
    const Rect landed = editor.bounds(placed);
    EXPECT_FALSE(preview.empty()) << toolName(toolAt(tool));
    EXPECT_EQ(std::vector<int>({preview.x, preview.y, preview.w, preview.h}),
              std::vector<int>({landed.x, landed.y, landed.w, landed.h}))
        << toolName(toolAt(tool));
  }
}

// Looks come round sorted by name whatever order the files were found in,
// and a new level's floor is of the first look whose claim shows.
TEST(EditorLooks, AreSortedAndTheNewFloorShowsItsClaim) {
  EditorFixture fixture(false);
  const std::string tiles = "media/gfx/static/floor tiles/";
  fixture.tree.writeSolidPng(tiles + "normal/amber.png", 32, 8, 200, 150, 0);
  fixture.tree.writeSolidPng(tiles + "clear/amber.png", 32, 8, 200, 150, 0);
  fixture.tree.writeSolidPng(tiles + "normal/zinc.png", 32, 8, 90, 90, 90);
  fixture.build();
  const LookCatalog& looks = *fixture.looks;
  std::vector<std::string> names;
  for (int i = 0; i < looks.count(ElementKind::Tile); ++i) names.push_back(looks.name(ElementKind::Tile, i));
  EXPECT_EQ(names, std::vector<std::string>({"amber", "brick", "zinc"}));
  fixture.editor->newLevel();
  ASSERT_FALSE(fixture.editor->level().tiles.empty());
  EXPECT_EQ(fixture.editor->level().tiles.front().tile_name, "brick");
  EXPECT_EQ(fixture.editor->lookName(), "brick");
}

}  // namespace
