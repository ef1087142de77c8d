// The property forms: every field of a record in file order, values checked
// as they are typed against the loader's bounds and the tree's looks, and a
// valid form written back as one step the editor can undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/FieldForm.h"

namespace {

// One element of each kind; the start at 100, 299.
LevelText everyKind() {
  LevelText level = EditorFixture::emptyLevel();
  level.tiles = {"0 300 brick brick_clear 1 10"};
  level.ladders = {"64 236 64 rungs"};
  level.chutes = {"128 236 64 16 1 step"};
  level.enemies = {"300 299 0 250 350 0.5 1 0 blob 600 100"};
  level.items = {"400 290 gem 25"};
  level.teleporters = {"500 268 pad pad_cool 1"};
  return level;
}

struct FieldsRow {
  const char* name;
  ElementRef element;  // invalid: the level's own form
  const char* fields;  // name=text, space separated
};

void PrintTo(const FieldsRow& row, std::ostream* out) { *out << row.name; }

class FormFields : public testing::TestWithParam<FieldsRow> {};

TEST_P(FormFields, ListEveryFieldInFileOrder) {
  const FieldsRow& row = GetParam();
  EditorFixture fixture;
  fixture.startWith(everyKind());
  const LevelData& level = fixture.editor->level();
  const FieldForm form = row.element.valid()
                             ? FieldForm::forElement(level, row.element, *fixture.looks)
                             : FieldForm::forLevel(level, *fixture.looks);
  std::string fields;
  for (int i = 0; i < form.fieldCount(); ++i) {
    fields += (i > 0 ? " " : "") + form.field(i).name + "=" + form.field(i).text;
    EXPECT_EQ(form.field(i).error, "") << form.field(i).name;
  }
  EXPECT_EQ(fields, row.fields);
  EXPECT_TRUE(form.valid());
}

const FieldsRow fieldsRows[] = {
    {"tile", {ElementKind::Tile, 0},
     "x=0 y=300 tile_name=brick cleared_name=brick_clear claimable=1 points=10"},
    {"ladder", {ElementKind::Ladder, 0}, "x=64 y=236 height=64 name=rungs"},
    {"chute", {ElementKind::Chute, 0}, "x=128 y=236 height=64 dx=16 direction=1 name=step"},
    {"enemy", {ElementKind::Enemy, 0},
     "x=300 y=299 direction=0 min_x=250 max_x=350 speed=0.5 changes=1 state=0 name=blob "
     "safe_time=600 points=100"},
    {"item", {ElementKind::Item, 0}, "x=400 y=290 type=gem points=25"},
    {"teleporter", {ElementKind::Teleporter, 0},
     "x=500 y=268 name=pad cooldown_name=pad_cool number=1"},
    {"player start", {EditTool::Start, 0}, "start_x=100 start_y=299 start_animation=1"},
    {"level", {},
     "countdown_start=3000 countdown_x=10 countdown_y=10 countdown_align=0 score_x=400 "
     "score_y=10 score_align=0 pip_offset=10 pip_spacing=5 start_x=100 start_y=299 "
     "start_animation=1"},
};

INSTANTIATE_TEST_SUITE_P(Editor, FormFields, testing::ValuesIn(fieldsRows), caseName<FieldsRow>);

struct TypedRow {
  const char* name;
  ElementRef element;
  const char* field;
  const char* text;
  const char* error;  // empty: accepted
};

void PrintTo(const TypedRow& row, std::ostream* out) { *out << row.name; }

class TypedValues : public testing::TestWithParam<TypedRow> {};

TEST_P(TypedValues, AreCheckedAsTheyAreTyped) {
  const TypedRow& row = GetParam();
  EditorFixture fixture;
  fixture.startWith(everyKind());
  FieldForm form = row.element.valid()
                       ? FieldForm::forElement(fixture.editor->level(), row.element, *fixture.looks)
                       : FieldForm::forLevel(fixture.editor->level(), *fixture.looks);
  const int index = form.find(row.field);
  ASSERT_GE(index, 0) << row.field;
  EXPECT_EQ(form.set(index, row.text), std::string(row.error).empty());
  EXPECT_EQ(form.field(index).error, row.error);
  EXPECT_EQ(form.valid(), std::string(row.error).empty());
  LevelData level = fixture.editor->level();
  EXPECT_EQ(form.applyTo(level), form.valid());
}

const ElementRef tile{ElementKind::Tile, 0};
const ElementRef enemy{ElementKind::Enemy, 0};
const ElementRef start{EditTool::Start, 0};
const ElementRef teleporter{ElementKind::Teleporter, 0};

const TypedRow typedRows[] = {
    {"a whole number", tile, "points", "250", ""},
    {"a negative one", tile, "x", "-32", ""},
    {"at the bound", tile, "points", "1000000", ""},
    {"past the bound", tile, "points", "1000001", "out of range: from -1000000 to 1000000"},
    {"past the other bound", tile, "y", "-1000001", "out of range: from -1000000 to 1000000"},
    {"past int", tile, "claimable", "99999999999", "out of range: from -2147483648 to 2147483647"},
    {"past int where a bound holds", tile, "x", "-99999999999", "out of range: from -1000000 to 1000000"},
    {"past int where a choice holds", start, "start_animation", "+99999999999", "out of range: from 0 to 4"},
    {"an unbounded flag takes any int", tile, "claimable", "-7", ""},
    {"a fraction where a whole is read", tile, "x", "2.5", "not a whole number"},
    {"letters", tile, "x", "ten", "not a whole number"},
    {"a sign alone", tile, "x", "-", "not a whole number"},
    {"empty", tile, "x", "", "not a whole number"},
    {"a space inside", tile, "x", "1 2", "not a whole number"},
    {"a real speed", enemy, "speed", "0.75", ""},
    {"a whole speed", enemy, "speed", "2", ""},
    {"a speed past the bound", enemy, "speed", "2e6", "out of range: from -1000000 to 1000000"},
    {"not a number speed", enemy, "speed", "nan", "not a number"},
    {"a speed with a tail", enemy, "speed", "1.5x", "not a number"},
    {"a look of the tree", tile, "tile_name", "brick", ""},
    {"a look the tree lacks", tile, "tile_name", "marble", "the tree has no look named marble"},
    {"a look of the other set", tile, "cleared_name", "brick", "the tree has no look named brick"},
    {"a cooldown look", teleporter, "cooldown_name", "pad_cool", ""},
    {"an enemy kind the tree lacks", enemy, "name", "ghost", "the tree has no look named ghost"},
    {"a name with a space", enemy, "name", "bl ob", "a name has no spaces"},
    {"no name", tile, "cleared_name", "", "a name is needed"},
    {"an animation of the player", start, "start_animation", "4", ""},
    {"an animation the player lacks", start, "start_animation", "5", "from 0 to 4"},
    {"a hidden panel is a choice", ElementRef{}, "score_align", "3", ""},
    {"a look in the wrong letter case", tile, "tile_name", "Brick",
     "the tree has no look named Brick; did you mean 'brick'?"},
};

INSTANTIATE_TEST_SUITE_P(Editor, TypedValues, testing::ValuesIn(typedRows), caseName<TypedRow>);

TEST(EditorForms, WriteBackAsOneStepOfUndo) {
  EditorFixture fixture;
  fixture.startWith(everyKind());
  LevelEditor& editor = *fixture.editor;
  FieldForm form = FieldForm::forElement(editor.level(), {ElementKind::Ladder, 0}, *fixture.looks);
  ASSERT_TRUE(form.set(form.find("height"), "96"));
  ASSERT_TRUE(form.set(form.find("x"), "80"));
  LevelData edited = editor.level();
  ASSERT_TRUE(form.applyTo(edited));
  ASSERT_EQ(editor.replaceLevel(edited), 0);
  EXPECT_EQ(editor.level().ladders[0].height, 96);
  EXPECT_EQ(editor.bounds({ElementKind::Ladder, 0}).h, 96);  // the Game placed it so
  EXPECT_EQ(editor.bounds({ElementKind::Ladder, 0}).x, 80);
  FieldForm speed = FieldForm::forElement(editor.level(), {ElementKind::Enemy, 0}, *fixture.looks);
  ASSERT_TRUE(speed.set(speed.find("speed"), "0.4"));
  ASSERT_TRUE(speed.applyTo(edited));
  ASSERT_EQ(editor.replaceLevel(edited), 0);
  EXPECT_EQ(editor.level().enemies[0].speed, 0.4f);
  editor.undo();
  EXPECT_EQ(editor.level().enemies[0].speed, 0.5f);
  EXPECT_EQ(editor.level().ladders[0].height, 96);
  editor.undo();
  EXPECT_EQ(editor.level().ladders[0].height, 64);
}

// What a person reads: the title names the element as the author sees it,
// each field has a label with its unit, and the fields of a few meanings
// show their words.
struct WordsRow {
  const char* name;
  ElementRef element;
  const char* title;
  const char* field;
  const char* label;
  const char* shown;  // the words a choice shows, or the text of a box
};

void PrintTo(const WordsRow& row, std::ostream* out) { *out << row.name; }

class FormWords : public testing::TestWithParam<WordsRow> {};

TEST_P(FormWords, SayWhatTheFieldsMean) {
  const WordsRow& row = GetParam();
  EditorFixture fixture;
  LevelText level = everyKind();
  level.enemies.push_back("320 299 5 250 350 0.5 1 0 blob 600 100");
  fixture.startWith(level);
  const FieldForm form = row.element.valid()
                             ? FieldForm::forElement(fixture.editor->level(), row.element,
                                                     *fixture.looks)
                             : FieldForm::forLevel(fixture.editor->level(), *fixture.looks);
  EXPECT_EQ(form.title(), row.title);
  const int index = form.find(row.field);
  ASSERT_GE(index, 0);
  EXPECT_EQ(form.field(index).label, row.label);
  EXPECT_EQ(form.shown(index), row.shown);
}

const WordsRow wordsRows[] = {
    {"a patrol's end", enemy, "Enemy 1 of 2: blob", "min_x", "Patrol from x", "250"},
    {"a speed with its unit", enemy, "Enemy 1 of 2: blob", "speed", "Speed (pixels per tick)",
     "0.5"},
    {"a direction is a side", enemy, "Enemy 1 of 2: blob", "direction", "Walks first to the",
     "left"},
    {"a direction the file gives as 5 stays 5", {ElementKind::Enemy, 1}, "Enemy 2 of 2: blob",
     "direction", "Walks first to the", "5 (as the file has it)"},
    {"a flag is yes or no", tile, "Tile 1 of 1: brick", "claimable", "Must be claimed", "yes"},
    {"a teleporter by its number", teleporter, "Teleporter 1 of 1: pad, number 1", "number",
     "Number (the key that calls it)", "1"},
    {"the start's animation by name", start, "Player start", "start_animation", "Start as",
     "walking right"},
    {"a panel's alignment by name", ElementRef{}, "Level", "score_align",
     "Score and lives in their panel", "left"},
};

INSTANTIATE_TEST_SUITE_P(Editor, FormWords, testing::ValuesIn(wordsRows), caseName<WordsRow>);

TEST(EditorForms, TellTheTreesTickRateAndCycleChoicesRound) {
  EditorFixture fixture;
  fixture.startWith(everyKind());
  Game slower(640, 480, 50);
  LookCatalog looks(slower);
  FieldForm form = FieldForm::forElement(fixture.editor->level(), enemy, looks);
  EXPECT_EQ(form.field(form.find("safe_time")).label, "Safe time (ticks, 50 per second)");
  const int state = form.find("state");
  EXPECT_EQ(form.shown(state), "dangerous");
  form.cycle(state, 1);
  EXPECT_EQ(form.field(state).text, "1");
  EXPECT_EQ(form.shown(state), "vulnerable");
  form.cycle(state, 1);
  EXPECT_EQ(form.shown(state), "dangerous");
  form.cycle(state, -1);
  EXPECT_EQ(form.shown(state), "vulnerable");
}

// The error line shows the form's first problem as it stands, or nothing.
TEST(EditorForms, NameTheFirstProblemThereIsNow) {
  EditorFixture fixture;
  fixture.startWith(everyKind());
  FieldForm form = FieldForm::forElement(fixture.editor->level(), enemy, *fixture.looks);
  const int speed = form.find("speed");
  const int points = form.find("points");
  EXPECT_EQ(form.firstProblem(), "");
  form.set(points, "lots");
  form.set(speed, "fast");
  EXPECT_EQ(form.firstProblem(), "Speed (pixels per tick): not a number");
  form.set(speed, "1.5");
  EXPECT_EQ(form.firstProblem(), "Points for catching it: not a whole number");
  form.set(points, "10");
  EXPECT_EQ(form.firstProblem(), "");
}

TEST(EditorForms, GiveNoFormForNothing) {
  EditorFixture fixture;
  const FieldForm form = FieldForm::forElement(fixture.editor->level(), {ElementKind::Item, 3},
                                               *fixture.looks);
  EXPECT_EQ(form.fieldCount(), 0);
  EXPECT_FALSE(form.valid());
  LevelData level = fixture.editor->level();
  EXPECT_FALSE(form.applyTo(level));
}

}  // namespace
