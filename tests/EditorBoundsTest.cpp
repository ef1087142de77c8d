// The loader's bounds in the editor: an edit that would pass one is
// refused as it is made, naming the bound; a save or an autosave of a
// level the game would refuse names what it would refuse and leaves
// nothing behind; and the autosave copy an editor without the lock left
// is offered once that editor is gone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <ostream>
#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FileBytes.h"
#include "tests/support/FileText.h"
#include "tools/edit/LevelFile.h"

namespace {

bool exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

struct RefusalRow {
  const char* name;
  int tiles;            // in the level before the script, all in one place
  const char* script;   // as EditorFixture's perform reads it
  const char* refusal;  // words in takeRefusal()
  int tilesAfter;
};

void PrintTo(const RefusalRow& row, std::ostream* out) { *out << row.name; }

const RefusalRow refusalRows[] = {
    {"a tile placed past the bound", 10000, "tool 1; click 300 100",
     "Not placed: 10001 tiles, more than the 10000 a level may hold", 10000},
    {"a paint keeps what fits", 9999, "tool 1; paint 300 100 420 100",
     "Not placed: 10001 tiles, more than the 10000 a level may hold", 10000},
    {"a fill keeps what fits", 9998, "tool 1; fill 300 100 420 100",
     "Not placed: 10001 tiles, more than the 10000 a level may hold", 10000},
    {"a paste past the bound", 9000, "select; all; copy; paste 300 200",
     "Not done (paste 9000 tiles): 18000 tiles, more than the 10000 a level may hold", 9000},
    {"a place within the bound", 9999, "tool 1; click 300 100", "", 10000},
};

class EditsAtTheBound : public testing::TestWithParam<RefusalRow> {};

TEST_P(EditsAtTheBound, AreRefusedAsTheyAreMade) {
  const RefusalRow& row = GetParam();
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  LevelData level = editor.level();
  TileSpec tile;
  tile.x = 0;
  tile.y = 400;
  tile.tile_name = tile.cleared_name = "brick";
  level.tiles.assign(static_cast<std::size_t>(row.tiles), tile);
  level.tileCount = row.tiles;
  ASSERT_EQ(editor.replaceLevel(level), 0);
  editor.takeRefusal();
  perform(editor, row.script);
  EXPECT_EQ(editor.takeRefusal(), row.refusal);
  EXPECT_EQ(static_cast<int>(editor.level().tiles.size()), row.tilesAfter);
  std::string error;
  EXPECT_EQ(writeLevelFile("saved.inf", editor.level(), error), 0) << error;
}

INSTANTIATE_TEST_SUITE_P(Editor, EditsAtTheBound, testing::ValuesIn(refusalRows),
                         caseName<RefusalRow>);

struct BeyondRow {
  const char* name;
  std::function<void(LevelData&)> make;
  const char* words;  // the reason, after what the game would do
};

void PrintTo(const BeyondRow& row, std::ostream* out) { *out << row.name; }

const BeyondRow beyondRows[] = {
    {"a count", [](LevelData& l) { l.items.resize(l.itemCount = 10001); },
     "10001 items, more than the 10000 a level may hold"},
    {"a real number",
     [](LevelData& l) { l.enemies.resize(l.enemyCount = 2), l.enemies[1].speed = 2e6f; },
     "enemy 2's speed 2000000 is out of the range from -1000000 to 1000000"},
    {"a number of the header", [](LevelData& l) { l.countdown_x = -1000001; },
     "the level's countdown_x -1000001 is out of the range from -1000000 to 1000000"},
};

class LevelsBeyondTheBounds : public testing::TestWithParam<BeyondRow> {};

TEST_P(LevelsBeyondTheBounds, AreNeverWrittenAndTheReasonNamesTheBound) {
  const BeyondRow& row = GetParam();
  EditorFixture fixture;
  LevelData level = fixture.editor->level();
  row.make(level);
  std::string error;
  EXPECT_EQ(writeLevelFile("beyond.inf", level, error), -1);
  EXPECT_EQ(error, std::string("the game would refuse the level: ") + row.words);
  EXPECT_FALSE(exists("beyond.inf"));
}

INSTANTIATE_TEST_SUITE_P(Editor, LevelsBeyondTheBounds, testing::ValuesIn(beyondRows),
                         caseName<BeyondRow>);

// A first save the file system stops (a size limit, as a full disk would)
// keeps no backup of a file it did not replace.
TEST(EditorBounds, KeepNoBackupForASaveThatWroteNothing) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  const std::string clean = EditorFixture::emptyLevel().str();
  writeBytes("level.inf", clean);
  ASSERT_EQ(editor.open("level.inf"), 0);
  editor.place(40, 13);
  signal(SIGXFSZ, SIG_IGN);
  rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit tight = old;
  tight.rlim_cur = clean.size() + 4;  // room for the old text, not the new
  setrlimit(RLIMIT_FSIZE, &tight);
  const int saved = editor.save();
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(saved, -1);
  EXPECT_EQ(readFile("level.inf"), clean);
  EXPECT_FALSE(exists("level.inf~"));
  ASSERT_EQ(editor.save(), 0) << editor.saveError();
  EXPECT_EQ(readFile("level.inf~"), clean);
}

// Sets or clears a file's immutable flag, which refuses even the owner's
// rename over it; false where the file system or the process may not.
bool setImmutable(const char* path, bool on) {
  const int fd = open(path, O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  close(fd);
  return done;
}

// A save whose new text was written but could not take the file's place
// went no further: the backup it kept is taken back, and a backup an
// earlier session left is as it was.
TEST(EditorBounds, TakeBackTheBackupOfASaveTheRenameRefused) {
  for (const bool earlierBackup : {false, true}) {
    SCOPED_TRACE(earlierBackup ? "an earlier backup" : "no earlier backup");
    EditorFixture fixture;
    LevelEditor& editor = *fixture.editor;
    const std::string clean = EditorFixture::emptyLevel().str();
    writeBytes("level.inf", clean);
    if (earlierBackup) writeBytes("level.inf~", "an earlier session's backup\n");
    ASSERT_EQ(editor.open("level.inf"), 0);
    editor.place(40, 13);
    if (!setImmutable("level.inf", true)) GTEST_SKIP() << "no immutable files here";
    // Root may write to any file, yet not rename over an immutable one.
    int saved = editor.save();
    if (saved != 0 && editor.saveRisk() != FileRisk::None) {
      saved = editor.save(riskBit(editor.saveRisk()));
    }
    setImmutable("level.inf", false);
    EXPECT_EQ(editor.saveRisk(), FileRisk::None);
    EXPECT_EQ(saved, -1);
    EXPECT_EQ(readFile("level.inf"), clean);
    if (earlierBackup) {
      EXPECT_EQ(readFile("level.inf~"), "an earlier session's backup\n");
    } else {
      EXPECT_FALSE(exists("level.inf~"));
    }
    ASSERT_EQ(editor.save(), 0) << editor.saveError();
    EXPECT_EQ(readFile("level.inf~"), clean);
  }
}

// A process id no process has: a child's, once reaped.
pid_t endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

struct OrphanRow {
  const char* name;
  std::function<std::string()> suffix;  // after level.inf.autosave.
  bool older;                           // than the file
  bool offered;
};

void PrintTo(const OrphanRow& row, std::ostream* out) { *out << row.name; }

const OrphanRow orphanRows[] = {
    {"an editor that ended", [] { return std::to_string(endedProcess()); }, false, true},
    {"an editor still running", [] { return std::to_string(getppid()); }, false, false},
    {"older than the file", [] { return std::to_string(endedProcess()); }, true, false},
    {"no process id", [] { return std::string("12ab"); }, false, false},
};

class OrphanedAutosave : public testing::TestWithParam<OrphanRow> {};

TEST_P(OrphanedAutosave, IsOfferedOnceItsEditorIsGone) {
  const OrphanRow& row = GetParam();
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  writeBytes("level.inf", EditorFixture::emptyLevel().str());
  const std::string copy = "level.inf.autosave." + row.suffix();
  LevelText edited = EditorFixture::emptyLevel();
  edited.start = "200 299 1";
  writeBytes(copy, edited.str());
  const timespec old[2] = {{1000, 0}, {1000, 0}};
  utimensat(AT_FDCWD, (row.older ? copy : std::string("level.inf")).c_str(), old, 0);
  ASSERT_EQ(editor.open("level.inf"), 0);
  EXPECT_EQ(editor.recoveryOffered(), row.offered);
  EXPECT_EQ(editor.recover(), row.offered ? 0 : -1);
  EXPECT_EQ(editor.level().start_x, row.offered ? 200 : 100);
  EXPECT_EQ(exists(copy), !row.offered) << "a copy not offered is left alone";
}

INSTANTIATE_TEST_SUITE_P(Editor, OrphanedAutosave, testing::ValuesIn(orphanRows),
                         caseName<OrphanRow>);

}  // namespace
