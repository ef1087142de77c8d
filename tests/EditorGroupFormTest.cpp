// One form for several selected elements of one kind: a field they share
// shows its value, a field where they differ shows that it differs and is
// left as each has it; what is typed applies to every one, as one step of
// undo named by the count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/FieldForm.h"

namespace {

// Three tiles of one floor, one worth 5 and not claimable; two enemies of
// one speed and patrols apart; a tile at the far right stands alone.
LevelText groupLevel() {
  LevelText level = EditorFixture::emptyLevel();
  level.tiles = {"0 200 brick brick_clear 1 10", "32 200 brick brick_clear 1 10",
                 "64 200 brick brick_clear 0 5"};
  level.enemies = {"300 299 0 250 350 0.5 1 0 blob 600 100",
                   "400 299 1 350 450 0.5 1 0 blob 600 100"};
  return level;
}

struct GroupFormRow {
  const char* name;
  const char* select;    // the selection, as EditorFixture's script
  const char* shown;     // name=what each field shows, mixed ones "(differs)"
  const char* typed;     // "field=text" given to the form; empty: none
  const char* summary;   // levelSummary after the form is applied
  const char* undoName;  // of the step
};

void PrintTo(const GroupFormRow& row, std::ostream* out) { *out << row.name; }

std::string shownFields(const FieldForm& form) {
  std::string shown;
  for (int i = 0; i < form.fieldCount(); ++i) {
    const FormField& field = form.field(i);
    shown += (i > 0 ? " " : "") + field.name + "=" + (field.mixed ? form.shown(i) : field.text);
  }
  return shown;
}

class GroupForms : public testing::TestWithParam<GroupFormRow> {};

TEST_P(GroupForms, ShowSharedValuesAndApplyToAll) {
  const GroupFormRow& row = GetParam();
  EditorFixture fixture;
  fixture.startWith(groupLevel());
  LevelEditor& editor = *fixture.editor;
  perform(editor, row.select);
  const std::string before = levelSummary(editor.level());
  FieldForm form = FieldForm::forElements(editor.level(), editor.selection().refs(), *fixture.looks);
  EXPECT_EQ(shownFields(form), row.shown);
  EXPECT_TRUE(form.valid()) << form.firstProblem();
  const std::string typed = row.typed;
  if (!typed.empty()) {
    const std::size_t equals = typed.find('=');
    ASSERT_TRUE(form.set(form.find(typed.substr(0, equals)), typed.substr(equals + 1)));
  }
  LevelData edited = editor.level();
  ASSERT_TRUE(form.applyTo(edited));
  ASSERT_EQ(editor.replaceLevel(edited, groupName("edit", editor.selection())), 0);
  EXPECT_EQ(levelSummary(editor.level()), row.summary);
  EXPECT_EQ(editor.undoName(), row.undoName);
  editor.undo();
  EXPECT_EQ(levelSummary(editor.level()), before);  // one step takes it all back
}

const GroupFormRow groupFormRows[] = {
    {"shared fields show, differing ones say so", "select; band -5 190 100 210",
     "x=(differs) y=200 tile_name=brick cleared_name=brick_clear claimable=(differs) "
     "points=(differs)",
     "points=25",
     "tile 0 200 brick brick_clear 1 25\ntile 32 200 brick brick_clear 1 25\n"
     "tile 64 200 brick brick_clear 0 25\nenemy 300 299 0 250 350 0.5 1 0 blob 600 100\n"
     "enemy 400 299 1 350 450 0.5 1 0 blob 600 100\nstart 100 299\n",
     "edit 3 tiles"},
    {"a mixed choice given a value goes to all", "select; band -5 190 100 210",
     "x=(differs) y=200 tile_name=brick cleared_name=brick_clear claimable=(differs) "
     "points=(differs)",
     "claimable=1",
     "tile 0 200 brick brick_clear 1 10\ntile 32 200 brick brick_clear 1 10\n"
     "tile 64 200 brick brick_clear 1 5\nenemy 300 299 0 250 350 0.5 1 0 blob 600 100\n"
     "enemy 400 299 1 350 450 0.5 1 0 blob 600 100\nstart 100 299\n",
     "edit 3 tiles"},
    {"a shared field changed keeps the rest of each", "select; band 290 290 410 300",
     "x=(differs) y=299 direction=(differs) min_x=(differs) max_x=(differs) speed=0.5 changes=1 "
     "state=0 name=blob safe_time=600 points=100",
     "speed=0.75",
     "tile 0 200 brick brick_clear 1 10\ntile 32 200 brick brick_clear 1 10\n"
     "tile 64 200 brick brick_clear 0 5\nenemy 300 299 0 250 350 0.75 1 0 blob 600 100\n"
     "enemy 400 299 1 350 450 0.75 1 0 blob 600 100\nstart 100 299\n",
     "edit 2 enemies"},
};

INSTANTIATE_TEST_SUITE_P(Editor, GroupForms, testing::ValuesIn(groupFormRows),
                         caseName<GroupFormRow>);

// A selection of several kinds has no one form.
TEST(EditorGroupForms, NeedOneKind) {
  EditorFixture fixture;
  fixture.startWith(groupLevel());
  perform(*fixture.editor, "all");
  const FieldForm form =
      FieldForm::forElements(fixture.editor->level(), fixture.editor->selection().refs(),
                             *fixture.looks);
  EXPECT_EQ(form.fieldCount(), 0);
  EXPECT_FALSE(form.valid());
}

}  // namespace
