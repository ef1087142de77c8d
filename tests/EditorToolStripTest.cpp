// The tool strip beside the map: it never covers the map, its rows stand
// for the tools in key order and the select tool, and a press on a row
// chooses that tool; a press beside the rows chooses nothing.
#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/ToolStrip.h"

namespace {

constexpr int mapWidth = 640;
constexpr int mapHeight = 480;
constexpr int stripWidth = 112;

struct StripRow {
  const char* name;
  const char* before;  // the editor's script first
  int x, y;            // the press, canvas pixels
  bool chooses;
  bool selecting;      // afterwards
  EditTool tool;       // afterwards, when not selecting
};

void PrintTo(const StripRow& row, std::ostream* out) { *out << row.name; }

class StripPresses : public testing::TestWithParam<StripRow> {};

TEST_P(StripPresses, ChooseTheToolOfTheirRow) {
  const StripRow& row = GetParam();
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  perform(editor, row.before);
  const ToolStripLayout strip = layOutToolStrip(mapWidth, stripWidth, mapHeight);
  EXPECT_EQ(chooseFromStrip(strip, row.x, row.y, editor), row.chooses);
  EXPECT_EQ(editor.selecting(), row.selecting);
  if (!row.selecting) {
    EXPECT_EQ(toolName(editor.tool()), std::string(toolName(row.tool)));
  }
}

// Rows of 12 from row 4: tile at 4 to 15, ladder 16 to 27, enemy 40 to 51,
// start 76 to 87, select 88 to 99.
const StripRow stripRows[] = {
    {"the first row is the tile tool", "tool 4", 660, 5, true, false, ElementKind::Tile},
    {"the fourth the enemy tool", "", 700, 45, true, false, ElementKind::Enemy},
    {"the seventh the start", "", 700, 87, true, false, EditTool::Start},
    {"the last the select tool", "", 700, 95, true, true, ElementKind::Tile},
    {"a placing tool ends the select tool", "select", 660, 20, true, false, ElementKind::Ladder},
    {"below the rows nothing is chosen", "tool 5", 700, 300, false, false, ElementKind::Item},
    {"nor on the map", "tool 5", 600, 20, false, false, ElementKind::Item},
};

INSTANTIATE_TEST_SUITE_P(Editor, StripPresses, testing::ValuesIn(stripRows), caseName<StripRow>);

TEST(EditorToolStrip, StandsBesideTheMapWithARowForEveryEntry) {
  const ToolStripLayout strip = layOutToolStrip(mapWidth, stripWidth, mapHeight);
  EXPECT_EQ(strip.panel.x, mapWidth);
  EXPECT_EQ(strip.rows.size(), stripEntries().size());
  for (const Rect& r : strip.rows) EXPECT_GE(r.x, mapWidth);
  EXPECT_GE(strip.look.x, mapWidth);
  EXPECT_GT(strip.look.y, strip.rows.back().y);
  EXPECT_LE(strip.help.y + strip.help.h, mapHeight);
}

}  // namespace
