// Frames as they reach the display: layers, the countdown panel and the
// score panel with its life pips, read back from the composed pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "shell/Log.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

constexpr int panelBlue = 0x0000C8;
constexpr int pipRed = 0xFF0000;
constexpr int background = 0x141428;  // GameTree's back.png

// Every glyph is a solid block in a colour of its own, so the character
// drawn at a pixel can be told; "0" is 40 pixels wide, the others 10.
int glyphColour(int c) { return (c << 16) | (100 << 8) | 200; }
int glyphWidth(int c) { return c == '0' ? 40 : 10; }
constexpr int glyphHeight = 20;

void writeBlockFont(GameTree& tree, const std::string& path) {
  std::vector<int> cellOf;  // per column: character, or -1 for a border
  cellOf.push_back(-1);
  for (int c = 32; c <= 126; ++c) {
    for (int i = 0; i < glyphWidth(c); ++i) cellOf.push_back(c);
    cellOf.push_back(-1);
  }
  const int border = makeacol32(255, 255, 0, 255);
  const int empty = makeacol32(255, 0, 255, 0);
  tree.writePng(path, static_cast<int>(cellOf.size()), glyphHeight + 2, [&](int x, int y) {
    int c = cellOf[x];
    if (c < 0 || y == 0 || y == glyphHeight + 1) return border;
    if (c == ' ') return empty;
    int colour = glyphColour(c);
    return makeacol32((colour >> 16) & 255, (colour >> 8) & 255, colour & 255, 255);
  });
}

// A pixel as 0xRRGGBB, whatever the order of the channels in memory.
int rgb(BITMAP* b, int x, int y) {
  int pixel = getpixel(b, x, y);
  return (getr32(pixel) << 16) | (getg32(pixel) << 8) | getb32(pixel);
}

// Columns (relative to x0) where runs of the colour start along one row.
std::vector<int> runStarts(BITMAP* b, int x0, int width, int y, int colour) {
  std::vector<int> starts;
  bool inside = false;
  for (int x = x0; x < x0 + width; ++x) {
    bool match = rgb(b, x, y) == colour;
    if (match && !inside) starts.push_back(x - x0);
    inside = match;
  }
  return starts;
}

// First column (relative to x0) of any glyph along a row, or -1.
int firstGlyph(BITMAP* b, int x0, int width, int y, int& character) {
  for (int x = x0; x < x0 + width; ++x) {
    int colour = rgb(b, x, y);
    if ((colour & 0xFFFF) == 0x64C8) {
      character = colour >> 16;
      return x - x0;
    }
  }
  return -1;
}

class HudTest : public testing::Test {
 protected:
  HudTest() {
    writeBlockFont(tree, "media/fonts/score_fnt.png");
    writeBlockFont(tree, "media/fonts/countdown_fnt.png");
    tree.writeSolidPng("media/gfx/static/score_back.png", 200, 30, 0, 0, 200);
    tree.writeSolidPng("media/gfx/static/countdown_back.png", 200, 24, 230, 230, 230);
    tree.writeSolidPng("media/gfx/static/life_pip.png", 15, 10, 255, 0, 0);
  }

  // Builds the Game for the level, lays it out and shows one frame on a
  // display bitmap of its own.
  BITMAP* frame(const LevelText& level, int lives = 3, int countdown = -1) {
    tree.writeLevel("level1.inf", level.str());
    game = std::make_unique<Game>(640, 480, 100);
    game->startLevel("level1.inf");
    game->beginLife();
    game->player.lives = lives;
    if (countdown != -1) game->countdown = countdown;
    shown.reset(create_bitmap(640, 480));
    clear_to_color(shown.get(), makecol(255, 255, 255));
    game->output.display = shown.get();
    game->drawFrame();
    return shown.get();
  }

  GameTree tree;
  std::unique_ptr<Game> game;
  BitmapPtr shown;
};

// A 200-pixel panel, 40-pixel text, pip_offset 10, 15-pixel pips 5 apart
// and 3 lives.
TEST_F(HudTest, ScoreTextAndPipsSitWhereTheAlignmentPutsThem) {
  struct Case {
    int align;
    int text;
    std::vector<int> pips;
  } cases[] = {{0, 0, {50, 70}}, {1, 110, {160, 180}}, {2, 55, {105, 125}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.align);
    LevelText level;
    level.scorePanel = "300 100 " + std::to_string(c.align);
    level.pips = "10 5";
    BITMAP* b = frame(level);
    int character = 0;
    EXPECT_EQ(firstGlyph(b, 300, 200, 100 + 5, character), c.text);
    EXPECT_EQ(character, '0');
    EXPECT_EQ(firstGlyph(b, 300, 200, 100 + 4, character), -1) << "text row is (30 - 20) / 2";
    EXPECT_EQ(runStarts(b, 300, 200, 100 + 10, pipRed), c.pips);
    EXPECT_TRUE(runStarts(b, 300, 200, 100 + 9, pipRed).empty()) << "pip row is (30 - 10) / 2";
    EXPECT_EQ(rgb(b, 300 + 199, 100 + 29), panelBlue);
  }
}

TEST_F(HudTest, OnePipPerSpareLife) {
  struct Case {
    int lives;
    std::vector<int> pips;
  } cases[] = {{1, {}}, {2, {50}}, {4, {50, 70, 90}}};
  for (const Case& c : cases) {
    LevelText level;
    level.scorePanel = "300 100 0";
    BITMAP* b = frame(level, c.lives);
    EXPECT_EQ(runStarts(b, 300, 200, 110, pipRed), c.pips) << c.lives;
  }
}

// Left and right pips are drawn masked, ignoring their alpha; centred ones
// are blended through it.
TEST_F(HudTest, OnlyCentredPipsAreBlended) {
  tree.writeSolidPng("media/gfx/static/life_pip.png", 15, 10, 255, 0, 0, 128);
  struct Case {
    int align;
    int firstPip;
    bool blended;
  } cases[] = {{0, 50, false}, {1, 160, false}, {2, 105, true}};
  for (const Case& c : cases) {
    LevelText level;
    level.scorePanel = "300 100 " + std::to_string(c.align);
    BITMAP* b = frame(level);
    int pixel = rgb(b, 300 + c.firstPip + 7, 115);
    if (c.blended) {
      EXPECT_NEAR(pixel >> 16, 128, 3) << c.align;
      EXPECT_NEAR(pixel & 255, 100, 3) << c.align;
    } else {
      EXPECT_EQ(pixel, pipRed) << c.align;
    }
  }
}

TEST_F(HudTest, CountdownIsPlacedByItsAlignmentWithItsSign) {
  struct Case {
    int align;
    int countdown;
    int text;
    int firstCharacter;
  } cases[] = {{0, 500, 0, '5'}, {1, 500, 110, '5'}, {2, 500, 55, '5'}, {0, -100, 0, '-'},
               {1, -100, 100, '-'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.countdown);
    LevelText level;
    level.countdownPanel = "20 30 " + std::to_string(c.align);
    BITMAP* b = frame(level, 3, c.countdown);
    int character = 0;
    EXPECT_EQ(firstGlyph(b, 20, 200, 30 + 2, character), c.text) << c.align;
    EXPECT_EQ(character, c.firstCharacter);
    EXPECT_EQ(firstGlyph(b, 20, 200, 30 + 1, character), -1) << "text row is (24 - 20) / 2";
    EXPECT_EQ(rgb(b, 20 + 199, 30), 0xE6E6E6);
  }
}

// Alignments other than 0, 1 and 2 leave their panel out; the other panel
// and the rest of the frame are drawn as usual.
TEST_F(HudTest, PanelsWithOtherAlignmentsAreHidden) {
  struct Case {
    const char* countdownPanel;
    const char* scorePanel;
    bool countdownShown;
    bool scoreShown;
  } cases[] = {{"20 30 3", "300 100 0", false, true},
               {"20 30 0", "300 100 -1", true, false},
               {"20 30 2000000", "300 100 -2147483648", false, false}};
  for (const Case& c : cases) {
    LevelText level;
    level.countdownPanel = c.countdownPanel;
    level.scorePanel = c.scorePanel;
    BITMAP* b = frame(level);
    EXPECT_EQ(rgb(b, 20 + 199, 30), c.countdownShown ? 0xE6E6E6 : background) << c.countdownPanel;
    EXPECT_EQ(rgb(b, 300 + 199, 100), c.scoreShown ? panelBlue : background) << c.scorePanel;
  }
}

// Later layers cover earlier ones: an item over a ladder, a floor tile over
// the item, an enemy over the tile and the player over the enemy.
TEST_F(HudTest, LayersCoverInDrawingOrder) {
  LevelText level;
  level.countdownPanel = "0 0 3";
  level.scorePanel = "0 0 3";
  level.start = "118 111 1";
  level.ladders = {"100 100 32 rungs"};
  level.items = {"100 100 gem 5"};
  level.tiles = {"96 104 brick brick_clear 1 10"};
  level.enemies = {"112 111 0 0 600 0 0 0 blob 100 50"};
  BITMAP* b = frame(level);
  EXPECT_EQ(rgb(b, 100, 120), 0x8C5A1E) << "ladder alone";
  EXPECT_EQ(rgb(b, 100, 100), 0xFADC00) << "item over ladder";
  EXPECT_EQ(rgb(b, 100, 105), 0x965028) << "tile over item and ladder";
  EXPECT_EQ(rgb(b, 107, 108), 0xB40000) << "enemy over tile";
  EXPECT_EQ(rgb(b, 112, 108), 0x28C828) << "player over enemy";

  // Each frame starts from the background: the player leaves no trace.
  game->player.setPosition(300.0f, 400.0f);
  game->drawFrame();
  EXPECT_EQ(rgb(b, 112, 108), 0xB40000);
  EXPECT_EQ(rgb(b, 120, 95), background);
}

TEST_F(HudTest, MissingPictureOrFontEndsTheProgramNamingItsPath) {
  for (const char* path :
       {"media/gfx/static/back.png", "media/gfx/static/countdown_back.png",
        "media/gfx/static/score_back.png", "media/gfx/static/life_pip.png",
        "media/fonts/countdown_fnt.png", "media/fonts/score_fnt.png"}) {
    SCOPED_TRACE(path);
    std::string moved = std::string(path) + ".away";
    std::rename(path, moved.c_str());
    std::string message = std::string("Error loading \"") + path + "\".";
    std::remove("failure.log");
    EXPECT_EXIT(
        {
          setenv("PWE_LOG", "1", 1);
          log_open("failure.log");
          Game failing(640, 480, 100);
        },
        testing::ExitedWithCode(1), message);
    std::ifstream log("failure.log");
    std::string line, last;
    while (std::getline(log, line)) last = line;
    EXPECT_EQ(last, message);
    std::rename(moved.c_str(), path);
  }
}

}  // namespace
