// The editor's selection and the edits it makes of many elements at once,
// driven headless as the front end would drive them: what each script of
// selections, clipboard use, nudges, drags, fills and handle drags changes
// in the level, that each is one step of the history, and what the saved
// file holds. The tree's tiles are 32 x 8 (the grid), ladders 16 wide,
// chute steps 16 x 16, pads 24 x 32, enemies 12 x 12.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FileText.h"

namespace {

// The tree with a second tile look, stone, as large as brick.
struct GroupFixture : EditorFixture {
  GroupFixture() : EditorFixture(false) {
    tree.writeSolidPng("media/gfx/static/floor tiles/normal/stone.png", 32, 8, 90, 90, 90);
    build();
  }
};

// Two floor tiles with a ladder up from them, a stone tile worth 5, a
// chute, an enemy patrolling 250 to 350, and a pair of teleporters.
LevelText groupLevel() {
  LevelText level = EditorFixture::emptyLevel();
  level.tiles = {"0 200 brick brick_clear 1 10", "32 200 brick brick_clear 1 10",
                 "300 100 stone brick_clear 0 5"};
  level.ladders = {"40 120 80 rungs"};
  level.chutes = {"200 300 80 16 1 step"};
  level.enemies = {"300 299 0 250 350 0.5 1 0 blob 600 100"};
  level.teleporters = {"400 50 pad pad_cool 1", "500 50 pad pad_cool 1"};
  return level;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// What a script did, as levelSummary lines: those gone ("-") in the
// order the level had them, then those new ("+") in the order it has them.
std::string changes(const std::string& before, const std::string& after) {
  std::vector<std::string> was = linesOf(before);
  std::vector<std::string> is = linesOf(after);
  std::vector<std::string> gone, added;
  for (const std::string& line : was) {
    const auto found = std::find(is.begin(), is.end(), line);
    if (found == is.end()) gone.push_back("-" + line);
    else is.erase(found);
  }
  for (const std::string& line : linesOf(after)) {
    const auto found = std::find(was.begin(), was.end(), line);
    if (found == was.end()) added.push_back("+" + line);
    else was.erase(found);
  }
  std::string out;
  for (const std::string& line : gone) out += line + "\n";
  for (const std::string& line : added) out += line + "\n";
  return out;
}

struct GroupRow {
  const char* name;
  const char* script;
  const char* changes;  // from groupLevel, as changes() writes them
};

void PrintTo(const GroupRow& row, std::ostream* out) { *out << row.name; }

class GroupEdits : public testing::TestWithParam<GroupRow> {};

TEST_P(GroupEdits, ChangeTheLevelAsExpected) {
  const GroupRow& row = GetParam();
  GroupFixture fixture;
  fixture.startWith(groupLevel());
  ASSERT_EQ(fixture.editor->placementError(), "");
  const std::string before = levelSummary(fixture.editor->level());
  perform(*fixture.editor, row.script);
  const LevelData& level = fixture.editor->level();
  EXPECT_EQ(changes(before, levelSummary(level)), row.changes);
  EXPECT_EQ(level.tileCount, static_cast<int>(level.tiles.size()));
  EXPECT_EQ(level.ladderCount, static_cast<int>(level.ladders.size()));
  EXPECT_EQ(level.teleporterCount, static_cast<int>(level.teleporters.size()));
}

const GroupRow groupRows[] = {
    {"a pasted floor's top-left anchor lands on the snapped cursor",
     "select; band -5 110 70 210; copy; paste 200 50",
     "+tile 192 128 brick brick_clear 1 10\n+tile 224 128 brick brick_clear 1 10\n"
     "+ladder 232 48 80 rungs\n"},
    {"unsnapped, a paste lands at the very point",
     "snap off; select; band -5 110 70 210; copy; paste 201 53",
     "+tile 201 133 brick brick_clear 1 10\n+tile 233 133 brick brick_clear 1 10\n"
     "+ladder 241 53 80 rungs\n"},
    {"a paste is one step of undo", "select; band -5 110 70 210; copy; paste 200 50; undo", ""},
    {"redo pastes again", "select; band -5 110 70 210; copy; paste 200 50; undo; redo",
     "+tile 192 128 brick brick_clear 1 10\n+tile 224 128 brick brick_clear 1 10\n"
     "+ladder 232 48 80 rungs\n"},
    {"two pastes make two copies", "select; band -5 190 70 210; copy; paste 0 0; paste 96 0",
     "+tile 0 0 brick brick_clear 1 10\n+tile 32 0 brick brick_clear 1 10\n"
     "+tile 96 0 brick brick_clear 1 10\n+tile 128 0 brick brick_clear 1 10\n"},
    {"a cut takes the floor away and a paste puts it elsewhere",
     "select; band -5 190 70 210; cut; paste 320 300",
     "-tile 0 200 brick brick_clear 1 10\n-tile 32 200 brick brick_clear 1 10\n"
     "+tile 320 296 brick brick_clear 1 10\n+tile 352 296 brick brick_clear 1 10\n"},
    {"undoing a cut brings the floor back", "select; band -5 190 70 210; cut; undo", ""},
    {"a click selects the element drawn there", "select; band 5 203 5 203; delete",
     "-tile 0 200 brick brick_clear 1 10\n"},
    {"a band selects by anchor, not by touching", "select; band 10 190 70 210; delete",
     "-tile 32 200 brick brick_clear 1 10\n"},
    {"a new band replaces the selection", "select; band -5 195 10 205; band 30 195 40 205; delete",
     "-tile 32 200 brick brick_clear 1 10\n"},
    {"shift adds a band to the selection",
     "select; band -5 195 10 205; addband 30 195 40 205; delete",
     "-tile 0 200 brick brick_clear 1 10\n-tile 32 200 brick brick_clear 1 10\n"},
    {"select all and delete leaves the start", "all; delete",
     "-tile 0 200 brick brick_clear 1 10\n-tile 32 200 brick brick_clear 1 10\n"
     "-tile 300 100 stone brick_clear 0 5\n-ladder 40 120 80 rungs\n-chute 200 300 80 16 1 step\n"
     "-enemy 300 299 0 250 350 0.5 1 0 blob 600 100\n-teleporter 400 50 pad pad_cool 1\n"
     "-teleporter 500 50 pad pad_cool 1\n"},
    {"a cleared selection deletes nothing", "all; none; delete", ""},
    {"an erase before a selected tile keeps the selection on it",
     "select; band 33 203 33 203; erase 5 203; delete",
     "-tile 0 200 brick brick_clear 1 10\n-tile 32 200 brick brick_clear 1 10\n"},
    {"a duplicate lies right beside the floor", "select; band -5 190 70 210; duplicate",
     "+tile 64 200 brick brick_clear 1 10\n+tile 96 200 brick brick_clear 1 10\n"},
    {"a duplicate becomes the selection", "select; band -5 190 70 210; duplicate; duplicate",
     "+tile 64 200 brick brick_clear 1 10\n+tile 96 200 brick brick_clear 1 10\n"
     "+tile 128 200 brick brick_clear 1 10\n+tile 160 200 brick brick_clear 1 10\n"},
    {"the start is never duplicated", "select; band -5 190 110 300; duplicate",
     "+tile 64 200 brick brick_clear 1 10\n+tile 96 200 brick brick_clear 1 10\n"},
    {"nor pasted", "select; band 90 290 110 300; copy; paste 300 300", ""},
    {"a nudge goes a grid cell", "select; band 5 203 5 203; nudge 0 -1",
     "-tile 0 200 brick brick_clear 1 10\n+tile 0 192 brick brick_clear 1 10\n"},
    {"with shift a nudge goes a pixel", "select; band 5 203 5 203; nudgepx -1 0",
     "-tile 0 200 brick brick_clear 1 10\n+tile -1 200 brick brick_clear 1 10\n"},
    {"a nudge takes an enemy's patrol along", "select; band 300 299 300 299; nudge 1 0",
     "-enemy 300 299 0 250 350 0.5 1 0 blob 600 100\n"
     "+enemy 332 299 0 282 382 0.5 1 0 blob 600 100\n"},
    {"a nudge is one step of undo", "select; band 5 203 5 203; nudge 0 -1; nudge 0 -1; undo",
     "-tile 0 200 brick brick_clear 1 10\n+tile 0 192 brick brick_clear 1 10\n"},
    {"a drag inside the selection moves all of it by whole cells",
     "select; band -5 190 70 210; drag 10 203 80 213",
     "-tile 0 200 brick brick_clear 1 10\n-tile 32 200 brick brick_clear 1 10\n"
     "+tile 64 208 brick brick_clear 1 10\n+tile 96 208 brick brick_clear 1 10\n"},
    {"a drag off the selection moves nothing", "select; band -5 190 70 210; drag 200 150 300 150",
     ""},
    {"a drag of the selection is one step of undo",
     "select; band -5 190 70 210; drag 10 203 80 213 150 213; undo", ""},
    {"pasted teleporters of a pair make a new pair", "select; band 390 40 510 60; copy; paste 0 0",
     "+teleporter 0 0 pad pad_cool 2\n+teleporter 100 0 pad pad_cool 2\n"},
    {"one teleporter of a pair pasted takes a number of its own",
     "select; band 400 50 400 50; copy; paste 0 0; paste 64 0",
     "+teleporter 0 0 pad pad_cool 2\n+teleporter 64 0 pad pad_cool 3\n"},
    {"a fill lays every cell of the rectangle", "fill 100 50 170 60",
     "+tile 96 48 brick brick_clear 1 10\n+tile 128 48 brick brick_clear 1 10\n"
     "+tile 160 48 brick brick_clear 1 10\n+tile 96 56 brick brick_clear 0 0\n"
     "+tile 128 56 brick brick_clear 0 0\n+tile 160 56 brick brick_clear 0 0\n"},
    {"a fill dragged up and left covers the same cells", "fill 170 60 100 50",
     "+tile 96 48 brick brick_clear 1 10\n+tile 128 48 brick brick_clear 1 10\n"
     "+tile 160 48 brick brick_clear 1 10\n+tile 96 56 brick brick_clear 0 0\n"
     "+tile 128 56 brick brick_clear 0 0\n+tile 160 56 brick brick_clear 0 0\n"},
    {"a fill stacks no tile on one already there", "fill 5 203 100 203",
     "+tile 64 200 brick brick_clear 1 10\n+tile 96 200 brick brick_clear 1 10\n"},
    {"nor on one lying across a cell",
     "snap off; click 70 195; snap on; fill 5 195 130 195",
     "+tile 70 195 brick brick_clear 1 10\n+tile 0 192 brick brick_clear 1 10\n"
     "+tile 32 192 brick brick_clear 1 10\n+tile 128 192 brick brick_clear 1 10\n"},
    {"a fill takes the look of the selected tile",
     "select; band 305 103 305 103; tool 1; fill 0 50 40 50",
     "+tile 0 48 stone brick_clear 0 5\n+tile 32 48 stone brick_clear 0 5\n"},
    {"a fill is one step of undo", "fill 100 50 170 60; undo", ""},
    {"the selection tool fills nothing", "select; fill 100 50 170 60", ""},
    {"a ladder's bottom handle sets its height", "select; band 48 150 48 150; handle 48 200 48 243",
     "-ladder 40 120 80 rungs\n+ladder 40 120 120 rungs\n"},
    {"its top handle moves the top and keeps the bottom",
     "select; band 48 150 48 150; handle 48 120 48 91",
     "-ladder 40 120 80 rungs\n+ladder 40 88 112 rungs\n"},
    {"the top stops a grid row short of the bottom",
     "select; band 48 150 48 150; handle 48 120 48 260",
     "-ladder 40 120 80 rungs\n+ladder 40 192 8 rungs\n"},
    {"a handle drag goes by the last point", "select; band 48 150 48 150; handle 48 200 48 300 48 211",
     "-ladder 40 120 80 rungs\n+ladder 40 120 88 rungs\n"},
    {"a handle drag is one step of undo",
     "select; band 48 150 48 150; handle 48 200 48 243 48 300; undo", ""},
    {"a chute's top handle shortens its run from the top",
     "select; band 208 310 208 310; handle 208 300 208 330",
     "-chute 200 300 80 16 1 step\n+chute 200 328 52 16 1 step\n"},
    {"an enemy's left handle widens its patrol",
     "select; band 300 295 300 295; handle 250 294 190 294",
     "-enemy 300 299 0 250 350 0.5 1 0 blob 600 100\n"
     "+enemy 300 299 0 160 350 0.5 1 0 blob 600 100\n"},
    {"its right handle", "select; band 300 295 300 295; handle 350 294 420 294",
     "-enemy 300 299 0 250 350 0.5 1 0 blob 600 100\n"
     "+enemy 300 299 0 250 416 0.5 1 0 blob 600 100\n"},
    {"a patrol bound stops at the enemy", "select; band 300 295 300 295; handle 350 294 100 294",
     "-enemy 300 299 0 250 350 0.5 1 0 blob 600 100\n"
     "+enemy 300 299 0 250 300 0.5 1 0 blob 600 100\n"},
    {"two elements selected show no handles",
     "select; band 48 150 48 150; addband 5 203 5 203; handle 48 200 48 243", ""},
};

INSTANTIATE_TEST_SUITE_P(Editor, GroupEdits, testing::ValuesIn(groupRows), caseName<GroupRow>);

struct GroupNameRow {
  const char* name;
  const char* script;
  const char* undoName;  // what undo would take back afterwards
};

void PrintTo(const GroupNameRow& row, std::ostream* out) { *out << row.name; }

class GroupStepNames : public testing::TestWithParam<GroupNameRow> {};

// "Undid: paste 3 elements" must count what the step changed.
TEST_P(GroupStepNames, SayWhatEachGroupEditDid) {
  GroupFixture fixture;
  fixture.startWith(groupLevel());
  perform(*fixture.editor, GetParam().script);
  EXPECT_EQ(fixture.editor->undoName(), GetParam().undoName);
}

const GroupNameRow groupNameRows[] = {
    {"a paste of tiles", "select; band -5 190 70 210; copy; paste 200 50", "paste 2 tiles"},
    {"a paste of a floor with its ladder", "select; band -5 110 70 210; copy; paste 200 50",
     "paste 3 elements"},
    {"a cut", "select; band -5 190 70 210; cut", "cut 2 tiles"},
    {"a duplicate", "select; band 400 50 400 50; duplicate", "duplicate 1 teleporter"},
    {"a delete leaves the start out of the count", "all; delete", "delete 8 elements"},
    {"a nudge", "select; band 5 203 5 203; nudge 1 0", "nudge 1 tile"},
    {"a kind's plural", "select; band 300 295 300 295; duplicate; band 250 250 460 340; nudge 1 0",
     "nudge 2 enemies"},
    {"a drag", "select; band -5 190 70 210; drag 10 203 80 213", "move 2 tiles"},
    {"a fill", "fill 100 50 170 60", "fill 6 tiles"},
    {"a ladder's end", "select; band 48 150 48 150; handle 48 200 48 243", "stretch ladder"},
    {"a chute's end", "select; band 208 310 208 310; handle 208 300 208 330", "stretch chute"},
    {"a patrol bound", "select; band 300 295 300 295; handle 250 294 190 294", "change patrol"},
    {"a copy is no step", "click 600 0; select; band -5 190 70 210; copy", "place tile"},
    {"nor is a selection", "click 600 0; all; none", "place tile"},
};

INSTANTIATE_TEST_SUITE_P(Editor, GroupStepNames, testing::ValuesIn(groupNameRows),
                         caseName<GroupNameRow>);

struct HandleRow {
  const char* name;
  const char* selectAt;           // a click with the selection tool
  std::vector<int> handles;       // x y of each, in order
};

void PrintTo(const HandleRow& row, std::ostream* out) { *out << row.name; }

class HandlePlaces : public testing::TestWithParam<HandleRow> {};

TEST_P(HandlePlaces, AreAtTheEndsDrawn) {
  GroupFixture fixture;
  LevelText level = groupLevel();
  level.chutes.push_back("600 100 48 16 0 step");
  fixture.startWith(level);
  perform(*fixture.editor, std::string("select; band ") + GetParam().selectAt);
  std::vector<int> places;
  for (const Handle& handle : fixture.editor->handles()) {
    places.push_back(handle.x);
    places.push_back(handle.y);
  }
  EXPECT_EQ(places, GetParam().handles);
}

// The chute running right is 80 rows of 16-row steps: five steps, the
// last 64 columns right of the first. The one running left is three
// steps from 600 leftwards.
const HandleRow handleRows[] = {
    {"a ladder's top and bottom rows, mid-width", "48 150 48 150", {48, 120, 48, 200}},
    {"a chute running right ends right of its top", "208 310 208 310", {208, 300, 272, 380}},
    {"a chute running left ends left of it", "608 110 608 110", {608, 100, 576, 148}},
    {"an enemy's patrol bounds, halfway up it", "300 295 300 295", {250, 294, 350, 294}},
    {"a tile has none", "5 203 5 203", {}},
    {"a floor and its ladder have none", "-5 110 70 210", {}},
};

INSTANTIATE_TEST_SUITE_P(Editor, HandlePlaces, testing::ValuesIn(handleRows),
                         caseName<HandleRow>);

TEST(EditorSelection, LinksTeleportersSharingTheSelectedNumber) {
  GroupFixture fixture;
  LevelText level = groupLevel();
  level.teleporters.push_back("560 50 pad pad_cool 3");
  fixture.startWith(level);
  LevelEditor& editor = *fixture.editor;
  EXPECT_TRUE(editor.linkedTeleporters().empty());
  perform(editor, "select; band 500 50 500 50");
  const std::vector<ElementRef> linked = editor.linkedTeleporters();
  ASSERT_EQ(linked.size(), 2u);
  EXPECT_EQ(linked[0].index, 0);
  EXPECT_EQ(linked[1].index, 1);
  perform(editor, "band 560 50 560 50");
  ASSERT_EQ(editor.linkedTeleporters().size(), 1u);
  EXPECT_EQ(editor.linkedTeleporters()[0].index, 2);
}

// Undo and redo keep the selection on what the level still has, and a
// paste undone leaves nothing selected that is gone.
TEST(EditorSelection, KeepsOnlyWhatTheLevelHas) {
  GroupFixture fixture;
  fixture.startWith(groupLevel());
  LevelEditor& editor = *fixture.editor;
  perform(editor, "select; band -5 190 70 210; copy; paste 200 50");
  ASSERT_EQ(editor.selection().size(), 2);
  EXPECT_EQ(editor.selection().refs()[0].index, 3);
  editor.undo();
  EXPECT_TRUE(editor.selection().empty());
  perform(editor, "band 5 203 5 203; nudge 1 0; undo");
  ASSERT_EQ(editor.selection().size(), 1);
  EXPECT_EQ(editor.selection().refs()[0].index, 0);
}

const char* const savedHeader = "3000\n10 10 0\n400 10 0\n10 5\n100 299 1\n";

struct SavedGroupRow {
  const char* name;
  const char* script;
  const char* file;  // after the header
};

void PrintTo(const SavedGroupRow& row, std::ostream* out) { *out << row.name; }

class SavedGroupEdits : public testing::TestWithParam<SavedGroupRow> {};

// What an author does with the mouse alone, saved as the game will read it.
TEST_P(SavedGroupEdits, WriteTheFileExpected) {
  const SavedGroupRow& row = GetParam();
  EditorFixture fixture;
  LevelText level = EditorFixture::emptyLevel();
  level.tiles = {"0 200 brick brick_clear 1 10", "32 200 brick brick_clear 1 10"};
  level.ladders = {"40 120 80 rungs"};
  level.enemies = {"200 99 0 176 224 0.5 1 0 blob 600 100"};
  fixture.tree.writeLevel("edited.inf", level.str());
  LevelEditor& editor = *fixture.editor;
  ASSERT_EQ(editor.open("media/edited.inf"), 0);
  perform(editor, row.script);
  ASSERT_EQ(editor.save(), 0) << editor.saveError();
  EXPECT_EQ(readFile("media/edited.inf"), std::string(savedHeader) + row.file);
}

const SavedGroupRow savedGroupRows[] = {
    {"a floor with its ladder copied elsewhere",
     "select; band -5 110 70 210; copy; paste 320 240",
     "\n4\n0 200 brick brick_clear 1 10\n32 200 brick brick_clear 1 10\n"
     "320 320 brick brick_clear 1 10\n352 320 brick brick_clear 1 10\n"
     "\n2\n40 120 80 rungs\n360 240 80 rungs\n\n0\n\n1\n200 99 0 176 224 0.5 1 0 blob 600 100\n"
     "\n0\n\n0\n"},
    {"the copy undone", "select; band -5 110 70 210; copy; paste 320 240; undo",
     "\n2\n0 200 brick brick_clear 1 10\n32 200 brick brick_clear 1 10\n"
     "\n1\n40 120 80 rungs\n\n0\n\n1\n200 99 0 176 224 0.5 1 0 blob 600 100\n\n0\n\n0\n"},
    {"a platform filled", "fill 64 100 130 100",
     "\n5\n0 200 brick brick_clear 1 10\n32 200 brick brick_clear 1 10\n"
     "64 96 brick brick_clear 1 10\n96 96 brick brick_clear 1 10\n128 96 brick brick_clear 1 10\n"
     "\n1\n40 120 80 rungs\n\n0\n\n1\n200 99 0 176 224 0.5 1 0 blob 600 100\n\n0\n\n0\n"},
    {"a ladder stretched up", "select; band 48 150 48 150; handle 48 120 48 60",
     "\n2\n0 200 brick brick_clear 1 10\n32 200 brick brick_clear 1 10\n"
     "\n1\n40 56 144 rungs\n\n0\n\n1\n200 99 0 176 224 0.5 1 0 blob 600 100\n\n0\n\n0\n"},
    {"a patrol widened", "select; band 200 95 200 95; handle 224 94 300 94",
     "\n2\n0 200 brick brick_clear 1 10\n32 200 brick brick_clear 1 10\n"
     "\n1\n40 120 80 rungs\n\n0\n\n1\n200 99 0 176 288 0.5 1 0 blob 600 100\n\n0\n\n0\n"},
};

INSTANTIATE_TEST_SUITE_P(Editor, SavedGroupEdits, testing::ValuesIn(savedGroupRows),
                         caseName<SavedGroupRow>);

}  // namespace
