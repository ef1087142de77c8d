// A teleporter's looks follow its number in the editor: a new pad takes
// the look showing its own number where the tree has one, and a pad given
// another number (paste, duplicate, its form) trades a look that showed the
// old number for the one showing the new, as one step undo takes back. The
// tree's pads are 24 x 32: pad and pad_cool with their numbers 1 to 3, and
// ring, a look of the author's own with no numbers.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/FieldForm.h"

namespace {

struct NumberedFixture : EditorFixture {
  NumberedFixture() : EditorFixture(false) {
    const std::string dir = "media/gfx/static/transportation/teleporters/";
    for (int n = 1; n <= 3; ++n) {
      tree.writeSolidPng(dir + "normal/pad" + std::to_string(n) + ".png", 24, 32, 40 * n, 0, 0);
      tree.writeSolidPng(dir + "cooldown/pad_cool" + std::to_string(n) + ".png", 24, 32, 0,
                         40 * n, 0);
    }
    tree.writeSolidPng(dir + "normal/ring.png", 24, 32, 0, 0, 200);
    build();
  }
};

// "form field=text field=text": the form of teleporter 1, confirmed.
void confirmForm(LevelEditor& editor, const LookCatalog& looks, const std::string& edits) {
  FieldForm form = FieldForm::forElement(editor.level(), {ElementKind::Teleporter, 0}, looks);
  std::istringstream words(edits);
  for (std::string edit; words >> edit;) {
    const std::string::size_type equals = edit.find('=');
    ASSERT_TRUE(form.set(form.find(edit.substr(0, equals)), edit.substr(equals + 1))) << edit;
  }
  LevelData edited = editor.level();
  ASSERT_TRUE(form.applyTo(edited));
  ASSERT_EQ(editor.replaceLevel(edited), 0);
}

std::string teleportersOf(const LevelData& level) {
  std::istringstream lines(levelSummary(level));
  std::string out;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("teleporter ", 0) == 0) out += line.substr(11) + "\n";
  }
  return out;
}

struct LookRow {
  const char* name;
  std::vector<std::string> teleporters;  // of the starting level, as LevelText lines
  const char* script;    // EditorFixture's actions, and "form field=text ..."
  const char* expected;  // every teleporter afterwards: x y look cooldown number
};

void PrintTo(const LookRow& row, std::ostream* out) { *out << row.name; }

class NumberedLooks : public testing::TestWithParam<LookRow> {};

TEST_P(NumberedLooks, FollowTheTeleportersNumber) {
  const LookRow& row = GetParam();
  NumberedFixture fixture;
  LevelText start = EditorFixture::emptyLevel();
  start.teleporters = row.teleporters;
  fixture.startWith(start);
  ASSERT_EQ(fixture.editor->placementError(), "");
  std::istringstream actions(row.script);
  for (std::string action; std::getline(actions, action, ';');) {
    const std::string::size_type form = action.find("form ");
    if (form == std::string::npos) perform(*fixture.editor, action);
    else confirmForm(*fixture.editor, *fixture.looks, action.substr(form + 5));
  }
  EXPECT_EQ(teleportersOf(fixture.editor->level()), row.expected);
}

const std::vector<std::string> pair1 = {"400 50 pad1 pad_cool1 1", "500 50 pad1 pad_cool1 1"};
const std::vector<std::string> oneToThree = {"400 50 pad1 pad_cool1 1", "450 50 pad2 pad_cool2 2",
                                             "500 50 pad3 pad_cool3 3"};

const LookRow lookRows[] = {
    {"a new pad shows its number", {}, "tool 6; click 0 200; click 64 200",
     "0 176 pad1 pad_cool1 1\n64 176 pad2 pad_cool2 2\n"},
    {"a new pad of a numbered look shows its own number", {"400 50 pad3 pad_cool3 3"},
     "pick 410 60; click 0 200", "400 50 pad3 pad_cool3 3\n0 176 pad1 pad_cool1 1\n"},
    {"a new pad with no look of its number keeps the plain look", oneToThree,
     "tool 6; click 0 200", "400 50 pad1 pad_cool1 1\n450 50 pad2 pad_cool2 2\n"
     "500 50 pad3 pad_cool3 3\n0 176 pad pad_cool 4\n"},
    {"a numbered look shows none on a new pad whose number has no look", oneToThree,
     "pick 510 60; click 0 200", "400 50 pad1 pad_cool1 1\n450 50 pad2 pad_cool2 2\n"
     "500 50 pad3 pad_cool3 3\n0 176 pad pad_cool 4\n"},
    {"a new pad keeps a look of the author's own", {"300 50 ring pad_cool 7"},
     "pick 310 60; click 0 200", "300 50 ring pad_cool 7\n0 176 ring pad_cool1 1\n"},
    {"a pasted pair shows its new number", pair1, "select; band 390 40 510 60; copy; paste 0 0",
     "400 50 pad1 pad_cool1 1\n500 50 pad1 pad_cool1 1\n"
     "0 0 pad2 pad_cool2 2\n100 0 pad2 pad_cool2 2\n"},
    {"a duplicate shows its new number", pair1, "select; band 400 50 400 50; duplicate",
     "400 50 pad1 pad_cool1 1\n500 50 pad1 pad_cool1 1\n432 50 pad2 pad_cool2 2\n"},
    {"undo takes the pasted looks back with the pads", pair1,
     "select; band 390 40 510 60; copy; paste 0 0; undo",
     "400 50 pad1 pad_cool1 1\n500 50 pad1 pad_cool1 1\n"},
    {"a number with no look of its own shows none", oneToThree,
     "select; band 400 50 400 50; copy; paste 0 0",
     "400 50 pad1 pad_cool1 1\n450 50 pad2 pad_cool2 2\n500 50 pad3 pad_cool3 3\n"
     "0 0 pad pad_cool 4\n"},
    {"a look showing no number stays", {"400 50 ring pad_cool 1"},
     "select; band 400 50 400 50; duplicate", "400 50 ring pad_cool 1\n432 50 ring pad_cool 2\n"},
    {"a look showing another number stays", {"400 50 pad3 pad_cool 1"},
     "select; band 400 50 400 50; duplicate", "400 50 pad3 pad_cool 1\n432 50 pad3 pad_cool 2\n"},
    {"a number typed in the form takes its looks along", pair1, "form number=3",
     "400 50 pad3 pad_cool3 3\n500 50 pad1 pad_cool1 1\n"},
    {"undo gives the form's number and looks back", pair1, "form number=3; undo",
     "400 50 pad1 pad_cool1 1\n500 50 pad1 pad_cool1 1\n"},
    {"redo gives them again", pair1, "form number=3; undo; redo",
     "400 50 pad3 pad_cool3 3\n500 50 pad1 pad_cool1 1\n"},
    {"a look chosen in the same form stays as chosen", pair1, "form number=3 name=ring",
     "400 50 ring pad_cool3 3\n500 50 pad1 pad_cool1 1\n"},
    {"a form that keeps the number keeps the looks", pair1, "form x=300",
     "300 50 pad1 pad_cool1 1\n500 50 pad1 pad_cool1 1\n"},
};

INSTANTIATE_TEST_SUITE_P(Editor, NumberedLooks, testing::ValuesIn(lookRows), caseName<LookRow>);

}  // namespace
