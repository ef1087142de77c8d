// The patrols drawn while the enemy tool is chosen: marks at each
// enemy's bounds and between them, none beyond, none with another tool.
#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/PatrolMarks.h"

namespace {

struct MarkRow {
  const char* name;
  const char* script;  // choosing the tool
  bool marked;
};

void PrintTo(const MarkRow& row, std::ostream* out) { *out << row.name; }

int inkedInColumn(BITMAP* map, int x) {
  int inked = 0;
  for (int y = 0; y < map->h; ++y) inked += getpixel(map, x, y) != 0 ? 1 : 0;
  return inked;
}

class PatrolMarks : public testing::TestWithParam<MarkRow> {};

TEST_P(PatrolMarks, ShowEachPatrolWhileTheEnemyToolIsChosen) {
  const MarkRow& row = GetParam();
  EditorFixture fixture;
  LevelText level = EditorFixture::emptyLevel();
  level.enemies = {"300 299 0 250 350 0.5 1 0 blob 600 100"};
  fixture.startWith(level);
  perform(*fixture.editor, row.script);
  std::unique_ptr<BITMAP, void (*)(BITMAP*)> map(create_bitmap(640, 480), destroy_bitmap);
  clear_to_color(map.get(), 0);
  drawPatrolMarks(map.get(), *fixture.editor);
  for (int x : {250, 350}) {
    EXPECT_EQ(inkedInColumn(map.get(), x) > 1, row.marked) << "bound at " << x;
  }
  EXPECT_EQ(inkedInColumn(map.get(), 300) > 0, row.marked) << "between the bounds";
  for (int x : {248, 249, 351, 400}) EXPECT_EQ(inkedInColumn(map.get(), x), 0) << "beyond, at " << x;
}

const MarkRow markRows[] = {
    {"with the enemy tool", "tool 4", true},
    {"not with the tile tool", "tool 1", false},
    {"not with the select tool", "tool 4; select", false},
};

INSTANTIATE_TEST_SUITE_P(Editor, PatrolMarks, testing::ValuesIn(markRows), caseName<MarkRow>);

}  // namespace
