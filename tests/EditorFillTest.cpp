// A Ctrl-drag fill more than one row deep: only its top row can be stood
// on, so only it is claimable and worth points, and the editor says so.
// The tree's tiles are 32 x 8 (the grid).
#include <gtest/gtest.h>

#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"

namespace {

struct FillRow {
  const char* name;
  const char* script;
  const char* expected;  // levelSummary afterwards
  const char* note;      // what the status bar is told; empty: nothing
};

void PrintTo(const FillRow& row, std::ostream* out) { *out << row.name; }

class DeepFills : public testing::TestWithParam<FillRow> {};

TEST_P(DeepFills, LeaveOnlyTheTopRowClaimable) {
  const FillRow& row = GetParam();
  EditorFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.tiles = {"300 100 brick brick_clear 0 5"};
  fixture.startWith(start);
  perform(*fixture.editor, row.script);
  EXPECT_EQ(levelSummary(fixture.editor->level()), row.expected);
  EXPECT_EQ(fixture.editor->takeNote(), row.note);
}

const FillRow fillRows[] = {
    {"one row deep is all claimable", "fill 0 50 40 50",
     "tile 300 100 brick brick_clear 0 5\ntile 0 48 brick brick_clear 1 10\n"
     "tile 32 48 brick brick_clear 1 10\nstart 100 299\n",
     ""},
    {"three rows deep claim only the top", "fill 0 50 40 66",
     "tile 300 100 brick brick_clear 0 5\ntile 0 48 brick brick_clear 1 10\n"
     "tile 32 48 brick brick_clear 1 10\ntile 0 56 brick brick_clear 0 0\n"
     "tile 32 56 brick brick_clear 0 0\ntile 0 64 brick brick_clear 0 0\n"
     "tile 32 64 brick brick_clear 0 0\nstart 100 299\n",
     "Filled 3 rows deep: only the top row is claimable, the 2 rows under it can never be "
     "stood on"},
    {"dragged upwards the top is still the highest row", "fill 0 58 0 50",
     "tile 300 100 brick brick_clear 0 5\ntile 0 48 brick brick_clear 1 10\n"
     "tile 0 56 brick brick_clear 0 0\nstart 100 299\n",
     "Filled 2 rows deep: only the top row is claimable, the 1 row under it can never be "
     "stood on"},
    {"the top row takes the tool's points as a picked tile gives them",
     "pick 305 103; fill 0 50 0 58",
     "tile 300 100 brick brick_clear 0 5\ntile 0 48 brick brick_clear 0 5\n"
     "tile 0 56 brick brick_clear 0 0\nstart 100 299\n",
     "Filled 2 rows deep: only the top row is claimable, the 1 row under it can never be "
     "stood on"},
    {"a fill that adds nothing says nothing", "fill 305 100 305 106",
     "tile 300 100 brick brick_clear 0 5\nstart 100 299\n", ""},
};

INSTANTIATE_TEST_SUITE_P(Editor, DeepFills, testing::ValuesIn(fillRows), caseName<FillRow>);

}  // namespace
