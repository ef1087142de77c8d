// pwe-check on level sets laid over a small tree, and on level files kept
// anywhere: every file read where the engine reads it and reported at that
// path, every level proven as a tree's level is.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/ReplayFile.h"
#include "tests/support/CaseName.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/GameTree.h"

namespace fs = std::filesystem;

namespace {

// A checker still running after this long is taken to be blocked.
const int limitSeconds = 60;

// The simple level with one item of the look given, at line 31, column 9.
std::string levelWithItem(const std::string& look) {
  std::string text = GameTree::simpleLevel();
  text.erase(text.size() - 6);  // the counts of enemies, items and teleporters
  return text + "0\n1\n150 292 " + look + " 25\n0\n";
}

void writeLook(GameTree& tree, const std::string& path) {
  tree.writeSolidPng(path, GameTree::itemSize, GameTree::itemSize, 40, 220, 250);
}

struct SetCase {
  const char* name;
  std::function<void(GameTree&)> make;
  const char* arguments;
  std::vector<std::string> expected;  // every line but the notes, in order
  std::vector<std::string> proven;    // the level files proven clearable, in order
  int status;
};

const SetCase setCases[] = {
    {"a level alone",
     [](GameTree& t) { t.writeText("mine/a.inf", GameTree::simpleLevel()); },
     "mine", {}, {"mine/a.inf"}, 0},
    {"a look of its own",
     [](GameTree& t) {
       writeLook(t, "mine/gfx/static/items/star.png");
       t.writeText("mine/a.inf", levelWithItem("star"));
     },
     "mine", {}, {"mine/a.inf"}, 0},
    {"a look of its own misspelt",
     [](GameTree& t) {
       writeLook(t, "mine/gfx/static/items/star.png");
       t.writeText("mine/a.inf", levelWithItem("Star"));
     },
     "mine", {"mine/a.inf:31:9: no item image named 'Star'; did you mean 'star'?"}, {}, 1},
    {"a player.inf of its own",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       t.writeText("mine/player.inf",
                   "walk_left walk_right climb air_left hop 16 24 2 2 2 2 1 0.5 40 100\n");
     },
     "mine",
     {"mine/player.inf:1:37: no animation 'hop': media/gfx/anim/player/hop.anm is missing"}, {},
     1},
    {"an enemy kind of its own misspelt",
     [](GameTree& t) {
       t.writeText("mine/gfx/anim/enemy/bug.nme", "blob_l blob_r blob_vl blob_vr\n");
       std::string text = GameTree::simpleLevel();
       text.erase(text.size() - 6);  // the counts of enemies, items and teleporters
       t.writeText("mine/a.inf", text + "1\n400 299 1 300 500 1.5 1 0 Bug 300 50\n0\n0\n");
     },
     "mine", {"mine/a.inf:30:27: no enemy kind named 'Bug' (no Bug.nme); did you mean 'bug'?"},
     {}, 1},
    {"an animation of its own, its frames looked for in both",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       t.writeText("mine/gfx/anim/enemy/blob_l.anm", "blob_l 3 4 4 4\n");
     },
     "mine",
     {"mine/gfx/anim/enemy/blob_l.anm:1:1: frame 2 is missing: "
      "media/gfx/anim/enemy/blob_l/2.png"},
     {}, 1},
    {"a damaged file of its own",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       t.writeText("mine/gfx/static/back.png", "no picture\n");
     },
     "mine", {"mine/gfx/static/back.png:0:0: is not a PNG file"}, {}, 1},
    {"the set's file over a broken one of the tree",
     [](GameTree& t) {
       t.writeText("media/gfx/static/items/gem.png", "no picture\n");
       writeLook(t, "mine/gfx/static/items/gem.png");
       t.writeText("mine/a.inf", levelWithItem("gem"));
     },
     "mine", {}, {"mine/a.inf"}, 0},
    {"a list naming a missing level",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       t.writeText("mine/set.cfg", "title = Mine\nlevel = a.inf\n\nlevel = gone.inf\n");
     },
     "mine", {"mine/set.cfg:4:1: no level file gone.inf in the set or its base"}, {}, 1},
    {"a list naming a level of the tree",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       t.writeText("mine/set.cfg", "level = level2.inf\nlevel = a.inf\n");
     },
     "mine", {}, {"media/level2.inf", "mine/a.inf"}, 0},
    {"settings of its own over the tree's",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg", "[display]\nwidth = 0640\n");  // 416: the set's wins
       t.writeText("mine/pwe.cfg", "[display]\nwidth = 0x280\n");
       t.writeText("mine/set.cfg", "level = a.inf\n");
       t.writeText("mine/a.inf", GameTree::simpleLevel());
     },
     "mine",
     {"mine/pwe.cfg:2:9: '0x280' for [display] width reads as 640 (a leading 0 means octal, 0x "
      "hexadecimal)"},
     {}, 1},
    {"a set reached through a link",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       fs::create_directory_symlink("mine", "linked");
     },
     "linked", {}, {"linked/a.inf"}, 0},
    {"a list that is a folder",
     [](GameTree& t) {
       t.writeText("mine/a.inf", GameTree::simpleLevel());
       t.makeDirectory("mine/set.cfg");
     },
     "mine", {"mine/set.cfg:0:0: cannot be read"}, {}, 1},
    {"a level file outside any tree",
     [](GameTree& t) { t.writeText("far away/lone.inf", levelWithItem("gems")); },
     "'far away/lone.inf'", {"far away/lone.inf:31:9: no item image named 'gems'"}, {}, 1},
    {"level files in two folders",
     [](GameTree& t) {
       t.writeText("far away/lone.inf", GameTree::simpleLevel());
       t.writeText("other/b.inf", GameTree::simpleLevel());
       t.writeText("other/a.inf", levelWithItem("nothing"));  // not named: not checked
     },
     "other/b.inf 'far away/lone.inf'", {}, {"other/b.inf", "far away/lone.inf"}, 0},
    {"a broken level file before a sound one",
     [](GameTree& t) {
       t.writeText("far away/lone.inf", GameTree::simpleLevel());
       t.writeText("other/b.inf", levelWithItem("gems"));
     },
     "other/b.inf 'far away/lone.inf'", {"other/b.inf:31:9: no item image named 'gems'"},
     {"far away/lone.inf"}, 1},
    {"a FIFO named as a level file",
     [](GameTree& t) { t.makeFifo("queue.inf"); },
     "queue.inf",
     {"queue.inf:0:0: is not a plain file (a FIFO, a device or a socket): it is not read"}, {},
     1},
};

void PrintTo(const SetCase& row, std::ostream* out) { *out << row.name; }

// The files of the notes that say a level is proven clearable.
std::vector<std::string> provenFiles(const CheckRun& run) {
  std::vector<std::string> files;
  const std::string proof = ":0:0: note: the level can be cleared with its enemies";
  for (const std::string& note : run.notes) {
    const auto at = note.find(proof);
    if (at != std::string::npos) files.push_back(note.substr(0, at));
  }
  return files;
}

class PweCheckSets : public testing::TestWithParam<SetCase> {};

TEST_P(PweCheckSets, ReadsThroughTheSetAndReportsWhereItRead) {
  const SetCase& row = GetParam();
  GameTree tree;
  tree.writeText("media/pwe.cfg", "");
  row.make(tree);
  const CheckRun run = runChecker(row.arguments, limitSeconds);
  EXPECT_EQ(run.lines, row.expected) << run.output;
  EXPECT_EQ(provenFiles(run), row.proven) << run.output;
  EXPECT_EQ(run.status, row.status) << "killed after " << limitSeconds << " s: blocked";
}

INSTANTIATE_TEST_SUITE_P(Sets, PweCheckSets, testing::ValuesIn(setCases), caseName<SetCase>);

// A tree named by the folder holding it reads as the tree named itself.
TEST(PweCheckSetsTree, BothFormsOfATreeGiveOneOutput) {
  GameTree tree;
  tree.writeText("media/pwe.cfg", "");
  tree.writeSolidPng("media/gfx/static/back.png", 1100, 500, 0, 0, 40);  // a warning
  const CheckRun named = runChecker("media");
  ASSERT_EQ(named.lines.size(), 1u) << named.output;
  EXPECT_EQ(runChecker(".").output, named.output);
  EXPECT_EQ(runChecker("").output, named.output);
  EXPECT_EQ(runChecker("'" + tree.root() + "'").output,
            runChecker("'" + tree.root() + "/media'").output);
}

// The route through a level file names its level and its folder as the
// set, spaces and all, so that the game finds both again.
TEST(PweCheckSetsTree, WritesTheRouteOfALevelFile) {
  GameTree tree;
  tree.writeText("media/pwe.cfg", "");
  tree.writeText("far away/lone level.inf", GameTree::simpleLevel());
  const CheckRun run = runChecker("--route 'far away/lone level.inf' lone.route", limitSeconds);
  EXPECT_EQ(run.lines, std::vector<std::string>{}) << run.output;
  EXPECT_EQ(run.status, 0);
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay("lone.route", replay, error)) << error;
  EXPECT_EQ(replay.level, "lone level.inf");
  EXPECT_TRUE(fs::equivalent(replay.set, "far away")) << replay.set;
  EXPECT_EQ(replay.levelHash, fileHash("far away/lone level.inf"));
}

// The second shipped set passes as the shipped tree does: its list read,
// its own looks found, and each level proven clearable with its enemies
// with no press that must be frame-perfect and its tightest press named;
// it is checked by its name.
TEST(PweCheckSetsShipped, TheMossSetPassesByItsName) {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "PWE_SOURCE_DIR must name the repository root";
  const fs::path root(source);
  CheckRun run = runChecker("--werror --base '" + (root / "media").string() + "' moss");
  // How hard the route found is fails --werror as every warning does.
  const std::vector<std::string> hard = takeHardMoments(run);
  EXPECT_EQ(run.lines, std::vector<std::string>{}) << run.output;
  EXPECT_EQ(run.status, hard.empty() ? 0 : 1);
  std::vector<std::string> levels;
  for (int n = 1; n <= 4; ++n) {
    levels.push_back((root / "sets/moss" / ("moss" + std::to_string(n) + ".inf")).string());
  }
  expectProvenWithoutExactPresses(run, levels);
  expectTightestPressNamed(run);
}

}  // namespace
