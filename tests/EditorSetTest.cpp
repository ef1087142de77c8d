// The editor in a level set: the set's own looks are the editor's, and a
// level saved new into the set's folder joins its list, while a list the
// editor cannot read whole and clean, or may not replace, is left exactly
// as the author had it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shell/LevelSet.h"
#include "shell/MediaOverlay.h"
#include "tests/support/CaseName.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/FileBytes.h"
#include "tests/support/FileText.h"
#include "tools/edit/SetList.h"

namespace fs = std::filesystem;

namespace {

const std::string list = "set/set.cfg";
const std::string level = EditorFixture::emptyLevel().str();

// The list as the table compares it: what stands there, link or not, and
// the bytes it leads to.
std::string described(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return "nothing";
  std::string kind = S_ISLNK(info.st_mode) ? "link to " + fs::read_symlink(path).string() + ": " : "";
  if (fs::is_regular_file(path)) return kind + "file " + readFile(path);
  return kind + (fs::is_directory(path) ? "directory" : fs::exists(path) ? "special" : "dangling");
}

struct JoinCase {
  const char* name;
  std::function<void(MediaTree&)> make;  // beside set/a.inf and the saved set/<file>
  const char* file;                      // the level just saved new
  const char* after;                     // the list's bytes after; nullptr: as it was
  const char* words;                     // in the note; "" for none
};

void PrintTo(const JoinCase& row, std::ostream* out) { *out << row.name; }

void listing(MediaTree& tree, const std::string& text) { tree.writeText(list, text); }

const JoinCase joinCases[] = {
    {"a list gets the line at its end, its comments kept",
     [](MediaTree& t) { listing(t, "# mine\ntitle = T\nlevel = a.inf\n"); }, "new.inf",
     "# mine\ntitle = T\nlevel = a.inf\nlevel = new.inf\n", "new.inf joins the levels of set.cfg"},
    {"a list without its last newline",
     [](MediaTree& t) { listing(t, "level = a.inf"); }, "new.inf",
     "level = a.inf\nlevel = new.inf\n", "joins"},
    {"a list naming a level of the base tree",
     [](MediaTree& t) { listing(t, "level = level1.inf\n"); }, "new.inf",
     "level = level1.inf\nlevel = new.inf\n", "joins"},
    {"a name the list has already",
     [](MediaTree& t) { listing(t, "level = new.inf\nlevel = a.inf\n"); }, "new.inf", nullptr, ""},
    {"a file that is no level", [](MediaTree& t) { listing(t, "level = a.inf\n"); }, "notes.txt",
     nullptr, ""},
    {"player.inf is no level", [](MediaTree& t) { listing(t, "level = a.inf\n"); }, "player.inf",
     nullptr, ""},
    {"an unknown key", [](MediaTree& t) { listing(t, "levle = a.inf\n"); }, "new.inf", nullptr,
     "set.cfg is left as it was (set/set.cfg:1: unknown key 'levle'"},
    {"a level it names is gone", [](MediaTree& t) { listing(t, "level = gone.inf\n"); },
     "new.inf", nullptr, "no level file gone.inf"},
    {"not UTF-8", [](MediaTree& t) { listing(t, "level = a.inf\n# \xff\n"); }, "new.inf",
     nullptr, "not UTF-8"},
    {"longer than any list",
     [](MediaTree& t) { listing(t, "level = a.inf\n#" + std::string(maxSetListBytes, 'x') + "\n"); },
     "new.inf", nullptr, "is longer than"},
    {"a read-only list",
     [](MediaTree& t) {
       listing(t, "level = a.inf\n");
       chmod(list.c_str(), 0444);
     },
     "new.inf", nullptr, "set/set.cfg is read-only"},
    {"a list with another name",
     [](MediaTree& t) {
       listing(t, "level = a.inf\n");
       fs::create_hard_link(list, "elsewhere.cfg");
     },
     "new.inf", nullptr, "hard links"},
    {"a FIFO", [](MediaTree& t) { t.makeFifo(list); }, "new.inf", nullptr, "not a plain file"},
    {"a directory", [](MediaTree& t) { t.makeDirectory(list); }, "new.inf", nullptr,
     "is left as it was"},
    {"a link to nothing", [](MediaTree&) { fs::create_symlink("../gone.cfg", list); }, "new.inf",
     nullptr, "cannot be read"},
    // The list the link leads to gets the line; the link stays a link.
    {"a link to a list elsewhere",
     [](MediaTree& t) {
       t.writeText("shared/list.cfg", "level = a.inf\n");
       fs::create_symlink("../shared/list.cfg", list);
     },
     "new.inf", "level = a.inf\nlevel = new.inf\n", "joins"},
    {"no list", [](MediaTree&) {}, "new.inf", nullptr, ""},
};

class JoinTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinTest, AddsTheLevelOrLeavesTheListAsItWas) {
  MediaTree tree;
  tree.writeText("media/level1.inf", level);
  tree.writeText("set/a.inf", level);
  tree.writeText(std::string("set/") + GetParam().file, level);
  GetParam().make(tree);
  const std::string before = described(list);
  const std::string note = joinSetList(std::string("set/") + GetParam().file);
  if (GetParam().words[0] == '\0') EXPECT_EQ(note, "");
  else EXPECT_NE(note.find(GetParam().words), std::string::npos) << note;
  if (GetParam().after == nullptr) {
    EXPECT_EQ(described(list), before);
  } else {
    EXPECT_EQ(readFile(list), GetParam().after);
    EXPECT_EQ(fs::is_symlink(list), before.rfind("link", 0) == 0);
  }
  chmod(list.c_str(), 0644);
}

INSTANTIATE_TEST_SUITE_P(Lists, JoinTest, ::testing::ValuesIn(joinCases), caseName<JoinCase>);

// A folder kept as a set that has no list yet starts one, naming its level
// files in name order, the new one among them.
TEST(SetListTest, AFolderKeptAsASetStartsItsList) {
  MediaTree tree;
  for (const char* name : {"level10.inf", "level2.inf", "a.inf", "player.inf", "new.inf"}) {
    tree.writeText(std::string("set/") + name, level);
  }
  EXPECT_EQ(joinSetList("set/new.inf", "My levels"), "started set.cfg listing 4 levels");
  LevelSet set;
  layMediaSet(tree.root() + "/set");
  EXPECT_EQ(readLevelSet(tree.root() + "/set", set), "");
  liftMediaSet();
  EXPECT_EQ(set.title, "My levels");
  EXPECT_EQ(set.levels, (std::vector<std::string>{"a.inf", "level2.inf", "level10.inf", "new.inf"}));
  // Once there, the list is the author's: it only grows.
  tree.writeText("set/next.inf", level);
  EXPECT_EQ(joinSetList("set/next.inf", "Another title"), "next.inf joins the levels of set.cfg");
  EXPECT_NE(readFile(list).find("title = My levels\n"), std::string::npos);
}

TEST(SetListTest, AFullDiskLeavesTheListAsItWas) {
  FailingWrites writes(WriteFailure::fullDisk);
  if (!writes.available()) GTEST_SKIP() << "this process may not mount a file system";
  const std::string folder = writes.directory();
  writeBytes(folder + "/set.cfg", "title = T\nlevel = a.inf\n");
  writeBytes(folder + "/a.inf", level);
  writeBytes(folder + "/new.inf", level);
  writes.arm();
  const std::string note = joinSetList(folder + "/new.inf");
  writes.disarm();
  EXPECT_NE(note.find("is left as it was"), std::string::npos) << note;
  EXPECT_NE(note.find(writes.reason()), std::string::npos) << note;
  EXPECT_EQ(readFile(folder + "/set.cfg"), "title = T\nlevel = a.inf\n");
}

// Two editors adding levels to one list at the same time: each takes its
// turn, and the list ends with every level of both.
TEST(SetListTest, TwoEditorsAddingToOneListKeepEveryLevel) {
  MediaTree tree;
  tree.writeText("set/a.inf", level);
  listing(tree, "level = a.inf\n");
  constexpr int each = 12;
  std::vector<pid_t> editors;
  for (const char* who : {"p", "q"}) {
    const pid_t pid = fork();
    if (pid == 0) {
      int failed = 0;
      for (int i = 0; i < each; ++i) {
        const std::string path = "set/" + std::string(who) + std::to_string(i) + ".inf";
        writeBytes(path, level);
        failed += joinSetList(path).find("joins") == std::string::npos;
      }
      _exit(failed);
    }
    editors.push_back(pid);
  }
  for (const pid_t pid : editors) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
  LevelSet set;
  layMediaSet(tree.root() + "/set");
  EXPECT_EQ(readLevelSet(tree.root() + "/set", set), "");
  liftMediaSet();
  EXPECT_EQ(set.levels.size(), 1u + 2 * each);
}

// The editor laid over a set: its own tile look is offered beside the
// tree's, placed like any other, and the level saved new into the set's
// folder joins the set's list.
TEST(SetListTest, TheEditorUsesTheSetsLooksAndListsItsNewLevel) {
  EditorFixture fixture(false);
  fixture.tree.writeSolidPng("set/gfx/static/floor tiles/normal/moss.png", GameTree::tileWidth,
                             GameTree::tileHeight, 40, 200, 90);
  fixture.tree.writeText("set/a.inf", GameTree::simpleLevel());
  fixture.tree.writeText(list, "title = Moss\nlevel = a.inf\n");
  layMediaSet(fixture.tree.root() + "/set");
  fixture.build();
  LevelEditor& editor = *fixture.editor;
  editor.newLevel();
  const int moss = fixture.looks->find(ElementKind::Tile, "moss");
  ASSERT_GE(moss, 0);
  EXPECT_GE(fixture.looks->find(ElementKind::Tile, "brick"), 0);
  perform(editor, "tool 1; snap off");
  editor.setLook(moss);
  perform(editor, "click 200 200");
  ASSERT_FALSE(editor.level().tiles.empty());
  EXPECT_EQ(editor.level().tiles.back().tile_name, "moss");
  ASSERT_EQ(editor.saveAs(fixture.tree.root() + "/set/new.inf"), 0) << editor.saveError();
  EXPECT_EQ(editor.saveNote(), "new.inf joins the levels of set.cfg");
  EXPECT_EQ(readFile(list), "title = Moss\nlevel = a.inf\nlevel = new.inf\n");
  // A second save of the same file is no new level.
  ASSERT_EQ(editor.save(), 0);
  EXPECT_EQ(editor.saveNote(), "");
  liftMediaSet();
}

}  // namespace
