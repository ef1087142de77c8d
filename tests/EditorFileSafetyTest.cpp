// Nothing the editor opens is lost: hostile files and conditions, each with
// what the editor says and whether the file on disk is still the one the
// author had, byte for byte, until the author accepts the risk named.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "game/LevelFormat.h"
#include "shell/MediaTreeEntry.h"
#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FileBytes.h"
#include "tools/edit/EditorSignals.h"
#include "tools/edit/LevelFile.h"
#include "tests/support/FileText.h"

namespace {

// What the table compares: the bytes' hash, or "none" for no plain file.
std::string hashOf(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) return "none";
  return std::to_string(std::hash<std::string>{}(readFile(path)));
}

bool exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

const std::string level = "level.inf";
const std::string clean = EditorFixture::emptyLevel().str();

struct Scene {
  EditorFixture fixture;
  std::unique_ptr<LevelEditor> other;  // a second editor, when a case needs one
};

struct HostileCase {
  const char* name;
  std::function<void(Scene&)> make;       // the file or condition, before opening
  std::function<void(Scene&)> meanwhile;  // after opening, before saving
  int opened;             // what open() returns
  const char* openWords;  // in openError(), or in readOnlyReason(); "" for neither
  FileRisk risk;          // what holds the save back
  const char* saveWords;  // in saveError(): the question, or why the save failed
  bool saves;             // a save with no risk accepted goes ahead
};

void PrintTo(const HostileCase& row, std::ostream* out) { *out << row.name; }

void file(const std::string& text) { writeBytes(level, text); }

const HostileCase hostileCases[] = {
    {"byte order mark", [](Scene&) { file("\xEF\xBB\xBF" + clean); }, nullptr, 0,
     "line 1, column 1", FileRisk::Damaged, "saving replaces its 52 bytes with the", false},
    {"NUL byte", [](Scene&) { file(clean.substr(0, 10) + '\0' + clean.substr(10)); }, nullptr, 0,
     "did not read whole: line 2", FileRisk::Damaged, "did not read whole (line 2", false},
    {"number too long for its field", [](Scene&) { file("30000000000" + clean.substr(4)); },
     nullptr, 0, "line 1, column 1", FileRisk::Damaged, "the editor holds", false},
    {"truncated record",
     [](Scene&) { file(clean.substr(0, clean.size() - 12) + "1\n32 8 brick"); }, nullptr, 0,
     "did not read whole", FileRisk::Damaged, "saving replaces its", false},
    {"a README", [](Scene&) { file("To build the game, run scripts/build.\n"); }, nullptr, 0,
     "line 1, column 1", FileRisk::Damaged, "saving replaces its 38 bytes", false},
    {"a count no loader takes", [](Scene&) { file("100 0 0 0 0 0 0 0 0 0 0 0 -5\n"); }, nullptr,
     -1, "is not a level the game can load", FileRisk::None, "", false},
    {"a FIFO", [](Scene& s) { s.fixture.tree.makeFifo(level); }, nullptr, -1,
     "not a plain file", FileRisk::None, "", false},
    {"a directory", [](Scene& s) { s.fixture.tree.makeDirectory(level); }, nullptr, -1,
     "is a directory", FileRisk::None, "", false},
    {"open in another editor",
     [](Scene& s) {
       file(clean);
       s.other = std::make_unique<LevelEditor>(*s.fixture.game, *s.fixture.looks);
       s.other->open(level);
     },
     nullptr, 0, "is open in another editor (process ", FileRisk::Locked,
     "saving replaces the file under it", false},
    {"read-only file",
     [](Scene&) {
       file(clean);
       chmod(level.c_str(), 0444);
     },
     nullptr, 0, "is a read-only file", FileRisk::ReadOnlyFile, "replaces its 49 bytes", false},
    {"changed on disk", [](Scene&) { file(clean); }, [](Scene&) { file(clean + "\n"); }, 0, "",
     FileRisk::ChangedOnDisk, "(49 bytes then, 50 bytes now)", false},
    {"made by someone else meanwhile", nullptr, [](Scene&) { file(clean); }, 1, "",
     FileRisk::ChangedOnDisk, "already exists (49 bytes)", false},
    {"touched but unchanged", [](Scene&) { file(clean); },
     [](Scene&) {
       const timespec later[2] = {{2000000000, 0}, {2000000000, 0}};
       utimensat(AT_FDCWD, level.c_str(), later, 0);
     },
     0, "", FileRisk::None, "", true},
    {"hard link", [](Scene&) { file(clean); }, [](Scene&) { EXPECT_EQ(link(level.c_str(), "other.inf"), 0); }, 0,
     "", FileRisk::HardLinks, "has 2 names (hard links)", false},
    {"a FIFO in its place since", [](Scene&) { file(clean); },
     [](Scene& s) { s.fixture.tree.makeFifo(level); }, 0, "", FileRisk::None,
     "not a plain file", false},
    {"a link in the backup's place",
     [](Scene&) {
       file(clean);
       writeBytes("precious.txt", "mine");
       EXPECT_EQ(symlink("precious.txt", (level + "~").c_str()), 0);
     },
     nullptr, 0, "", FileRisk::None, "cannot keep the previous file as level.inf~", false},
    {"its folder gone", [](Scene& s) { s.fixture.tree.makeDirectory("gone"); },
     [](Scene& s) { s.fixture.tree.remove("gone"); }, 1, "", FileRisk::None,
     "No such file or directory", false},
};

class HostileFile : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileFile, IsNeverReplacedUnasked) {
  const HostileCase& row = GetParam();
  Scene scene;
  LevelEditor& editor = *scene.fixture.editor;
  // The folder case edits a file inside the folder.
  const std::string path = std::string(row.name) == "its folder gone" ? "gone/" + level : level;
  if (row.make) row.make(scene);
  const std::string before = hashOf(path);
  ASSERT_EQ(editor.open(path), row.opened) << editor.openError();
  if (row.opened < 0) {
    EXPECT_NE(editor.openError().find(row.openWords), std::string::npos) << editor.openError();
    EXPECT_EQ(hashOf(path), before);
    return;
  }
  EXPECT_NE(editor.readOnlyReason().find(row.openWords), std::string::npos)
      << editor.readOnlyReason();
  if (row.meanwhile) row.meanwhile(scene);
  const std::string seen = hashOf(path);
  editor.place(200, 100);
  if (row.saves) {
    EXPECT_EQ(editor.save(), 0) << editor.saveError();
    return;
  }
  ASSERT_EQ(editor.save(), -1);
  EXPECT_EQ(editor.saveRisk(), row.risk);
  EXPECT_NE(editor.saveError().find(row.saveWords), std::string::npos) << editor.saveError();
  EXPECT_EQ(hashOf(path), seen) << "the file changed unasked";
  EXPECT_TRUE(editor.modified());
  if (row.risk == FileRisk::None) return;
  // Accepted, the risk no longer holds the save back: the file becomes the
  // editor's level, and the file as it was is the backup.
  ASSERT_EQ(editor.save(~0u), 0) << editor.saveError();
  EXPECT_EQ(readFile(path), writeLevel(editor.level()));
  EXPECT_EQ(hashOf(path + "~"), seen);
}

INSTANTIATE_TEST_SUITE_P(Editor, HostileFile, testing::ValuesIn(hostileCases),
                         caseName<HostileCase>);

TEST(EditorFileSafety, SaveThroughALinkAndNeverThroughALeftoverTemporaryName) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  writeBytes("real.inf", clean);
  ASSERT_EQ(symlink("real.inf", level.c_str()), 0);
  writeBytes("victim.txt", "untouched");
  ASSERT_EQ(symlink("victim.txt", (level + ".tmp").c_str()), 0);
  ASSERT_EQ(editor.open(level), 0);
  editor.place(40, 13);
  ASSERT_EQ(editor.save(), 0) << editor.saveError();
  struct stat link {};
  ASSERT_EQ(lstat(level.c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  EXPECT_EQ(readFile("real.inf"), writeLevel(editor.level()));
  EXPECT_EQ(readFile("victim.txt"), "untouched");
  // Both names lead to one lock.
  LevelEditor second(*fixture.game, *fixture.looks);
  ASSERT_EQ(second.open("real.inf"), 0);
  EXPECT_EQ(second.readOnly(), FileRisk::Locked);
}

TEST(EditorFileSafety, KeepTheBackupOfTheFirstSaveOnlyAndNoneWhenTurnedOff) {
  for (const bool backups : {true, false}) {
    EditorFixture fixture;
    set_config_int("editor", "backups", backups ? 1 : 0);
    LevelEditor editor(*fixture.game, *fixture.looks);
    set_config_string("editor", "backups", nullptr);
    writeBytes(level, clean);
    ASSERT_EQ(editor.open(level), 0);
    editor.place(40, 13);
    ASSERT_EQ(editor.save(), 0) << editor.saveError();
    const std::string first = readFile(level);
    const std::string note = editor.saveNote();
    editor.place(80, 13);
    ASSERT_EQ(editor.save(), 0);
    if (backups) {
      EXPECT_EQ(readFile(level + "~"), clean) << "the second save replaced the backup";
      EXPECT_EQ(note, "the previous file is kept as level.inf~");
    } else {
      EXPECT_FALSE(exists(level + "~"));
    }
    EXPECT_NE(readFile(level), first);
  }
}

// A write the file system refuses (here a file size limit, as a full disk
// would) says why, in strerror's words, and leaves the file as it was.
TEST(EditorFileSafety, SayWhyASaveOrAnAutosaveFailed) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  writeBytes(level, clean);
  ASSERT_EQ(editor.open(level), 0);
  editor.place(40, 13);
  const std::string before = hashOf(level);
  signal(SIGXFSZ, SIG_IGN);
  rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit tight = old;
  tight.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &tight);
  const int saved = editor.save(~0u);
  editor.autosaveIfDue(0);
  const bool autosaved = editor.autosaveIfDue(100);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(saved, -1);
  EXPECT_NE(editor.saveError().find("File too large"), std::string::npos) << editor.saveError();
  EXPECT_EQ(hashOf(level), before);
  EXPECT_FALSE(autosaved);
  EXPECT_NE(editor.autosaveError().find("File too large"), std::string::npos)
      << editor.autosaveError();
}

// An autosave copy, newer than the file, as the editor finds it on opening.
struct RecoveryCase {
  const char* name;
  std::function<void(Scene&)> makeCopy;
  bool offered;
  const char* noteWords;  // in recoveryNote()
  const char* keptAs;     // where the copy is afterwards
};

void PrintTo(const RecoveryCase& row, std::ostream* out) { *out << row.name; }

const std::string copy = level + ".autosave";

void copyOf(const std::string& text) { writeBytes(copy, text); }

const RecoveryCase recoveryCases[] = {
    {"whole", [](Scene&) { copyOf(clean + "\n"); }, true, "", "level.inf.autosave"},
    {"byte order mark", [](Scene&) { copyOf("\xEF\xBB\xBF" + clean); }, false,
     "was not offered (line 1, column 1: ", "level.inf.autosave.damaged"},
    {"a README", [](Scene&) { copyOf("notes\n"); }, false, "; it is kept as level.inf.autosave.damaged",
     "level.inf.autosave.damaged"},
    {"cut short", [](Scene&) { copyOf(clean.substr(0, 20)); }, false, "was not offered",
     "level.inf.autosave.damaged"},
    {"a FIFO", [](Scene& s) { s.fixture.tree.makeFifo(copy); }, false, "not a plain file",
     "level.inf.autosave.damaged"},
    {"damaged again",
     [](Scene&) {
       writeBytes(copy + ".damaged", "the first");
       copyOf("notes\n");
     },
     false, "kept as level.inf.autosave.damaged.2", "level.inf.autosave.damaged.2"},
};

class AutosaveFound : public testing::TestWithParam<RecoveryCase> {};

TEST_P(AutosaveFound, IsOfferedOnlyWholeAndNeverLost) {
  const RecoveryCase& row = GetParam();
  Scene scene;
  LevelEditor& editor = *scene.fixture.editor;
  file(clean);
  const timespec old[2] = {{1000, 0}, {1000, 0}};
  utimensat(AT_FDCWD, level.c_str(), old, 0);
  row.makeCopy(scene);
  const std::string before = hashOf(copy);
  const bool fifo = before == "none";
  ASSERT_EQ(editor.open(level), 0);
  EXPECT_EQ(editor.recoveryOffered(), row.offered);
  EXPECT_NE(editor.recoveryNote().find(row.noteWords), std::string::npos) << editor.recoveryNote();
  EXPECT_EQ(editor.recover(), row.offered ? 0 : -1);
  EXPECT_EQ(editor.modified(), row.offered) << "shown as recovered";
  if (fifo) {
    EXPECT_TRUE(exists(row.keptAs));
  } else {
    EXPECT_EQ(hashOf(row.keptAs), before);
  }
  if (std::string(row.name) == "damaged again") {
    EXPECT_EQ(readFile(copy + ".damaged"), "the first");
  }
}

INSTANTIATE_TEST_SUITE_P(Editor, AutosaveFound, testing::ValuesIn(recoveryCases),
                         caseName<RecoveryCase>);

TEST(EditorFileSafety, KeepADeclinedCopyUntilTheNextSave) {
  EditorFixture fixture;
  LevelEditor& editor = *fixture.editor;
  file(clean);
  copyOf(clean + "\n");
  const std::string before = hashOf(copy);
  ASSERT_EQ(editor.open(level), 0);
  ASSERT_TRUE(editor.recoveryOffered());
  editor.declineRecovery();
  EXPECT_FALSE(exists(copy));
  EXPECT_EQ(hashOf(copy + ".declined"), before);
  ASSERT_EQ(editor.open(level), 0);
  EXPECT_FALSE(editor.recoveryOffered());
  editor.place(40, 13);
  ASSERT_EQ(editor.save(), 0);
  EXPECT_FALSE(exists(copy + ".declined"));
}

// A second editor on a file writes its autosave copies under a name of its
// own and never takes, offers or removes the first one's.
TEST(EditorFileSafety, GiveEachEditorAnAutosaveOfItsOwn) {
  EditorFixture fixture;
  file(clean);
  LevelEditor first(*fixture.game, *fixture.looks);
  ASSERT_EQ(first.open(level), 0);
  first.place(40, 13);
  first.autosaveIfDue(0);
  ASSERT_TRUE(first.autosaveIfDue(30));
  const std::string firstCopy = hashOf(first.autosavePath());
  LevelEditor& second = *fixture.editor;
  ASSERT_EQ(second.open(level), 0);
  EXPECT_EQ(second.readOnly(), FileRisk::Locked);
  EXPECT_FALSE(second.recoveryOffered());
  EXPECT_NE(second.autosavePath(), first.autosavePath());
  second.place(200, 100);
  second.autosaveIfDue(0);
  ASSERT_TRUE(second.autosaveIfDue(30));
  EXPECT_TRUE(exists(second.autosavePath()));
  second.discardAutosave();
  EXPECT_FALSE(exists(second.autosavePath()));
  EXPECT_EQ(hashOf(first.autosavePath()), firstCopy);
}

// A leave signal ends the editor as the signal would, with the unsaved
// level in the autosave copy and the scratch media folder gone; with
// nothing unsaved it writes nothing.
TEST(EditorFileSafety, WriteTheAutosaveOnALeaveSignal) {
  MediaTree tree;
  tree.makeDirectory("elsewhere");
  const std::string autosave = tree.root() + "/level.inf.autosave";
  const std::pair<int, std::string> rows[] = {
      {SIGTERM, "unsaved, written on SIGTERM\n"}, {SIGHUP, "unsaved, written on SIGHUP\n"},
      {SIGINT, "unsaved, written on SIGINT\n"}, {SIGTERM, ""}};
  for (const auto& [leave, text] : rows) {
    std::remove(autosave.c_str());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (!enterMediaTree(tree.root() + "/elsewhere")) _exit(2);
      char scratch[4096] = "";
      if (getcwd(scratch, sizeof scratch) == nullptr) _exit(2);
      writeBytes(tree.root() + "/scratch.txt", scratch);
      keepForLeaveSignals(autosave, text);
      watchLeaveSignals();
      raise(leave);
      _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), leave);
    const std::string scratch = readFile(tree.root() + "/scratch.txt");
    ASSERT_FALSE(scratch.empty());
    EXPECT_FALSE(exists(scratch)) << "the scratch media folder outlived signal " << leave;
    if (text.empty()) {
      EXPECT_FALSE(exists(autosave));
    } else {
      EXPECT_EQ(readFile(autosave), text) << "signal " << leave;
    }
  }
}

}  // namespace
