// The editor's front end without a window: what sequences of mouse samples do to the level (on the model and a real
// Game, as the window hands them over once a frame), and what the status
// bar says. The tree's tiles are 32 x 8, the grid.
#include <allegro.h>
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/EditorInput.h"
#include "tools/edit/EditorStatusBar.h"

namespace {

struct NudgeRow {
  const char* name;
  int key;
  int shifts;
  int dx, dy;
  bool pixels;
};

void PrintTo(const NudgeRow& row, std::ostream* out) { *out << row.name; }

class NudgeKeys : public testing::TestWithParam<NudgeRow> {};

TEST_P(NudgeKeys, StepTheWayTheArrowPoints) {
  const NudgeRow& row = GetParam();
  const KeyCommand got = commandForKey(row.key, row.shifts);
  EXPECT_EQ(static_cast<int>(got.command), static_cast<int>(EditorCommand::Nudge));
  EXPECT_EQ(std::vector<int>({got.dx, got.dy, got.pixel ? 1 : 0}),
            std::vector<int>({row.dx, row.dy, row.pixels ? 1 : 0}));
}

const NudgeRow nudgeRows[] = {
    {"left a cell", KEY_LEFT << 8, 0, -1, 0, false},
    {"right a cell", KEY_RIGHT << 8, 0, 1, 0, false},
    {"up a cell", KEY_UP << 8, 0, 0, -1, false},
    {"down a cell", KEY_DOWN << 8, 0, 0, 1, false},
    {"shift and left a pixel", KEY_LEFT << 8, KB_SHIFT_FLAG, -1, 0, true},
    {"shift and down a pixel", KEY_DOWN << 8, KB_SHIFT_FLAG, 0, 1, true},
};

INSTANTIATE_TEST_SUITE_P(EditorInput, NudgeKeys, testing::ValuesIn(nudgeRows),
                         caseName<NudgeRow>);

TEST(EditorInput, EscapeLetsGoOfASelectionBeforeItLeaves) {
  const KeyCommand escape = commandForKey(KEY_ESC << 8 | 27, 0);
  EXPECT_EQ(static_cast<int>(withSelection(escape, true).command),
            static_cast<int>(EditorCommand::ClearSelection));
  EXPECT_EQ(static_cast<int>(withSelection(escape, false).command),
            static_cast<int>(EditorCommand::Leave));
  const KeyCommand copy = commandForKey(KEY_C << 8 | 3, KB_CTRL_FLAG);
  EXPECT_EQ(static_cast<int>(withSelection(copy, true).command),
            static_cast<int>(EditorCommand::Copy));
}

// Samples separated by ';', 100 ms apart: "down X Y" (left held), "up X Y"
// (nothing held), "flick X Y" (a left click begun and ended between two
// samples), "again X Y" (left held, its press reported late), "right X Y",
// "middle X Y", "shift X Y" (left held with Shift), "outside X Y" (left held
// off the game area), "dialog X Y" (left held as a dialog gives the mouse
// back), "ctrl X Y" (left held with Ctrl), "wait" (a second passes),
// "tool N" (the key N), "select" (the key S).
struct GestureRow {
  const char* name;
  const char* samples;
  const char* expected;  // levelSummary afterwards
  int propertyRequests;
};

int play(LevelEditor& editor, const std::string& samples) {
  MouseGestures gestures;
  std::istringstream steps(samples);
  std::string step;
  int time = 0;
  int requests = 0;
  while (std::getline(steps, step, ';')) {
    std::istringstream words(step);
    std::string op;
    MouseSample sample;
    words >> op >> sample.x >> sample.y;
    time += 100;
    if (op == "wait") time += 1000;
    if (op == "tool") editor.setTool(toolAt(sample.x - 1));
    if (op == "select") editor.chooseSelectTool();
    if (op == "wait" || op == "tool" || op == "select") continue;
    sample.time = time;
    if (op == "down" || op == "again" || op == "shift" || op == "outside" || op == "dialog" ||
        op == "ctrl") {
      sample.buttons = 1;
    }
    sample.afterDialog = op == "dialog";
    if (op == "flick" || op == "again") sample.pressed = 1;
    if (op == "right") sample.buttons = 2;
    if (op == "middle") sample.buttons = 4;
    sample.shift = op == "shift";
    sample.ctrl = op == "ctrl";
    MouseRequest request = MouseRequest::None;
    gestures.update(sample, op != "outside", editor, request);
    if (request == MouseRequest::Properties) ++requests;
  }
  return requests;
}

void PrintTo(const GestureRow& row, std::ostream* out) { *out << row.name; }

class Gestures : public testing::TestWithParam<GestureRow> {};

TEST_P(Gestures, MakeTheEditsTheyStandFor) {
  const GestureRow& row = GetParam();
  EditorFixture fixture;
  fixture.startWith(EditorFixture::emptyLevel());
  const int requests = play(*fixture.editor, row.samples);
  EXPECT_EQ(levelSummary(fixture.editor->level()), row.expected);
  EXPECT_EQ(requests, row.propertyRequests);
}

const char* const oneTile = "tile 32 8 brick brick_clear 1 10\nstart 100 299\n";

const GestureRow gestureRows[] = {
    {"a press and release places a tile", "down 40 13; up 40 13", oneTile, 0},
    {"a click between two samples places it all the same", "flick 40 13; up 40 13", oneTile, 0},
    {"a press reported after mouse_b showed it is one press", "down 40 13; again 40 13; up 40 13",
     oneTile, 0},
    {"a drag paints the row between samples far apart", "down 0 100; down 200 100; up 200 100",
     "tile 0 96 brick brick_clear 1 10\ntile 32 96 brick brick_clear 1 10\n"
     "tile 64 96 brick brick_clear 1 10\ntile 96 96 brick brick_clear 1 10\n"
     "tile 128 96 brick brick_clear 1 10\ntile 160 96 brick brick_clear 1 10\n"
     "tile 192 96 brick brick_clear 1 10\nstart 100 299\n",
     0},
    {"a double click on nothing opens nothing and places nothing",
     "down 40 13; up 40 13; down 41 14; up 41 14", "start 100 299\n", 1},
    {"a double click with the start tool opens the tile and leaves the start",
     "down 40 13; up 40 13; wait; tool 7; down 40 13; up 40 13; down 41 14; up 41 14", oneTile,
     1},
    {"a second press elsewhere is a click of its own", "down 40 13; up 40 13; down 100 13; up 100 13",
     "tile 32 8 brick brick_clear 1 10\ntile 96 8 brick brick_clear 1 10\nstart 100 299\n", 0},
    {"a late second press is a click again", "down 40 13; up 40 13; wait; down 40 13; up 40 13",
     oneTile, 0},
    {"a right press deletes the tile", "down 40 13; up 40 13; wait; right 40 10; up 40 10",
     "start 100 299\n", 0},
    {"shift and a drag move the tile by whole cells",
     "down 40 13; up 40 13; wait; shift 40 13; shift 104 13; up 104 13",
     "tile 96 8 brick brick_clear 1 10\nstart 100 299\n", 0},
    {"a middle press picks the tile tool back",
     "down 40 13; up 40 13; tool 2; wait; middle 40 10; up 40 10; wait; down 200 203; up 200 203",
     "tile 32 8 brick brick_clear 1 10\ntile 192 200 brick brick_clear 1 10\nstart 100 299\n", 0},
    {"a press off the game area places nothing", "outside 40 13; up 40 13", "start 100 299\n", 0},
    {"the press that closed a dialog places nothing", "dialog 40 13; down 40 13; up 40 13",
     "start 100 299\n", 0},
    {"after a dialog the next click places again", "dialog 40 13; up 40 13; wait; down 40 13; up 40 13",
     oneTile, 0},
    {"ctrl and a drag fill the rectangle with tiles, only the top row claimable",
     "ctrl 0 100; ctrl 40 110; up 40 110",
     "tile 0 96 brick brick_clear 1 10\ntile 32 96 brick brick_clear 1 10\n"
     "tile 0 104 brick brick_clear 0 0\ntile 32 104 brick brick_clear 0 0\nstart 100 299\n",
     0},
    {"ctrl let go of during the drag still fills", "ctrl 0 100; down 40 100; up 40 100",
     "tile 0 96 brick brick_clear 1 10\ntile 32 96 brick brick_clear 1 10\nstart 100 299\n", 0},
    {"a selecting drag places nothing",
     "down 40 13; up 40 13; wait; select; down 0 0; down 100 100; up 100 100", oneTile, 0},
    {"a drag begun on the selection moves it",
     "down 40 13; up 40 13; wait; select; down 0 0; down 100 100; up 100 100; wait; "
     "down 40 10; down 104 10; up 104 10",
     "tile 96 8 brick brick_clear 1 10\nstart 100 299\n", 0},
    {"a drag begun off the selection selects afresh",
     "down 40 13; up 40 13; wait; select; down 0 0; down 100 100; up 100 100; wait; "
     "down 200 200; down 300 300; up 300 300; wait; down 40 10; down 104 10; up 104 10",
     oneTile, 0},
    {"a drag does not go on after a dialog", "down 0 100; dialog 200 100; down 200 100; up 200 100",
     "tile 0 96 brick brick_clear 1 10\nstart 100 299\n", 0},
};

INSTANTIATE_TEST_SUITE_P(EditorInput, Gestures, testing::ValuesIn(gestureRows),
                         caseName<GestureRow>);

struct StatusRow {
  const char* name;
  StatusFacts facts;
  const char* expected;
};

void PrintTo(const StatusRow& row, std::ostream* out) { *out << row.name; }

class StatusLines : public testing::TestWithParam<StatusRow> {};

TEST_P(StatusLines, SayWhatTheEditorStandsAt) {
  EXPECT_EQ(statusLine(GetParam().facts), GetParam().expected);
}

StatusFacts facts(bool in, const char* tool, const char* look, bool snap, const char* file,
                  bool modified, bool checking, int errors, int warnings) {
  StatusFacts f;
  f.inLevel = in;
  f.x = 123;
  f.y = 45;
  f.tool = tool;
  f.look = look;
  f.snapping = snap;
  f.file = file;
  f.modified = modified;
  f.checking = checking;
  f.errors = errors;
  f.warnings = warnings;
  return f;
}

StatusFacts proving(StatusFacts f) {
  f.proving = true;
  return f;
}

const StatusRow statusRows[] = {
    {"a saved level without problems",
     facts(true, "tile", "brick", true, "level1.inf", false, false, 0, 0),
     "123,45  tile: brick  level1.inf  0 errors, 0 warnings"},
    {"unsaved, one of each, still checking",
     facts(true, "ladder", "rungs", true, "level1.inf", true, true, 1, 1),
     "123,45  ladder: rungs  level1.inf *  1 error, 1 warning ..."},
    {"off the map, a new level, placing freely",
     facts(false, "player start", "", false, "", true, false, 3, 2),
     "-,-  player start (free)  (new level) *  3 errors, 2 warnings"},
    {"caught up, the proof with the enemies still going",
     proving(facts(true, "tile", "brick", true, "level1.inf", false, false, 0, 1)),
     "123,45  tile: brick  level1.inf  0 errors, 1 warning, proving with enemies..."},
    {"the proof going is of a revision before",
     proving(facts(true, "tile", "brick", true, "level1.inf", true, true, 0, 0)),
     "123,45  tile: brick  level1.inf *  0 errors, 0 warnings ..."},
};

INSTANTIATE_TEST_SUITE_P(EditorInput, StatusLines, testing::ValuesIn(statusRows),
                         caseName<StatusRow>);

// The built-in font is 8 pixels a character, so 80 pixels hold ten.
struct WrapRow {
  const char* name;
  const char* text;
  int width;
  std::vector<std::string> lines;
};

void PrintTo(const WrapRow& row, std::ostream* out) { *out << row.name; }

class Wrapping : public testing::TestWithParam<WrapRow> {};

TEST_P(Wrapping, KeepsEveryCharacterWithinTheWidth) {
  EXPECT_EQ(wrapText(GetParam().text, GetParam().width), GetParam().lines);
}

const WrapRow wrapRows[] = {
    {"a line that fits", "ten chars!", 80, {"ten chars!"}},
    {"words go on to the next line", "0123456789 abc de", 80, {"0123456789", "abc de"}},
    {"a word wider than a line is broken", "abcdefghijklmnopqrstuvwxy", 80,
     {"abcdefghij", "klmnopqrst", "uvwxy"}},
    {"spaces within a line are kept", "a  b   c", 80, {"a  b   c"}},
    {"nothing gives no line", "", 80, {}},
};

INSTANTIATE_TEST_SUITE_P(EditorStatus, Wrapping, testing::ValuesIn(wrapRows), caseName<WrapRow>);

TEST(EditorStatus, ScrollsALongMessageThroughTheRowsAndRound) {
  const std::vector<std::string> five = {"1", "2", "3", "4", "5"};
  EXPECT_EQ(visibleLines(five, 6, 99999), five);
  const std::vector<std::pair<int, std::vector<std::string>>> shown = {
      {0, {"1", "2", "3"}},
      {scrollMilliseconds, {"2", "3", "4"}},
      {2 * scrollMilliseconds + 10, {"3", "4", "5"}},
      {3 * scrollMilliseconds, {"1", "2", "3"}},
  };
  for (const auto& [time, lines] : shown) EXPECT_EQ(visibleLines(five, 3, time), lines) << time;
}

ReportFinding finding(ElementKind kind, int index, const std::string& message) {
  ReportFinding f;
  f.element = LayoutElement::Record;
  f.kind = kind;
  f.index = index;
  f.message = message;
  return f;
}

// A row of tiles no key reaches is one message, standing for every tile.
TEST(EditorStatus, GroupsFindingsAlikeIntoOneMessage) {
  LevelData level;
  for (int x : {0, 32, 64}) level.tiles.push_back(TileSpec{x, 100, "brick", "brick", 1, 10});
  level.tiles.push_back(TileSpec{0, 200, "brick", "brick", 1, 10});
  level.ladders.push_back(LadderSpec{32, 100, 40, "rungs"});
  const std::vector<ReportFinding> findings = {
      finding(ElementKind::Tile, 0, "claimable tile at 0, 100 cannot be reached from the start position"),
      finding(ElementKind::Ladder, 0, "ladder at 32, 100: its top (row 100) has no floor within 2 rows"),
      finding(ElementKind::Tile, 1, "claimable tile at 32, 100 cannot be reached from the start position"),
      finding(ElementKind::Tile, 2, "claimable tile at 64, 100 cannot be reached from the start position"),
      finding(ElementKind::Tile, 3, "claimable tile at 0, 200 shows its claim only in part"),
  };
  const std::vector<StatusMessage> messages = groupFindings(findings, level);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].text,
            "error: claimable tile at 0, 100 cannot be reached from the start position "
            "(and 2 more tiles like it)");
  EXPECT_EQ(messages[0].findings, std::vector<int>({0, 2, 3}));
  EXPECT_EQ(messages[1].findings, std::vector<int>({1}));
  EXPECT_EQ(messages[2].text, "error: claimable tile at 0, 200 shows its claim only in part");
}

// What the proof established comes last, as a note; nothing when it
// proved nothing.
TEST(EditorStatus, CyclesTheProofsNoteAfterTheFindings) {
  const std::vector<StatusMessage> groups = {{"error: a", {0}}, {"warning: b", {1, 2}}};
  const struct {
    std::vector<StatusMessage> groups;
    std::string note;
    std::vector<std::string> cycled;
  } cases[] = {
      {groups, "cleared in 3.0 s", {"error: a", "warning: b", "note: cleared in 3.0 s"}},
      {groups, "", {"error: a", "warning: b"}},
      {{}, "cleared in 3.0 s", {"note: cleared in 3.0 s"}},
      {{}, "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(cycledMessages(c.groups, c.note), c.cycled) << c.note;
}

TEST(EditorMessages, CycleRoundAndStartAgainOnlyWhenTheyChange) {
  MessageCycle cycle;
  EXPECT_EQ(cycle.current(), -1);
  EXPECT_EQ(cycle.line(), "");
  cycle.next();  // nothing to step through
  EXPECT_EQ(cycle.current(), -1);

  const std::vector<std::string> three = {"error: a", "warning: b", "error: c"};
  cycle.setMessages(three);
  cycle.next();
  EXPECT_EQ(cycle.line(), "2/3 warning: b");
  cycle.setMessages(three);  // the same findings again keep the place
  EXPECT_EQ(cycle.current(), 1);
  cycle.next();
  cycle.next();
  EXPECT_EQ(cycle.line(), "1/3 error: a");
  cycle.next();
  cycle.setMessages({"error: a", "error: d"});
  EXPECT_EQ(cycle.line(), "1/2 error: a");
  cycle.setMessages({});
  EXPECT_EQ(cycle.current(), -1);
}

}  // namespace
