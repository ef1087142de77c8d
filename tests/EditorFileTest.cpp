// The editor's files: what a session of edits saves, saving unchanged
// levels byte for byte, a save that replaces the file whole or not at all,
// values the loader would refuse, and the autosave copy offered again.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/LevelFile.h"
#include "tests/support/FileText.h"

namespace {

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

const char* const emptyHeader = "3000\n10 10 0\n400 10 0\n10 5\n100 299 1\n";

struct SaveRow {
  const char* name;
  const char* script;
  const char* file;  // after the header
};

void PrintTo(const SaveRow& row, std::ostream* out) { *out << row.name; }

class SavedSession : public testing::TestWithParam<SaveRow> {};

TEST_P(SavedSession, WritesTheFileExpected) {
  const SaveRow& row = GetParam();
  EditorFixture fixture;
  fixture.tree.writeLevel("edited.inf", EditorFixture::emptyLevel().str());
  LevelEditor& editor = *fixture.editor;
  ASSERT_EQ(editor.open("media/edited.inf"), 0);
  perform(editor, row.script);
  ASSERT_EQ(editor.save(), 0) << editor.saveError();
  EXPECT_FALSE(editor.modified());
  EXPECT_EQ(readFile("media/edited.inf"), std::string(emptyHeader) + row.file);
  EXPECT_FALSE(exists("media/edited.inf.tmp"));
}

const SaveRow saveRows[] = {
    {"nothing done", "", "\n0\n\n0\n\n0\n\n0\n\n0\n\n0\n"},
    {"one of each in file order", "tool 6; click 0 200; tool 5; click 40 100; tool 4; click 40 100; "
     "tool 3; click 5 5; tool 2; click 70 50; tool 1; click 40 13",
     "\n1\n32 8 brick brick_clear 1 10\n\n1\n64 48 80 rungs\n\n1\n0 0 80 16 1 step\n"
     "\n1\n48 103 0 -80 176 0.5 1 0 blob 600 100\n\n1\n32 96 gem 100\n"
     "\n1\n0 176 pad pad_cool 1\n"},
    {"placed, erased and undone", "click 0 0; click 40 0; erase 40 0; undo; undo",
     "\n1\n0 0 brick brick_clear 1 10\n\n0\n\n0\n\n0\n\n0\n\n0\n"},
    {"a floor painted", "paint 288 208 352 208",
     "\n3\n288 208 brick brick_clear 1 10\n320 208 brick brick_clear 1 10\n"
     "352 208 brick brick_clear 1 10\n\n0\n\n0\n\n0\n\n0\n\n0\n"},
};

INSTANTIATE_TEST_SUITE_P(Editor, SavedSession, testing::ValuesIn(saveRows), caseName<SaveRow>);

// The start line of the header moves with the start.
TEST(EditorFiles, SaveTheStartInTheHeader) {
  EditorFixture fixture;
  fixture.tree.writeLevel("edited.inf", EditorFixture::emptyLevel().str());
  LevelEditor& editor = *fixture.editor;
  ASSERT_EQ(editor.open("media/edited.inf"), 0);
  perform(editor, "tool 7; click 300 200");
  ASSERT_EQ(editor.save(), 0);
  EXPECT_EQ(readFile("media/edited.inf").substr(0, 37),
            "3000\n10 10 0\n400 10 0\n10 5\n304 207 1\n");
}

TEST(EditorFiles, SaveEveryShippedLevelUnchangedByteForByte) {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  EditorFixture fixture;
  for (int n = 1; n <= 4; ++n) {
    const std::string name = "level" + std::to_string(n) + ".inf";
    const std::string shipped = readFile(std::string(source) + "/media/" + name);
    ASSERT_FALSE(shipped.empty()) << name;
    writeFile("copy.inf", shipped);
    LevelEditor& editor = *fixture.editor;
    ASSERT_EQ(editor.open("copy.inf"), 0) << name;
    EXPECT_FALSE(editor.modified());
    ASSERT_EQ(editor.save(), 0) << editor.saveError();
    EXPECT_EQ(readFile("copy.inf"), shipped) << name;
  }
}

TEST(EditorFiles, ReplaceTheFileWholeRatherThanWriteIntoIt) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  editor.setPath("level.inf");
  ASSERT_EQ(editor.save(), 0);
  const std::string first = readFile("level.inf");
  // A second name for the file as it was: writing into the file would
  // change what it shows too.
  ASSERT_EQ(link("level.inf", "old.inf"), 0);
  editor.place(40, 13);
  // The author is told first that the other name keeps the old text.
  ASSERT_EQ(editor.save(), -1);
  ASSERT_EQ(editor.saveRisk(), FileRisk::HardLinks);
  ASSERT_EQ(editor.save(riskBit(FileRisk::HardLinks)), 0);
  EXPECT_EQ(readFile("old.inf"), first);
  EXPECT_NE(readFile("level.inf"), first);
}

TEST(EditorFiles, SaveBesideWhatAnEarlierSaveLeftBehind) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  fixture.tree.makeDirectory("locked");
  editor.setPath("locked/level.inf");
  ASSERT_EQ(editor.save(), 0);
  const std::string empty = readFile("locked/level.inf");
  // A leftover where older saves put their temporary file: the save takes
  // a fresh name of its own and leaves the leftover alone.
  fixture.tree.makeDirectory("locked/level.inf.tmp");
  editor.place(40, 13);
  ASSERT_EQ(editor.save(), 0) << editor.saveError();
  EXPECT_FALSE(editor.modified());
  EXPECT_NE(readFile("locked/level.inf"), empty);
  EXPECT_TRUE(std::filesystem::is_directory("locked/level.inf.tmp"));
}

TEST(EditorFiles, NeverHoldWhatTheLoaderRefuses) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  LevelData tooRich = editor.level();
  tooRich.tiles[0].points = LevelData::maxNumber + 1;
  const unsigned revision = editor.revision();
  EXPECT_EQ(editor.replaceLevel(tooRich), -1);
  EXPECT_EQ(editor.revision(), revision);
  EXPECT_EQ(editor.level().tiles[0].points, 10);
  std::string error;
  EXPECT_EQ(writeLevelFile("rich.inf", tooRich, error), -1);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(exists("rich.inf"));
}

TEST(EditorFiles, OpenWhatExistsStartWhatDoesNotRefuseWhatCannotBeALevel) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  EXPECT_EQ(editor.open("new.inf"), 1);
  EXPECT_EQ(editor.path(), "new.inf");
  EXPECT_FALSE(editor.modified());
  EXPECT_EQ(editor.level().tiles.size(), 20u);  // the new level's floor row
  writeFile("bad.inf", "100 0 0 0 0 0 0 0 0 0 0 0 -5\n");  // a negative tile count
  editor.place(40, 13);
  EXPECT_EQ(editor.open("bad.inf"), -1);
  EXPECT_EQ(editor.path(), "new.inf");
  EXPECT_TRUE(editor.modified());  // nothing of the session was lost
  EXPECT_EQ(editor.save(), 0);
  EXPECT_TRUE(exists("new.inf"));
}

// A new level as the author finds it: it draws, and it plays.
TEST(EditorFiles, StartANewLevelTheGameCanPlay) {
  EditorFixture fixture;
  const LevelData& level = fixture.editor->level();
  EXPECT_TRUE(fixture.editor->placementError().empty());
  EXPECT_EQ(level.tileCount, 20);
  EXPECT_EQ(level.tiles.front().y, 472);  // the bottom row of a 480-row screen
  EXPECT_EQ(level.start_y, 471);
  EXPECT_EQ(level.score_x, 640 - 200 - 8);  // the score panel of the tree is 200 wide
  EXPECT_TRUE(fixture.game->player.y == 471.0f);
  for (int i = 0; i < 100; ++i) ASSERT_FALSE(fixture.game->tick()) << "tick " << i;
  EXPECT_TRUE(fixture.game->player.alive);
  fixture.editor->restoreGame();
}

struct AutosaveRow {
  const char* name;
  std::vector<double> clock;   // calls of autosaveIfDue, after one change
  std::vector<bool> written;
};

void PrintTo(const AutosaveRow& row, std::ostream* out) { *out << row.name; }

class Autosave : public testing::TestWithParam<AutosaveRow> {};

TEST_P(Autosave, WritesEveryThirtySecondsWhileUnsaved) {
  const AutosaveRow& row = GetParam();
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  editor.setPath("level.inf");
  editor.place(40, 13);
  for (size_t i = 0; i < row.clock.size(); ++i) {
    const double now = row.clock[i];
    if (now < 0) {
      editor.place(-static_cast<int>(now), 100);  // another change at this step
      continue;
    }
    EXPECT_EQ(editor.autosaveIfDue(now), row.written[i]) << "at " << now;
  }
}

const AutosaveRow autosaveRows[] = {
    {"not before thirty seconds", {0, 10, 29.9}, {false, false, false}},
    {"at thirty seconds", {5, 35}, {false, true}},
    {"not again without a change", {0, 30, 61, 100}, {false, true, false, false}},
    {"again thirty seconds after the last", {0, 30, -200, 45, 60}, {false, true, false, false, true}},
};

INSTANTIATE_TEST_SUITE_P(Editor, Autosave, testing::ValuesIn(autosaveRows),
                         caseName<AutosaveRow>);

TEST(EditorFiles, OfferTheAutosaveWhenTheLevelIsOpenedAgain) {
  EditorFixture fixture;
  fixture.tree.writeLevel("level.inf", EditorFixture::emptyLevel().str());
  const std::string path = "media/level.inf";
  std::string autosaved;
  {
    LevelEditor editor(*fixture.game, *fixture.looks);
    ASSERT_EQ(editor.open(path), 0);
    EXPECT_FALSE(editor.recoveryOffered());
    editor.place(40, 13);
    editor.autosaveIfDue(0);
    ASSERT_TRUE(editor.autosaveIfDue(30));
    autosaved = levelSummary(editor.level());
  }  // the editor ends without saving, as in a crash
  LevelEditor editor(*fixture.game, *fixture.looks);
  ASSERT_EQ(editor.open(path), 0);
  ASSERT_TRUE(editor.recoveryOffered());
  ASSERT_EQ(editor.recover(), 0);
  EXPECT_EQ(levelSummary(editor.level()), autosaved);
  EXPECT_TRUE(editor.modified());
  EXPECT_TRUE(editor.undo());  // back to the file as it was
  EXPECT_EQ(levelSummary(editor.level()), "start 100 299\n");
  EXPECT_TRUE(editor.redo());
  ASSERT_EQ(editor.save(), 0);
  EXPECT_FALSE(exists(editor.autosavePath()));
  ASSERT_EQ(editor.open(path), 0);
  EXPECT_FALSE(editor.recoveryOffered());
}

TEST(EditorFiles, OfferNoAutosaveOlderThanTheFileNorOneDeclined) {
  EditorFixture fixture;
  fixture.tree.writeLevel("level.inf", EditorFixture::emptyLevel().str());
  writeFile("media/level.inf.autosave", readFile("media/level.inf"));
  LevelEditor& editor = *fixture.editor;
  ASSERT_EQ(editor.open("media/level.inf"), 0);
  EXPECT_TRUE(editor.recoveryOffered());
  editor.discardAutosave();
  EXPECT_FALSE(exists("media/level.inf.autosave"));
  // An autosave the file was saved after is stale.
  writeFile("media/level.inf.autosave", readFile("media/level.inf"));
  const timespec old[2] = {{1000, 0}, {1000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, "media/level.inf.autosave", old, 0), 0);
  ASSERT_EQ(editor.open("media/level.inf"), 0);
  EXPECT_FALSE(editor.recoveryOffered());
  EXPECT_EQ(editor.recover(), -1);
}

}  // namespace
