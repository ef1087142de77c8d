// pwe-render run as its users run it: the first frame of a small known level
// drawn into a PNG file, checked pixel by pixel.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"

namespace fs = std::filesystem;

namespace {

struct RenderRun {
  int status = -1;
  std::string output;  // standard output and error
};

// The program is built beside this test: <build>/tools/pwe-render.
RenderRun runRender(const std::string& arguments) {
  fs::path self = fs::read_symlink("/proc/self/exe");
  std::string command =
      (self.parent_path().parent_path() / "tools" / "pwe-render").string() + " " + arguments +
      " 2>&1";
  RenderRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// One of each kind of element where nothing overlaps the pixels looked at.
const char* const knownLevel =
    "3000\n"
    "10 10 0\n"                              // countdown panel at (10, 10), left
    "400 10 0\n"                             // score panel at (400, 10), left
    "10 5\n"                                 // pip offset and spacing
    "100 299 1\n"                            // player: columns 92..107, rows 276..299
    "3\n"
    "0 300 brick brick_clear 1 10\n"
    "32 300 brick brick_clear 1 10\n"
    "64 300 brick brick_clear 1 10\n"
    "1\n200 236 64 rungs\n"                  // ladder: columns 200..215, rows 236..299
    "0\n"
    "1\n300 299 1 250 350 1 0 0 blob 0 0\n"  // enemy: columns 294..305, rows 288..299
    "1\n150 280 gem 25\n"                    // item: columns 150..157, rows 280..287
    "1\n500 268 pad pad_cool 1\n";           // teleporter: columns 500..523, rows 268..299

struct Rgb {
  int r, g, b;
};

Rgb pixelAt(BITMAP* picture, int x, int y) {
  int c = getpixel(picture, x, y);
  return Rgb{getr32(c), getg32(c), getb32(c)};
}

void expectColour(BITMAP* picture, int x, int y, Rgb want, int tolerance = 0) {
  Rgb got = pixelAt(picture, x, y);
  EXPECT_NEAR(got.r, want.r, tolerance) << "at " << x << ", " << y;
  EXPECT_NEAR(got.g, want.g, tolerance) << "at " << x << ", " << y;
  EXPECT_NEAR(got.b, want.b, tolerance) << "at " << x << ", " << y;
}

TEST(PweRender, DrawsTheFirstFrameOfALevel) {
  GameTree tree;
  tree.writeLevel("level2.inf", knownLevel);
  fs::rename("media", "tree");  // any directory name will do
  RenderRun run = runRender("level2.inf shot.png tree");
  ASSERT_EQ(run.status, 0) << run.output;

  BITMAP* shot = load_bitmap("shot.png", nullptr);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->w, 640);
  EXPECT_EQ(shot->h, 480);
  const Rgb background{20, 20, 40};
  const Rgb panel{230, 230, 230};
  expectColour(shot, 5, 200, background);
  expectColour(shot, 5, 303, {150, 80, 40});      // first tile, uncleared
  expectColour(shot, 100, 310, background);       // below the floor
  expectColour(shot, 91, 290, background);        // the player's frame starts at column 92
  expectColour(shot, 92, 290, {40, 200, 40});     // walk-right frame 0
  expectColour(shot, 100, 275, background);       // and at row 276
  expectColour(shot, 200, 240, {140, 90, 30});    // ladder rail
  expectColour(shot, 205, 241, background);       // between rungs: mask colour, not drawn
  expectColour(shot, 300, 295, {160, 0, 0});      // enemy walking right, dangerous
  expectColour(shot, 153, 283, {250, 220, 0});    // item
  expectColour(shot, 510, 280, {10, 110, 130}, 3);  // teleporter, half transparent
  // Countdown panel with "3000" from column 0: the first glyph's ink starts
  // one pixel into its cell; the space behind the text is the panel.
  expectColour(shot, 109, 29, panel);
  expectColour(shot, 11, 17, {0, 0, 0});
  expectColour(shot, 10, 17, panel);
  // Score "0" is one 6-pixel glyph; with 3 lives two 10-pixel pips follow
  // at 6 + 10 and 6 + 10 + 15 within the panel, on rows 5..14.
  expectColour(shot, 415, 20, panel);
  expectColour(shot, 416, 20, {255, 40, 40});
  expectColour(shot, 425, 20, {255, 40, 40});
  expectColour(shot, 426, 20, panel);
  expectColour(shot, 431, 20, {255, 40, 40});
  expectColour(shot, 441, 20, panel);
  destroy_bitmap(shot);
}

TEST(PweRender, FollowsTheConfiguredScreenSize) {
  GameTree tree;
  tree.writeText("media/pwe.cfg", "[display]\nwidth = 320\nheight = 240\n");
  RenderRun run = runRender("level1.inf shot.png");
  ASSERT_EQ(run.status, 0) << run.output;
  BITMAP* shot = load_bitmap("shot.png", nullptr);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->w, 320);
  EXPECT_EQ(shot->h, 240);
  destroy_bitmap(shot);
}

TEST(PweRender, StopsWithTheEnginesMessageOnBadData) {
  GameTree tree;
  RenderRun run = runRender("level9.inf shot.png");
  EXPECT_EQ(run.status, 1);
  // Said once, as a line of its own.
  EXPECT_EQ(run.output, "pwe-render: Error loading \"level9.inf\"\n");
  EXPECT_FALSE(fs::exists("shot.png"));

  run = runRender("level1.inf");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("usage: pwe-render [--base TREE] LEVEL OUTPUT.png"), std::string::npos);
}

// Where a level is read from, as the command line names it: the tree in
// media/ of the working directory, a set of its own in "sets/my set"
// beside it (a level cave.inf with tiles of a look only the set has, and
// a screen half as high), and a level file here.inf in the working
// directory. The set lists its level, as a set with a pwe.cfg of its own
// must to be told from a tree. Each call is told by the picture's height and the colour of
// the first tile of cave.inf: the set's moss, or the tree's background.
struct PlaceCall {
  const char* name;
  const char* arguments;  // the picture is shot.png
  int status;
  int height;             // of the picture, when it is written
  bool moss;              // cave.inf's first tile shows
  const char* said;       // a part of what is said, for a refusal
};

const PlaceCall placeCalls[] = {
    {"a level of the tree named with its folder", "level1.inf shot.png media", 0, 480, false, ""},
    {"a level of the folder holding the tree", "level1.inf shot.png .", 0, 480, false, ""},
    {"a level of the tree by default", "level1.inf shot.png", 0, 480, false, ""},
    {"a level of a set by its folder", "cave.inf shot.png 'sets/my set'", 0, 240, true, ""},
    {"a level of a set by its name", "cave.inf shot.png 'my set'", 0, 240, true, ""},
    {"a level of a set over a named base", "--base media cave.inf shot.png 'sets/my set'", 0, 240,
     true, ""},
    {"a level file by its path", "'sets/my set/cave.inf' shot.png", 0, 240, true, ""},
    {"a level file over a named base", "'sets/my set/cave.inf' shot.png --base .", 0, 240, true,
     ""},
    {"a level of the base through a set", "level1.inf shot.png 'sets/my set'", 0, 240, false, ""},
    {"a level file in the working directory", "here.inf shot.png", 0, 480, false, ""},
    {"a bare name is a level of the place named", "here.inf shot.png media", 1, 0, false,
     "pwe-render: Error loading \"here.inf\"\n"},
    {"a level the set has not", "deep.inf shot.png 'sets/my set'", 1, 0, false,
     "pwe-render: Error loading \"deep.inf\"\n"},
    {"a level file with a place beside it", "'sets/my set/cave.inf' shot.png media", 2, 0, false,
     "give the tree under it with --base"},
    {"a place that is a level file", "cave.inf shot.png 'sets/my set/cave.inf'", 2, 0, false,
     "is a level file: name the set or tree"},
    {"a place that is nothing", "cave.inf shot.png nowhere", 2, 0, false,
     "nowhere is no set, tree or level file; the sets beside the game are: my set"},
    {"a folder for a level", "'sets/my set/' shot.png", 2, 0, false,
     "is a folder, not a level file"},
    {"a level file that is not there", "sets/none.inf shot.png", 2, 0, false,
     "sets/none.inf is no set, tree or level file"},
    {"a base that is no tree", "--base sets cave.inf shot.png 'my set'", 2, 0, false,
     "sets holds no media tree"},
    {"a base given twice", "--base media --base . level1.inf shot.png", 2, 0, false,
     "--base needs one tree"},
};

class PweRenderPlaces : public testing::TestWithParam<PlaceCall> {};

TEST_P(PweRenderPlaces, ReadTheLevelWhereTheCallNamesIt) {
  const PlaceCall& call = GetParam();
  GameTree tree;
  tree.writeText("media/pwe.cfg", "[display]\n");
  const std::string set = "sets/my set/";
  tree.writeText(set + "set.cfg", "level = cave.inf\n");
  tree.writeSolidPng(set + "gfx/static/floor tiles/normal/moss.png", GameTree::tileWidth,
                     GameTree::tileHeight, 10, 200, 90);
  tree.writeText(set + "pwe.cfg", "[display]\nheight = 240\n");
  std::string cave = GameTree::simpleLevel();
  cave.replace(cave.find("0 300 brick"), 11, "0 100 moss");
  tree.writeText(set + "cave.inf", cave);
  tree.writeText("here.inf", GameTree::simpleLevel());

  const RenderRun run = runRender(call.arguments);
  ASSERT_EQ(run.status, call.status) << run.output;
  if (call.status != 0) {
    EXPECT_NE(run.output.find(call.said), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists("shot.png"));
    return;
  }
  BITMAP* shot = load_bitmap("shot.png", nullptr);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->h, call.height);
  expectColour(shot, 5, 103, call.moss ? Rgb{10, 200, 90} : Rgb{20, 20, 40});
  destroy_bitmap(shot);
}

INSTANTIATE_TEST_SUITE_P(Calls, PweRenderPlaces, testing::ValuesIn(placeCalls),
                         caseName<PlaceCall>);

// With no tree in the working directory and none installed, no level of
// the tree is drawn.
TEST(PweRender, SaysWhenThereIsNoTree) {
  MediaTree empty;
  const RenderRun run = runRender("level1.inf shot.png");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "pwe-render: media is not a directory\n");
  EXPECT_FALSE(fs::exists("shot.png"));
}

std::vector<std::string> namesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

struct FailureCase {
  const char* name;
  WriteFailure how;
};

const FailureCase failureCases[] = {
    {"a full disk", WriteFailure::fullDisk},
    // The PNG writer does not tell when only its last bytes fail.
    {"a file cut off one byte short", WriteFailure::sizeLimit},
};

class PweRenderFailedWrite : public testing::TestWithParam<FailureCase> {};

// A picture that cannot be written whole is not written at all: the old
// one stays, the reason is given, the exit status says so.
TEST_P(PweRenderFailedWrite, SaysWhyAndKeepsTheOldPicture) {
  GameTree tree;
  ASSERT_EQ(runRender("level1.inf whole.png").status, 0);
  const auto whole = static_cast<long long>(fs::file_size("whole.png"));
  FailingWrites writes(GetParam().how);
  if (!writes.available()) GTEST_SKIP() << "this process may not mount a file system";
  const std::string shot = writes.directory() + "/shot.png";
  std::ofstream(shot, std::ios::binary) << "the old picture\n";
  writes.arm(whole - 1);
  const RenderRun run = runRender("level1.inf " + shot);
  writes.disarm();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "pwe-render: cannot write " + shot + ": " + writes.reason() + "\n");
  EXPECT_EQ(readFile(shot), "the old picture\n");
  EXPECT_EQ(namesIn(writes.directory()), std::vector<std::string>{"shot.png"});
}

INSTANTIATE_TEST_SUITE_P(Ways, PweRenderFailedWrite, testing::ValuesIn(failureCases),
                         caseName<FailureCase>);

}  // namespace
