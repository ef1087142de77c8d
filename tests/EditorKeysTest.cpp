// The editor's key table: which command each chord gives, that every key
// of the table is typed by its chord and no chord by two rows, and that
// the F1 help, the authoring guide and the manual page list the table as
// it is.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tools/edit/EditorHelp.h"
#include "tools/edit/EditorKeys.h"

namespace {

struct KeyRow {
  const char* name;
  int key;     // readkey() code: scan code << 8 | character
  int shifts;  // key_shifts
  EditorCommand command;
  EditTool tool;  // for ChooseTool
  bool selection = false;  // something is selected
};

void PrintTo(const KeyRow& row, std::ostream* out) { *out << row.name; }

class KeyCommands : public testing::TestWithParam<KeyRow> {};

TEST_P(KeyCommands, AreTheOnesTheKeysName) {
  const KeyRow& row = GetParam();
  const KeyCommand got = commandForKey(row.key, row.shifts, row.selection);
  EXPECT_EQ(static_cast<int>(got.command), static_cast<int>(row.command));
  if (row.command == EditorCommand::ChooseTool) {
    EXPECT_EQ(toolIndex(got.tool), toolIndex(row.tool));
  }
}

constexpr int code(int scan, int character) { return scan << 8 | character; }
constexpr int none = 0;
constexpr int ctrl = KB_CTRL_FLAG;
constexpr int shift = KB_SHIFT_FLAG;

const KeyRow keyRows[] = {
    {"one is the tile tool", code(KEY_1, '1'), none, EditorCommand::ChooseTool, ElementKind::Tile},
    {"four is the enemy tool", code(KEY_4, '4'), none, EditorCommand::ChooseTool, ElementKind::Enemy},
    {"seven is the player start", code(KEY_7, '7'), none, EditorCommand::ChooseTool,
     EditTool::Start},
    {"eight is no tool", code(KEY_8, '8'), none, EditorCommand::None, ElementKind::Tile},
    {"open bracket goes back a look", code(KEY_OPENBRACE, '['), none,
     EditorCommand::PreviousLook, ElementKind::Tile},
    {"close bracket goes on a look", code(KEY_CLOSEBRACE, ']'), none, EditorCommand::NextLook,
     ElementKind::Tile},
    {"g toggles snapping", code(KEY_G, 'g'), none, EditorCommand::ToggleSnap, ElementKind::Tile},
    {"shift g shows the grid", code(KEY_G, 'G'), shift, EditorCommand::ToggleGrid,
     ElementKind::Tile},
    {"a capital g with shift already let go of too", code(KEY_G, 'G'), none,
     EditorCommand::ToggleGrid, ElementKind::Tile},
    {"a capital g of caps lock snaps", code(KEY_G, 'G'), KB_CAPSLOCK_FLAG,
     EditorCommand::ToggleSnap, ElementKind::Tile},
    {"shifted L still opens the level", code(KEY_L, 'L'), shift, EditorCommand::LevelProperties,
     ElementKind::Tile},
    {"ctrl z undoes", code(KEY_Z, 26), ctrl, EditorCommand::Undo, ElementKind::Tile},
    {"ctrl y redoes", code(KEY_Y, 25), ctrl, EditorCommand::Redo, ElementKind::Tile},
    {"ctrl s saves", code(KEY_S, 19), ctrl, EditorCommand::Save, ElementKind::Tile},
    {"ctrl z already let go of when the key is read", code(KEY_Z, 26), none,
     EditorCommand::Undo, ElementKind::Tile},
    {"ctrl s likewise", code(KEY_S, 19), none, EditorCommand::Save, ElementKind::Tile},
    {"a plain z does nothing", code(KEY_Z, 'z'), none, EditorCommand::None, ElementKind::Tile},
    {"a plain s chooses the select tool", code(KEY_S, 's'), none,
     EditorCommand::ChooseSelectTool, ElementKind::Tile},
    {"ctrl shift s saves as", code(KEY_S, 19), ctrl | shift, EditorCommand::SaveAs,
     ElementKind::Tile},
    {"ctrl shift s as a capital", code(KEY_S, 'S'), ctrl | shift, EditorCommand::SaveAs,
     ElementKind::Tile},
    {"ctrl n is a new level", code(KEY_N, 14), ctrl, EditorCommand::NewLevel, ElementKind::Tile},
    {"ctrl n let go of early", code(KEY_N, 14), none, EditorCommand::NewLevel, ElementKind::Tile},
    {"ctrl o opens", code(KEY_O, 15), ctrl, EditorCommand::OpenLevel, ElementKind::Tile},
    {"ctrl a selects all", code(KEY_A, 1), ctrl, EditorCommand::SelectAll, ElementKind::Tile},
    {"ctrl c copies", code(KEY_C, 3), ctrl, EditorCommand::Copy, ElementKind::Tile},
    {"ctrl x cuts", code(KEY_X, 24), ctrl, EditorCommand::Cut, ElementKind::Tile},
    {"ctrl v pastes", code(KEY_V, 22), ctrl, EditorCommand::Paste, ElementKind::Tile},
    {"ctrl d duplicates", code(KEY_D, 4), ctrl, EditorCommand::Duplicate, ElementKind::Tile},
    {"ctrl g is nothing", code(KEY_G, 7), ctrl, EditorCommand::None, ElementKind::Tile},
    {"delete deletes the selection", code(KEY_DEL, 127), none, EditorCommand::DeleteSelection,
     ElementKind::Tile},
    {"left nudges", code(KEY_LEFT, 0), none, EditorCommand::Nudge, ElementKind::Tile},
    {"shift down nudges by a pixel", code(KEY_DOWN, 0), shift, EditorCommand::Nudge,
     ElementKind::Tile},
    {"tab shows the palette", code(KEY_TAB, '\t'), none, EditorCommand::ShowPalette,
     ElementKind::Tile},
    {"f1 shows the help", code(KEY_F1, 0), none, EditorCommand::ShowHelp, ElementKind::Tile},
    {"f7 plays the route", code(KEY_F7, 0), none, EditorCommand::PlayRoute, ElementKind::Tile},
    {"escape clears a selection", code(KEY_ESC, 27), none, EditorCommand::ClearSelection,
     ElementKind::Tile, true},
    {"ctrl escape is nothing", code(KEY_ESC, 27), ctrl, EditorCommand::None, ElementKind::Tile},
    {"ctrl with a digit chooses no tool", code(KEY_1, '1'), ctrl, EditorCommand::None,
     ElementKind::Tile},
    {"enter opens the element", code(KEY_ENTER, '\r'), none, EditorCommand::ElementProperties,
     ElementKind::Tile},
    {"so does the keypad's enter", code(KEY_ENTER_PAD, '\r'), none,
     EditorCommand::ElementProperties, ElementKind::Tile},
    {"l opens the level", code(KEY_L, 'l'), none, EditorCommand::LevelProperties,
     ElementKind::Tile},
    {"n shows the next message", code(KEY_N, 'n'), none, EditorCommand::NextMessage,
     ElementKind::Tile},
    {"f5 plays from the start", code(KEY_F5, 0), none, EditorCommand::Playtest, ElementKind::Tile},
    {"f6 plays from the cursor", code(KEY_F6, 0), none, EditorCommand::PlaytestFromCursor,
     ElementKind::Tile},
    {"escape leaves", code(KEY_ESC, 27), none, EditorCommand::Leave, ElementKind::Tile},
    {"page up opens the set's previous level", code(KEY_PGUP, 0), none,
     EditorCommand::PreviousSetLevel, ElementKind::Tile},
    {"page down its next", code(KEY_PGDN, 0), none, EditorCommand::NextSetLevel, ElementKind::Tile},
    {"ctrl equals zooms in", code(KEY_EQUALS, '='), ctrl, EditorCommand::ZoomIn, ElementKind::Tile},
    {"ctrl plus, shifted, too", code(KEY_EQUALS, '+'), ctrl | shift, EditorCommand::ZoomIn,
     ElementKind::Tile},
    {"so does the keypad's plus", code(KEY_PLUS_PAD, '+'), ctrl, EditorCommand::ZoomIn,
     ElementKind::Tile},
    {"ctrl minus zooms out", code(KEY_MINUS, '-'), ctrl, EditorCommand::ZoomOut, ElementKind::Tile},
    {"a plain minus does nothing", code(KEY_MINUS, '-'), none, EditorCommand::None,
     ElementKind::Tile},
};

INSTANTIATE_TEST_SUITE_P(EditorInput, KeyCommands, testing::ValuesIn(keyRows),
                         caseName<KeyRow>);

// Every key of the table is reached by a chord of the rows above, giving
// the table's command, so no key is listed in the help that nothing types.
TEST(EditorKeys, EveryKeyOfTheTableIsReachedByItsChord) {
  const std::vector<KeyBinding>& table = editorKeys();
  std::vector<bool> reached(table.size(), false);
  for (const KeyRow& row : keyRows) {
    const int at = bindingFor(row.key, row.shifts);
    if (at < 0) continue;
    reached[at] = true;
    const EditorCommand command =
        row.selection && table[at].withSelection != EditorCommand::None
            ? table[at].withSelection
            : table[at].command;
    EXPECT_EQ(static_cast<int>(command), static_cast<int>(row.command)) << row.name;
  }
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(reached[i], !table[i].mouse) << table[i].chord;
  }
}

// No key code under any mix of modifiers is claimed by two rows.
TEST(EditorKeys, NoTwoRowsShareAChord) {
  const int shiftMixes[] = {0, shift, ctrl, ctrl | shift, KB_CAPSLOCK_FLAG,
                            shift | KB_CAPSLOCK_FLAG, KB_ALT_FLAG};
  const std::vector<KeyBinding>& table = editorKeys();
  for (int scan = 0; scan < KEY_MAX; ++scan) {
    for (int character = 0; character < 128; ++character) {
      for (int shifts : shiftMixes) {
        const int first = bindingFor(code(scan, character), shifts);
        if (first < 0) continue;
        int matching = 0;
        for (std::size_t i = 0; i < table.size(); ++i) {
          matching += bindingMatches(table[i], code(scan, character), shifts) ? 1 : 0;
        }
        ASSERT_EQ(matching, 1) << "scan " << scan << " character " << character << " shifts "
                               << shifts << ": " << table[first].chord;
      }
    }
  }
}

struct NudgeRow {
  const char* name;
  int key;
  int shifts;
  int dx, dy;
  bool pixel;
};

TEST(EditorKeys, ArrowsNudgeTheirWayByAStepOrAPixel) {
  const NudgeRow rows[] = {
      {"left", code(KEY_LEFT, 0), none, -1, 0, false},
      {"right", code(KEY_RIGHT, 0), none, 1, 0, false},
      {"up", code(KEY_UP, 0), none, 0, -1, false},
      {"down", code(KEY_DOWN, 0), none, 0, 1, false},
      {"shift left", code(KEY_LEFT, 0), shift, -1, 0, true},
      {"shift up", code(KEY_UP, 0), shift, 0, -1, true},
  };
  for (const NudgeRow& row : rows) {
    const KeyCommand got = commandForKey(row.key, row.shifts);
    EXPECT_EQ(static_cast<int>(got.command), static_cast<int>(EditorCommand::Nudge)) << row.name;
    EXPECT_EQ(got.dx, row.dx) << row.name;
    EXPECT_EQ(got.dy, row.dy) << row.name;
    EXPECT_EQ(got.pixel, row.pixel) << row.name;
  }
}


std::string sourceFile(const std::string& relative) {
  const char* root = std::getenv("PWE_SOURCE_DIR");
  std::ifstream in(std::string(root != nullptr ? root : ".") + "/" + relative);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines between a line equal to `from` and one equal to `to`;
// "(missing)" when either is not there.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t start = text.find("\n" + from + "\n");
  if (start == std::string::npos) return "(missing)";
  const std::size_t body = start + from.size() + 2;
  const std::size_t end = text.find("\n" + to + "\n", body - 1);
  if (end == std::string::npos) return "(missing)";
  return text.substr(body, end + 1 - body);
}

TEST(EditorKeys, TheAuthoringGuideListsTheTable) {
  const std::string guide = sourceFile("docs/level-authoring.md");
  EXPECT_EQ(between(guide, "<!-- pwe-edit --keys -->", "<!-- end of pwe-edit --keys -->"),
            keysMarkdown())
      << "docs/level-authoring.md: put the output of pwe-edit --keys between the markers";
}

TEST(EditorKeys, TheManualPageListsTheTable) {
  const std::string page = sourceFile("dist/man/pwe-edit.6.in");
  EXPECT_EQ(between(page, ".\\\" pwe-edit --keys=man", ".\\\" end of pwe-edit --keys=man"),
            keysManual())
      << "dist/man/pwe-edit.6.in: put the output of pwe-edit --keys=man between the markers";
}

// Every row of the table is in the help once, in the table's order, its
// lines never split between pages, and no page longer than asked.
TEST(EditorKeys, TheHelpListsEveryRowInPagesThatFit) {
  const int rows = 20;
  const std::vector<HelpPage> pages = helpPages(300, 200, rows);
  ASSERT_GT(pages.size(), 1u);
  std::vector<std::string> chords;
  for (const HelpPage& page : pages) {
    EXPECT_LE(static_cast<int>(page.size()), rows);
    ASSERT_FALSE(page.empty());
    EXPECT_TRUE(page.front().heading || !page.front().chord.empty())
        << "a page starts inside a row";
    for (const HelpLine& line : page) {
      if (!line.heading && !line.chord.empty()) chords.push_back(line.chord);
      EXPECT_LE(text_length(font, line.text.c_str()), 200);
    }
  }
  std::vector<std::string> expected;
  for (const KeyBinding& binding : editorKeys()) {
    if (!binding.mouse) expected.push_back(binding.chord);
  }
  for (const KeyBinding& binding : editorKeys()) {
    if (binding.mouse) expected.push_back(binding.chord);
  }
  EXPECT_EQ(chords, expected);
}

}  // namespace
