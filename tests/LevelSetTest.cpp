// Level sets laid over a base tree, played by a real Game: each set is made
// in a folder of its own beside a GameTree, laid with the overlay, its
// level started, its first frame drawn and a few ticks played; what the
// frame and the player show tells the set's files from the base's. Then the
// levels a set plays, in order.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "graphics/Resources.h"
#include "shell/Fatal.h"
#include "shell/LevelSet.h"
#include "shell/Log.h"
#include "shell/MediaOverlay.h"
#include "tests/support/CaseName.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace fs = std::filesystem;

namespace {

const char* const setFolder = "the set";  // below the tree's root, beside media/
const std::string tiles = "gfx/static/floor tiles/normal/";

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const Rgb background{20, 20, 40};  // GameTree's back.png
const Rgb brick{150, 80, 40};      // GameTree's brick.png
const Rgb moss{10, 200, 90};       // only the sets have it
const Rgb setBack{90, 10, 10};
const Rgb setBrick{200, 200, 0};

// A floor of `look` tiles at row y from x 0 to 608, the player on it.
std::string floorLevel(int y, const std::string& look = "brick", int mossUpTo = 0) {
  LevelText level;
  level.start = "100 " + std::to_string(y - 1) + " 1";
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    const std::string name = x < mossUpTo ? "moss" : look;
    level.tiles.push_back(std::to_string(x) + " " + std::to_string(y) + " " + name +
                          " brick_clear 1 10");
  }
  return level.str();
}

// A PNG of the tree made unreadable: cut off inside its header. (A file
// cut off further on passes the header's inspection, and the PNG loader
// then loses the picture it had begun.)
void cutShort(GameTree& tree, const std::string& path) {
  fs::resize_file(fs::path(tree.root()) / path, 20);
}

const char* const playerText =
    "walk_left walk_right climb air_left air_right 16 24 2 2 2 2 1 0.5 40 100\n";

std::string inSet(const std::string& path) { return std::string(setFolder) + "/" + path; }

struct Probe {
  int x, y;
  Rgb colour;
};

// One set, what it changes, and what the game shows for it.
struct SetCase {
  const char* name;
  void (*make)(GameTree& tree);  // writes the set (and may damage the base)
  const char* level;             // the level started
  std::vector<Probe> frame;      // pixels of the first frame
  bool walksFarther;             // than on the base's player.inf, holding right
  const char* refusal;           // the engine's message, "{set}" for the set's folder
  const char* logged;            // a line logged before the refusal, likewise
};

const SetCase setCases[] = {
    {"a level alone",
     [](GameTree& tree) { tree.writeText(inSet("cave.inf"), floorLevel(200)); },
     "cave.inf",
     {{5, 203, brick}, {5, 303, background}},
     false,
     "",
     ""},
    {"a level with a look of its own",
     [](GameTree& tree) {
       tree.writeSolidPng(inSet(tiles + "moss.png"), GameTree::tileWidth, GameTree::tileHeight,
                          moss.r, moss.g, moss.b);
       tree.writeText(inSet("mossy.inf"), floorLevel(300, "brick", 320));
     },
     "mossy.inf",
     {{5, 303, moss}, {325, 303, brick}},
     false,
     "",
     ""},
    {"a player of its own",
     [](GameTree& tree) {
       tree.writeText(inSet("player.inf"),
                      "walk_left walk_right climb air_left air_right 16 24 5 2 2 2 1 0.5 40 100\n");
     },
     "level1.inf",
     {{5, 303, brick}},
     true,
     "",
     ""},
    {"a look of its own cut short",
     [](GameTree& tree) {
       tree.writeSolidPng(inSet(tiles + "moss.png"), GameTree::tileWidth, GameTree::tileHeight,
                          moss.r, moss.g, moss.b);
       cutShort(tree, inSet(tiles + "moss.png"));
     },
     "level1.inf",
     {},
     false,
     "Error loading \"{set}/gfx/static/floor tiles/normal/moss.png\".",
     ""},
    {"a player of its own past any size",
     [](GameTree& tree) {
       tree.writeText(
           inSet("player.inf"),
           "walk_left walk_right climb air_left air_right 16 2000000 2 2 2 2 1 0.5 40 100\n");
     },
     "level1.inf",
     {},
     false,
     "Error loading {set}/player.inf",
     "Loading player data from {set}/player.inf."},
    {"a player file that is a folder",
     [](GameTree& tree) { tree.makeDirectory(inSet("player.inf")); },
     "level1.inf",
     {},
     false,
     "Error loading {set}/player.inf",
     "Loading player data from {set}/player.inf."},
    {"a level of its own that is a FIFO",
     [](GameTree& tree) { tree.makeFifo(inSet("cave.inf")); },
     "cave.inf",
     {},
     false,
     "Error loading \"{set}/cave.inf\"",
     "Loading level data from {set}/cave.inf"},
    {"a background over a damaged one",
     [](GameTree& tree) {
       tree.writeSolidPng(inSet("gfx/static/back.png"), 640, 480, setBack.r, setBack.g, setBack.b);
       cutShort(tree, "media/gfx/static/back.png");
     },
     "level1.inf",
     {{5, 200, setBack}, {5, 303, brick}},
     false,
     "",
     ""},
    {"a tile image of the base's name over a damaged one",
     [](GameTree& tree) {
       tree.writeSolidPng(inSet(tiles + "brick.png"), GameTree::tileWidth, GameTree::tileHeight,
                          setBrick.r, setBrick.g, setBrick.b);
       cutShort(tree, "media/" + tiles + "brick.png");
     },
     "level1.inf",
     {{5, 303, setBrick}, {5, 200, background}},
     false,
     "",
     ""},
    {"a level of the base's name",
     [](GameTree& tree) { tree.writeText(inSet("level1.inf"), floorLevel(200)); },
     "level1.inf",
     {{5, 203, brick}, {5, 303, background}},
     false,
     "",
     ""},
};

std::string withSet(std::string text, const std::string& set) {
  for (auto at = text.find("{set}"); at != std::string::npos; at = text.find("{set}")) {
    text.replace(at, 5, set);
  }
  return text;
}

Rgb pixelAt(BITMAP* picture, int x, int y) {
  const int c = getpixel(picture, x, y);
  return Rgb{getr32(c), getg32(c), getb32(c)};
}

// A Game of the tree as it stands (with whatever set is laid), its level
// started and its first frame drawn into frame; then right held for a few
// ticks. How far the player walked.
float playFirstFrame(const std::string& level, BITMAP* frame) {
  auto game = std::make_unique<Game>(640, 480, 100);
  game->inputSource.inputFromDevices = false;
  game->startLevel(level);
  game->beginLife();
  game->output.display = frame;
  game->drawFrame();
  game->output.display = nullptr;
  const float start = game->player.x;
  for (int tick = 0; tick < 10; ++tick) {
    game->input.releaseAll();
    game->input.hold(KEY_RIGHT);
    EXPECT_FALSE(game->tick()) << "the life ended at tick " << tick;
  }
  game->input.releaseAll();
  return game->player.x - start;
}

class SetPlay : public testing::TestWithParam<SetCase> {
 protected:
  void SetUp() override {
    frame.reset(create_bitmap(640, 480));
    // The base alone, before the set is made.
    baseWalk = playFirstFrame("level1.inf", frame.get());
    setPath = tree.root() + "/" + setFolder;
    fs::create_directories(setPath);
    log_capture(&log);
  }
  void TearDown() override {
    log_capture(nullptr);
    liftMediaSet();
    EXPECT_EQ(mediaPath("media/player.inf"), "media/player.inf");
  }

  GameTree tree;
  BitmapPtr frame;
  float baseWalk = 0;
  std::string setPath;
  std::vector<std::string> log;
};

TEST_P(SetPlay, ShowsTheSetsFilesOverTheBase) {
  const SetCase& c = GetParam();
  c.make(tree);
  layMediaSet(setPath);
  std::string refused;
  float walked = 0;
  try {
    DataFailureGuard guard;
    walked = playFirstFrame(c.level, frame.get());
  } catch (const DataFailure& stop) {
    refused = stop.boxText;
  }
  EXPECT_EQ(refused, withSet(c.refusal, setPath));
  if (*c.logged != '\0') {
    EXPECT_NE(std::find(log.begin(), log.end(), withSet(c.logged, setPath)), log.end())
        << "nothing logged " << withSet(c.logged, setPath);
  }
  if (!refused.empty()) return;
  for (const Probe& probe : c.frame) {
    EXPECT_EQ(pixelAt(frame.get(), probe.x, probe.y), probe.colour)
        << "at " << probe.x << ", " << probe.y;
  }
  if (c.walksFarther) {
    EXPECT_GT(walked, baseWalk);
  } else {
    EXPECT_EQ(walked, baseWalk);
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, SetPlay, testing::ValuesIn(setCases), caseName<SetCase>);

// The levels a set plays, in order, read from its folder as the game reads
// them; a set that lists them is refused at the line at fault.
struct OrderCase {
  const char* name;
  std::vector<std::pair<const char*, int>> levels;  // level files of the set: name, floor row
  const char* list;                                 // set.cfg, or null for none
  const char* title;
  std::vector<std::string> order;
  const char* refusal;  // "{set}" for the set's folder
  void (*make)(GameTree& tree) = nullptr;  // what else stands in the set
};

std::string longList() {
  std::string text;
  while (text.size() <= static_cast<std::size_t>(maxSetListBytes)) text += "level = a.inf\n";
  return text;
}

const OrderCase orderCases[] = {
    {"the list's order kept",
     {{"c.inf", 200}, {"a.inf", 250}, {"b.inf", 100}},
     "# the caves\ntitle = Deep Caves\nlevel = c.inf\n\nlevel = a.inf\nlevel = level2.inf\nlevel = "
     "c.inf\n",
     "Deep Caves",
     {"c.inf", "a.inf", "level2.inf", "c.inf"},
     ""},
    {"no list: the names in natural order",
     {{"level10.inf", 200}, {"level2.inf", 250}, {"b.inf", 100}, {"notes.txt", 0}},
     nullptr,
     setFolder,
     {"b.inf", "level2.inf", "level10.inf"},
     ""},
    {"no list: the player file is no level",
     {{"player.inf", 0}, {"z.inf", 150}},
     nullptr,
     setFolder,
     {"z.inf"},
     ""},
    {"a level neither has",
     {{"a.inf", 200}},
     "level = a.inf\n# next\nlevel = gone.inf\n",
     "",
     {},
     "{set}/set.cfg:3: no level file gone.inf in the set or its base"},
    {"a level outside the set",
     {{"a.inf", 200}},
     "level = a.inf\nlevel = ../x.inf\n",
     "",
     {},
     "{set}/set.cfg:2: '../x.inf' is no level file name: give the bare name of a file beside "
     "set.cfg"},
    {"a list that is a folder",
     {{"a.inf", 200}},
     nullptr,
     "",
     {},
     "{set}/set.cfg cannot be read",
     [](GameTree& tree) { tree.makeDirectory(inSet(setListName)); }},
    {"a list that is a FIFO",
     {{"a.inf", 200}},
     nullptr,
     "",
     {},
     "{set}/set.cfg is not a regular file",
     [](GameTree& tree) { tree.makeFifo(inSet(setListName)); }},
    {"a list past its bound",
     {{"a.inf", 200}},
     nullptr,
     "",
     {},
     "{set}/set.cfg: longer than 65536 bytes: no list of levels",
     [](GameTree& tree) { tree.writeText(inSet(setListName), longList()); }},
    {"no list and no levels",
     {{"player.inf", 0}},
     nullptr,
     "",
     {},
     "{set}: no level files (*.inf) and no set.cfg to list them"},
};

class SetOrder : public testing::TestWithParam<OrderCase> {
 protected:
  void TearDown() override { liftMediaSet(); }
  GameTree tree;
};

TEST_P(SetOrder, IsTheListsOrTheNames) {
  const OrderCase& c = GetParam();
  const std::string set = tree.root() + "/" + setFolder;
  fs::create_directories(set);
  for (const auto& [name, row] : c.levels) {
    // Row 0: a file that is no level (a player.inf like the tree's).
    tree.writeText(inSet(name), row > 0 ? floorLevel(row) : playerText);
  }
  if (c.list != nullptr) tree.writeText(inSet(setListName), c.list);
  if (c.make != nullptr) c.make(tree);
  layMediaSet(set);
  LevelSet levels;
  EXPECT_EQ(readLevelSet(set, levels), withSet(c.refusal, set));
  EXPECT_EQ(levels.levels, c.order);
  if (c.order.empty()) return;
  EXPECT_EQ(levels.title, c.title);
  // The first level is the set's own, as its floor shows.
  BitmapPtr frame(create_bitmap(640, 480));
  playFirstFrame(levels.levels.front(), frame.get());
  for (const auto& [name, row] : c.levels) {
    if (name == levels.levels.front()) {
      EXPECT_EQ(pixelAt(frame.get(), 5, row + 3), brick);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, SetOrder, testing::ValuesIn(orderCases), caseName<OrderCase>);

}  // namespace
