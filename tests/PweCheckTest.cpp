// pwe-check run as its users run it: on broken copies of a small complete
// media tree, each broken in one way, asserting every line it prints and
// its exit status.
#include <allegro.h>
#include <gtest/gtest.h>
#include <loadpng.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "game/Game.h"
#include "tests/support/CaseName.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/FileBytes.h"

namespace fs = std::filesystem;

namespace {

// A small level using every kind of element, each line one header row,
// count or record, so positions in the expectations read off easily. A
// floor across the screen and a tile above it hold every element where it
// can be used, so the level keeps the layout rules.
const std::vector<std::string> miniLevel = {
    "3000",                                    // 1 countdown_start
    "10 10 0",                                 // 2 countdown panel
    "400 10 0",                                // 3 score panel
    "10 5",                                    // 4 pips
    "100 299 1",                               // 5 player start
    "2",                                       // 6 tiles
    "0 300 floor floor_clear 1 10",            // 7 640 wide
    "192 236 brick brick_clear 1 10",          // 8
    "1",                                       // 9 ladders
    "200 236 64 rungs",                        // 10
    "1",                                       // 11 chutes
    "224 236 64 16 1 step",                    // 12
    "1",                                       // 13 enemies
    "400 299 1 300 500 1.5 1 0 blob 300 50",   // 14
    "1",                                       // 15 items
    "150 280 gem 25",                          // 16
    "2",                                       // 17 teleporters
    "40 268 pad pad_cool 1",                   // 18
    "500 268 pad pad_cool 2",                  // 19
};

// The mini level with some lines replaced (1-based line numbers), written
// as level1.inf; lines past the end of "keep" are dropped.
void writeMiniLevel(GameTree& tree, const std::map<int, std::string>& replaced = {},
                    size_t keep = miniLevel.size()) {
  std::string text;
  for (size_t i = 0; i < keep; ++i) {
    auto line = replaced.find(static_cast<int>(i) + 1);
    text += (line == replaced.end() ? miniLevel[i] : line->second) + "\n";
  }
  tree.writeLevel("level1.inf", text);
  tree.writeSolidPng("media/gfx/static/floor tiles/normal/floor.png", 640, 8, 150, 80, 40);
  tree.writeSolidPng("media/gfx/static/floor tiles/clear/floor_clear.png", 640, 8, 60, 160, 60);
}

// A 24-bit PNG has no alpha channel.
void writeOpaquePng(const std::string& path, int width, int height, int r, int g, int b) {
  BITMAP* bitmap = create_bitmap_ex(24, width, height);
  clear_to_color(bitmap, makecol24(r, g, b));
  save_png(path.c_str(), bitmap, nullptr);
  destroy_bitmap(bitmap);
}

struct BrokenTree {
  const char* name;
  std::function<void(GameTree&)> breakIt;
  std::vector<std::string> expected;  // every line, in order
  bool engineStops;  // the engine ends with a data failure on this tree
};

const BrokenTree brokenTrees[] = {
    {"number with trailing letters",
     [](GameTree& t) { writeMiniLevel(t, {{8, "32 3OO brick brick_clear 1 10"}}); },
     {"media/level1.inf:8:4: '3OO' is not an integer for y of tile 2: the engine reads 3 and "
      "takes 'OO' as the next value"},
     true},
    {"word where a number belongs",
     [](GameTree& t) { writeMiniLevel(t, {{14, "100 299 1 50 200 fast 1 0 blob 300 50"}}); },
     {"media/level1.inf:14:18: expected a number for speed of enemy 1, found 'fast'; the engine "
      "reads nothing after it"},
     true},
    {"trailing token",
     [](GameTree& t) { writeMiniLevel(t, {{19, "500 268 pad pad_cool 2 0"}}); },
     {"media/level1.inf:19:24: unexpected '0' after the last record: the engine does not read "
      "it"},
     false},
    {"file ends inside the tiles",
     [](GameTree& t) { writeMiniLevel(t, {}, 7); },
     {"media/level1.inf:7:29: file ends early: expected x of tile 2 (the count at 6:1 announces "
      "2 tiles)"},
     true},
    {"file ends in the header",
     [](GameTree& t) { writeMiniLevel(t, {{5, "100 299"}}, 5); },
     {"media/level1.inf:5:8: file ends early: expected start_animation"},
     false},
    {"count above 10000",
     [](GameTree& t) { writeMiniLevel(t, {{6, "10001"}}); },
     {"media/level1.inf:6:1: tile count 10001 is above 10000: the engine rejects the level"},
     true},
    {"negative count",
     [](GameTree& t) { writeMiniLevel(t, {{15, "-2"}}); },
     {"media/level1.inf:15:1: item count -2 is negative: the engine rejects the level"},
     true},
    {"names that match nothing",
     [](GameTree& t) {
       writeMiniLevel(t, {{7, "0 300 Brick brick_clear 1 10"},
                          {10, "200 236 64 ladder"},
                          {12, "300 236 64 16 1 stair"},
                          {14, "100 299 1 50 200 1.5 1 0 Blob 300 50"},
                          {16, "150 280 gems 25"},
                          {19, "500 268 pad Pad_cool 2"}});
     },
     {"media/level1.inf:7:7: no floor tile image named 'Brick'; did you mean 'brick'?",
      "media/level1.inf:10:12: no ladder image named 'ladder'",
      "media/level1.inf:12:17: no chute image named 'stair'",
      "media/level1.inf:14:26: no enemy kind named 'Blob' (no Blob.nme); did you mean 'blob'?",
      "media/level1.inf:16:9: no item image named 'gems'",
      "media/level1.inf:19:13: no teleporter cooldown image named 'Pad_cool'; did you mean "
      "'pad_cool'?"},
     true},
    {"image file named with capitals",
     [](GameTree& t) {
       t.remove("media/gfx/static/floor tiles/clear/brick_clear.png");
       t.writeSolidPng("media/gfx/static/floor tiles/clear/Brick_Clear.png", 32, 8, 60, 160, 60);
       t.writeSolidPng("media/gfx/static/floor tiles/clear/brick_clear.PNG", 32, 8, 60, 160, 60);
       for (const char* level : {"level2.inf", "level3.inf", "level4.inf"}) {
         t.writeLevel(level, GameTree::simpleLevel());
       }
       for (const char* level : {"level1.inf", "level2.inf", "level3.inf", "level4.inf"}) {
         t.writeLevel(level, "3000 10 10 0 400 10 0 10 5 100 299 1\n"
                             "1 0 300 brick brick_clear 1 10\n0 0 0 0 0\n");
       }
     },
     {"media/level1.inf:2:15: no cleared floor tile image named 'brick_clear'; did you mean "
      "'Brick_Clear'?",
      "media/level2.inf:2:15: no cleared floor tile image named 'brick_clear'; did you mean "
      "'Brick_Clear'?",
      "media/level3.inf:2:15: no cleared floor tile image named 'brick_clear'; did you mean "
      "'Brick_Clear'?",
      "media/level4.inf:2:15: no cleared floor tile image named 'brick_clear'; did you mean "
      "'Brick_Clear'?"},
     true},
    {"start animation out of range",
     [](GameTree& t) { writeMiniLevel(t, {{5, "100 299 5"}}); },
     {"media/level1.inf:5:9: start_animation 5 is not a player animation (0 to 4)"},
     true},
    {"negative start animation",
     [](GameTree& t) { writeMiniLevel(t, {{5, "100 299 -1"}}); },
     {"media/level1.inf:5:9: start_animation -1 is not a player animation (0 to 4)"},
     true},
    {"elements off the screen",
     [](GameTree& t) {
       writeMiniLevel(t, {{2, "600 10 3"},  // hidden: never drawn, so never off screen
                          {3, "600 10 0"},
                          {5, "100 480 1"},
                          {8, "620 300 brick brick_clear 1 10"},
                          {10, "200 436 64 rungs"},
                          {12, "30 236 64 16 0 step"},
                          {14, "100 299 1 50 700 1.5 1 0 blob 300 50"},
                          {16, "636 280 gem 25"},
                          {18, "40 -1 pad pad_cool 1"}});
     },
     {"media/level1.inf:3:1: the score panel (200x20 at 600, 10) is not wholly on the 640x480 "
      "screen",
      "media/level1.inf:5:1: the player start (100, 480) is off the 640x480 screen",
      "media/level1.inf:8:1: tile 2 ('brick', 32x8 at 620, 300) is not wholly on the 640x480 "
      "screen",
      "media/level1.inf:10:1: ladder 1 (16x64 at 200, 436) is not wholly on the 640x480 screen",
      "media/level1.inf:12:1: chute 1 (64x64 at -18, 236) is not wholly on the 640x480 screen",
      "media/level1.inf:14:11: the patrol of enemy 1 (50 to 700) leaves the 640x480 screen",
      "media/level1.inf:16:1: item 1 ('gem', 8x8 at 636, 280) is not wholly on the 640x480 "
      "screen",
      "media/level1.inf:18:1: teleporter 1 ('pad', 24x32 at 40, -1) is not wholly on the "
      "640x480 screen"},
     false},
    {"screen size from the configuration",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg", "[display]\nwidth = 800\nheight = 600\n");
       writeMiniLevel(t, {{7, "620 300 brick brick_clear 1 10"},
                          {8, "790 300 brick brick_clear 1 10"}});
     },
     {"media/level1.inf:8:1: tile 2 ('brick', 32x8 at 790, 300) is not wholly on the 800x600 "
      "screen"},
     false},
    {"teleporter number 0 and a repeated number",
     [](GameTree& t) {
       t.writeText("media/level1.inf",
                   [] {
                     std::string text;
                     for (size_t i = 0; i < 16; ++i) text += miniLevel[i] + "\n";
                     return text + "3\n40 268 pad pad_cool 0\n500 268 pad pad_cool 1\n"
                                   "300 100 pad pad_cool 1\n";
                   }());
     },
     {"media/level1.inf:18:21: warning: teleporter number 0 cannot be reached: on a level with 3 "
      "teleporters the keys reach 1 to 3",
      "media/level1.inf:20:22: teleporter number 1 of teleporter 3 repeats that of teleporter 2 "
      "(at 19:22): only the first is ever a destination"},
     false},
    {"values that must be 0 or 1",
     [](GameTree& t) {
       writeMiniLevel(t, {{7, "0 300 brick brick_clear 2 10"},
                          {14, "100 299 2 50 200 1.5 1 3 blob 300 50"}});
     },
     {"media/level1.inf:7:25: claimable of tile 1 must be 0 or 1, found 2",
      "media/level1.inf:14:9: direction of enemy 1 must be 0 or 1, found 2",
      "media/level1.inf:14:24: state of enemy 1 must be 0 or 1, found 3"},
     false},
    {"numbers the engine only compares, far beyond a million",
     [](GameTree& t) {
       writeMiniLevel(t, {{2, "10 10 2000000"},
                          {3, "400 10 -2000000"},
                          {7, "0 300 brick brick_clear 2000000 10"},
                          {12, "300 236 64 16 -2000000 step"},
                          {14, "100 299 2000000 50 200 1.5 2000000 -2000000 blob 2000000 50"},
                          {19, "500 268 pad pad_cool 2000000"}});
     },
     {"media/level1.inf:7:25: claimable of tile 1 must be 0 or 1, found 2000000",
      "media/level1.inf:14:9: direction of enemy 1 must be 0 or 1, found 2000000",
      "media/level1.inf:14:36: state of enemy 1 must be 0 or 1, found -2000000",
      "media/level1.inf:19:22: warning: teleporter number 2000000 cannot be reached: on a level "
      "with 2 teleporters the keys reach 1 to 2"},
     false},
    {"start animation far beyond the player's",
     [](GameTree& t) { writeMiniLevel(t, {{5, "100 299 2000000"}}); },
     {"media/level1.inf:5:9: start_animation 2000000 is not a player animation (0 to 4)"},
     true},
    {"enemy speed beyond a million",
     [](GameTree& t) {
       writeMiniLevel(t, {{13, "2"},
                          {14, "100 299 1 50 200 1000000.5 1 0 blob 300 50\n"
                               "100 299 1 50 200 -2e6 1 0 blob 300 50"}});
     },
     {"media/level1.inf:14:18: speed of enemy 1 1000000.5 is outside -1000000 to 1000000: the "
      "engine rejects the level",
      "media/level1.inf:15:18: speed of enemy 2 -2000000 is outside -1000000 to 1000000: the "
      "engine rejects the level"},
     true},
    {"ladder and chute that cannot be drawn",
     [](GameTree& t) {
       writeMiniLevel(t, {{10, "200 236 0 rungs"}, {12, "300 236 64 -40 1 step"},
                          {14, "100 299 1 300 200 1.5 1 0 blob 300 50"}});
     },
     {"media/level1.inf:10:9: height of ladder 1 must be above 0, found 0: the ladder is "
      "neither drawn nor climbable",
      "media/level1.inf:12:12: dx -40 of chute 1 makes it -104 pixels wide: the chute is not "
      "drawn",
      "media/level1.inf:14:11: min_x 300 of enemy 1 is above its max_x 200"},
     false},
    {"masked images with wrong transparent pixels",
     [](GameTree& t) {
       const int clear = makeacol32(0, 0, 0, 0);
       const int wood = makeacol32(140, 90, 30, 255);
       t.writePng("media/gfx/static/ladders/rungs.png", 16, 16, [=](int x, int y) {
         return (x < 2 || x > 13 || y % 4 == 0) ? wood : clear;
       });
       t.writePng("media/gfx/static/score_back.png", 200, 20, [](int x, int y) {
         return x == 5 && y == 3 ? makeacol32(230, 230, 230, 128) : makeacol32(230, 230, 230, 255);
       });
     },
     {"media/gfx/static/score_back.png:4:6: 1 pixel is partially transparent (alpha 1 to 254): "
      "masked drawing shows it opaque",
      "media/gfx/static/ladders/rungs.png:2:3: 144 transparent pixels (alpha 0) are not the mask "
      "colour 0x00FF00FF (255, 0, 255, alpha 0): masked drawing shows them"},
     false},
    {"alpha-drawn image without an alpha channel",
     [](GameTree&) { writeOpaquePng("media/gfx/static/items/gem.png", 8, 8, 250, 220, 0); },
     {"media/gfx/static/items/gem.png:0:0: has no alpha channel: the engine draws it by its own "
      "alpha, so none of it shows"},
     false},
    {"frame count that is not a number",
     [](GameTree& t) {
       t.writeText("media/gfx/anim/player/walk_left.anm", "walk_left x 4 4 4 4\n");
     },
     {"media/gfx/anim/player/walk_left.anm:1:11: expected an integer for the frame count, found "
      "'x'"},
     true},
    {"frame count below 1",
     [](GameTree& t) { t.writeText("media/gfx/anim/player/walk_left.anm", "walk_left 0\n"); },
     {"media/gfx/anim/player/walk_left.anm:1:11: frame count 0 is not between 1 and 10000"},
     true},
    {"fewer durations than frames, and a word among them",
     [](GameTree& t) {
       t.writeText("media/gfx/anim/player/walk_left.anm", "walk_left 4 6 six 6\n");
     },
     {"media/gfx/anim/player/walk_left.anm:1:15: expected an integer for the duration of frame "
      "1, found 'six'",
      "media/gfx/anim/player/walk_left.anm:1:20: file ends early: expected the duration of frame "
      "3 (the frame count at 1:11 is 4)"},
     true},
    {"more durations than frames",
     [](GameTree& t) {
       t.writeText("media/gfx/anim/player/walk_left.anm", "walk_left 4 6 6 6 6 6\n");
     },
     {"media/gfx/anim/player/walk_left.anm:1:21: unexpected '6' after the last duration: the "
      "engine does not read it"},
     false},
    {"missing frames",
     [](GameTree& t) {
       t.remove("media/gfx/anim/player/walk_left/1.png");
       t.remove("media/gfx/anim/player/walk_left/2.png");
       t.remove("media/gfx/anim/enemy/blob_vr/0.png");
     },
     {"media/gfx/anim/enemy/blob_vr.anm:1:1: frame 0 is missing: "
      "media/gfx/anim/enemy/blob_vr/0.png",
      "media/gfx/anim/player/walk_left.anm:1:1: frames 1 to 2 are missing: "
      "media/gfx/anim/player/walk_left/1.png to media/gfx/anim/player/walk_left/2.png"},
     true},
    {"missing animation description",
     [](GameTree& t) { t.remove("media/gfx/anim/player/climb.anm"); },
     {"media/player.inf:1:22: no animation 'climb': media/gfx/anim/player/climb.anm is "
      "missing"},
     true},
    {"enemy definition with three names",
     [](GameTree& t) { t.writeText("media/gfx/anim/enemy/blob.nme", "blob_l blob_r blob_vl\n"); },
     {"media/gfx/anim/enemy/blob.nme:1:22: file ends early: expected the animation of state 1 "
      "walking right (an enemy definition names four animations)"},
     true},
    {"enemy definition naming a missing animation",
     [](GameTree& t) {
       t.writeText("media/gfx/anim/enemy/blob.nme", "blob_l blob_r blob_vl\nblob_gone\n");
     },
     {"media/gfx/anim/enemy/blob.nme:2:1: no animation 'blob_gone': "
      "media/gfx/anim/enemy/blob_gone.anm is missing"},
     true},
    {"no enemy definitions",
     [](GameTree& t) { t.remove("media/gfx/anim/enemy/blob.nme"); },
     {"media/gfx/anim/enemy:0:0: no .nme enemy definitions: the engine needs at least one"},
     true},
    {"pictures, fonts and sounds missing or unreadable",
     [](GameTree& t) {
       t.remove("media/gfx/static/life_pip.png");
       t.writeText("media/fonts/countdown_fnt.png", "not a picture");
       t.remove("media/fonts/score_fnt.png");
       t.remove("media/audio/walk.wav");
       t.writeText("media/audio/jump.wav", "not a sound");
     },
     {"media/gfx/static/life_pip.png:0:0: missing picture",
      "media/fonts/countdown_fnt.png:0:0: is not a PNG file",
      "media/fonts/score_fnt.png:0:0: missing font", "media/audio/walk.wav:0:0: missing sound",
      "media/audio/jump.wav:0:0: is not a WAV file"},
     true},
    {"empty image directory and an image that does not load",
     [](GameTree& t) {
       t.remove("media/gfx/static/chutes");
       t.writeText("media/gfx/static/items/junk.png", "not a picture");
       t.writeLevel("level1.inf", GameTree::simpleLevel());
     },
     {"media/gfx/static/items/junk.png:0:0: is not a PNG file",
      "media/gfx/static/chutes:0:0: no .png images: the engine needs at least one chute image"},
     true},
    {"pictures and sounds whose headers promise more than they hold",
     [](GameTree&) {
       writeBytes("media/gfx/static/back.png", pngBytes({30000, 30000}));
       writeBytes("media/gfx/static/items/gem.png", pngBytes({40000, 2}));
       writeBytes("media/fonts/score_fnt.png", pngBytes({0, 8}));
       writeBytes("media/gfx/anim/player/climb/0.png", pngBytes({8, 8, 3, 6}));
       writeBytes("media/audio/item.wav", wavBytes(0xFFFF485Au, 40));
     },
     {"media/gfx/static/items/gem.png:0:0: declares 40000 x 2 pixels: no side of a picture may "
      "be over 32767 pixels",
      "media/gfx/static/back.png:0:0: declares 30000 x 30000 pixels: more than the 2048 MiB a "
      "picture may take",
      "media/fonts/score_fnt.png:0:0: has a damaged PNG header: it declares 0 x 8 pixels",
      "media/audio/item.wav:0:0: declares 4294920282 bytes of sound data but holds 40",
      "media/gfx/anim/player/climb/0.png:0:0: has a damaged PNG header: its colour format is not "
      "one PNG knows"},
     true},
    {"player.inf with malformed and missing values",
     [](GameTree& t) { t.writePlayerInf("16.5 24 2 fast 2 2 1 0.5 40"); },
     {"media/player.inf:1:47: expected an integer for the width, found '16.5'",
      "media/player.inf:1:57: expected a number for the fall speed, found 'fast'",
      "media/player.inf:1:74: file ends early: expected the greatest survivable drop (player.inf "
      "holds 15 values)"},
     false},
    {"numbers beyond a million",
     [](GameTree& t) { writeMiniLevel(t, {{1, "1000001"}, {8, "32 300 brick brick_clear 1 -2000000"}}); },
     {"media/level1.inf:1:1: countdown_start 1000001 is outside -1000000 to 1000000: the engine "
      "rejects the level",
      "media/level1.inf:8:28: points of tile 2 -2000000 is outside -1000000 to 1000000: the "
      "engine rejects the level"},
     true},
    {"player size beyond a million",
     [](GameTree& t) { t.writePlayerInf("16 2000000 2 2 2 2 1 0.5 40 100"); },
     {"media/player.inf:1:50: the height 2000000 is outside -1000000 to 1000000: the engine "
      "stops with \"Error loading player.inf\""},
     true},
    {"text Allegro cannot read",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg", "[display]\nmode = win\xfe\x80" "dowed\n");
       t.writeText("media/gfx/anim/player/climb.anm", "cl\xffimb 2 4 4\n");
     },
     {"media/pwe.cfg:2:11: byte 20 starts a character that cannot be read: the engine stops",
      "media/gfx/anim/player/climb.anm:1:1: the frame directory is not UTF-8 text: the engine "
      "stops"},
     true},
    {"player.inf with a sixteenth value",
     [](GameTree& t) { t.writePlayerInf("16 24 2 2 2 2 1 0.5 40 100 7"); },
     {"media/player.inf:1:74: unexpected '7' after the 15 values: the engine does not read it"},
     false},
    {"no player.inf",
     [](GameTree& t) { t.remove("media/player.inf"); },
     {"media/player.inf:0:0: missing: the engine stops with \"Error loading player.inf\""},
     true},
    {"configuration values the engine refuses",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg",
                   "[display]\nwidth = 0\nheight = 0x1E0\n[mechanics]\n"
                   "updates_per_second = 2000000\n[keyboard]\nleft = 127\njump = 7S\n"
                   "[sound]\nvolume = 300\n");
     },
     {"media/pwe.cfg:2:9: [display] width 0 is not a screen side in pixels (1 to 32767): the "
      "engine stops with \"Couldn't set graphics mode!\"",
      "media/pwe.cfg:3:10: '0x1E0' for [display] height reads as 480 (a leading 0 means octal, "
      "0x hexadecimal)",
      "media/pwe.cfg:5:22: [mechanics] updates_per_second 2000000 is not a tick rate (1 to "
      "1193181): the engine uses 100, the default",
      "media/pwe.cfg:7:8: [keyboard] left 127 is not a key scan code (0 to 126): the engine uses "
      "82, the default",
      "media/pwe.cfg:8:8: '7S' for [keyboard] jump is not a whole number: the engine reads 7",
      "media/pwe.cfg:10:10: [sound] volume 300 is not a volume (0 to 255): the engine uses 255, "
      "the default"},
     false},
    {"joystick settings no joystick can have",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg", "[joystick]\njump = 32\ndead_zone = 129\n");
     },
     {"media/pwe.cfg:2:8: [joystick] jump 32 is not a joystick button (0 to 31): the engine "
      "uses 0, the default",
      "media/pwe.cfg:3:13: [joystick] dead_zone 129 is not a dead zone (0 to 128): the engine "
      "uses 48, the default"},
     false},
    {"an editor setting out of its range",
     [](GameTree& t) { t.writeText("media/pwe.cfg", "[editor]\nbackups = 2\n"); },
     {"media/pwe.cfg:2:11: [editor] backups 2 is not 0 or 1 (0 keeps no backup, 1 has the first "
      "save keep FILE~): the editor takes it as 1"},
     false},
    {"screens no display can show",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg", "[display]\nmode = fullscreen\nwidth = 30000\nheight = 30000\n");
     },
     {"media/pwe.cfg:3:9: a 30000 x 30000 full screen at 32 bits a pixel needs more memory than "
      "Allegro can size: the engine stops with \"Couldn't set graphics mode!\""},
     false},
    {"a screen side beyond what a display can show",
     [](GameTree& t) { t.writeText("media/pwe.cfg", "[display]\nwidth = 40000\n"); },
     {"media/pwe.cfg:2:9: [display] width 40000 is not a screen side in pixels (1 to 32767): the "
      "engine stops with \"Couldn't set graphics mode!\""},
     false},
    {"a scale below 0 and a pause key off the keyboard",
     [](GameTree& t) {
       t.writeText("media/pwe.cfg", "[display]\nscale = -1\n[keyboard]\npause = 200\n");
     },
     {"media/pwe.cfg:2:9: [display] scale -1 is not a scale (0 or more): the engine uses 1, the "
      "default",
      "media/pwe.cfg:4:9: [keyboard] pause 200 is not a key scan code (0 to 126): the engine uses "
      "16, the default"},
     false},
    {"a focus loss choice there is not",
     [](GameTree& t) { t.writeText("media/pwe.cfg", "[game]\npause_on_focus_loss = 3\n"); },
     {"media/pwe.cfg:2:23: [game] pause_on_focus_loss 3 is not a focus-loss choice (0 to 2): the "
      "engine uses 1, the default"},
     false},
    {"a scale that makes the window too wide for any display",
     [](GameTree& t) { t.writeText("media/pwe.cfg", "[display]\nscale = 60\n"); },
     {"media/pwe.cfg:0:0: a 640 x 480 window at scale 60 is beyond 32767 pixels a side, the most "
      "a display can show: the engine stops with \"Couldn't set graphics mode!\""},
     false},
    {"missing level file",
     [](GameTree& t) { t.remove("media/level3.inf"); },
     {"media/level3.inf:0:0: missing: the engine stops with \"Error loading \"level3.inf\"\""},
     true},
};

// Names the case instead of dumping its bytes when one fails.
void PrintTo(const BrokenTree& tree, std::ostream* out) { *out << tree.name; }

class PweCheckBroken : public testing::TestWithParam<BrokenTree> {};

TEST_P(PweCheckBroken, ReportsEveryProblemAndFails) {
  GameTree tree;
  writeMiniLevel(tree);
  GetParam().breakIt(tree);
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines, GetParam().expected);
  EXPECT_EQ(run.status, 1);
}

// The engine's own loading of the same tree, as far as a run goes before
// play: the Game is built and every level is loaded and placed once.
void loadLikeTheEngine() {
  {
    Game game(640, 480, 100);
    for (const char* level : {"level1.inf", "level2.inf", "level3.inf", "level4.inf"}) {
      game.startLevel(level);
      game.beginLife();
    }
  }
  std::exit(0);
}

// The checker reports what the engine refuses: every tree that stops the
// engine also fails the check (asserted above).
class PweCheckAgreement : public testing::TestWithParam<BrokenTree> {};

TEST_P(PweCheckAgreement, EngineStopsOnTheTree) {
  GameTree tree;
  writeMiniLevel(tree);
  GetParam().breakIt(tree);
  EXPECT_EXIT(loadLikeTheEngine(), testing::ExitedWithCode(1), "");
}

std::vector<BrokenTree> engineStopping() {
  std::vector<BrokenTree> trees;
  for (const BrokenTree& tree : brokenTrees) {
    if (tree.engineStops) trees.push_back(tree);
  }
  return trees;
}

INSTANTIATE_TEST_SUITE_P(Trees, PweCheckBroken, testing::ValuesIn(brokenTrees),
                         caseName<BrokenTree>);
INSTANTIATE_TEST_SUITE_P(Trees, PweCheckAgreement, testing::ValuesIn(engineStopping()),
                         caseName<BrokenTree>);

TEST(PweCheck, CleanTreesPass) {
  GameTree tree;
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines, std::vector<std::string>{});
  EXPECT_EQ(run.status, 0);

  // Every kind of element, a colour-keyed masked image without alpha,
  // settings in range and a teleporter number on the last key.
  writeMiniLevel(tree);
  writeOpaquePng("media/gfx/static/ladders/rungs.png", 16, 16, 255, 0, 255);
  tree.writeText("media/pwe.cfg",
                 "[display]\nmode = fullscreen\nwidth = 640\nheight = 480\n"
                 "[mechanics]\nupdates_per_second = 1193181\n[keyboard]\nleft = 126\n");
  run = runChecker();
  EXPECT_EQ(run.lines, std::vector<std::string>{});
  EXPECT_EQ(run.status, 0);
}

// A tree the checker passes is one the engine loads and places in full.
TEST(PweCheck, CleanTreesLoadInTheEngine) {
  GameTree tree;
  EXPECT_EXIT(loadLikeTheEngine(), testing::ExitedWithCode(0), "");
  writeMiniLevel(tree);
  writeOpaquePng("media/gfx/static/ladders/rungs.png", 16, 16, 255, 0, 255);
  EXPECT_EXIT(loadLikeTheEngine(), testing::ExitedWithCode(0), "");
}

// A picture larger than the screen loads, so it is only a warning: the
// check passes unless warnings are asked to count.
TEST(PweCheck, PicturesLargerThanTheScreenAreWarnings) {
  GameTree tree;
  tree.writeSolidPng("media/gfx/static/back.png", 1100, 500, 0, 0, 40);
  const std::vector<std::string> warning = {
      "media/gfx/static/back.png:0:0: warning: 1100 x 500 pixels is larger than the 640 x 480 "
      "screen; it takes 3 MiB of memory while the game runs"};
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines, warning);
  EXPECT_EQ(run.status, 0);
  run = runChecker("--werror");
  EXPECT_EQ(run.lines, warning);
  EXPECT_EQ(run.status, 1);
  // The screen it is measured against is the configured one.
  tree.writeText("media/pwe.cfg", "[display]\nwidth = 1100\nheight = 500\n");
  run = runChecker();
  EXPECT_EQ(run.lines, std::vector<std::string>{});
  EXPECT_EQ(run.status, 0);
  // Notes say what was proven and fail nothing, even with --werror.
  run = runChecker("--werror");
  EXPECT_FALSE(run.notes.empty());
  EXPECT_EQ(run.status, 0);
}

TEST(PweCheck, TeleporterNumbersEndWithTheKeyCodes) {
  GameTree tree;
  writeMiniLevel(tree);
  // 100 teleporters numbered 1 to 100: number 32 is Escape's and number 100
  // would need scan code 127.
  std::string text;
  for (size_t i = 0; i < 16; ++i) text += miniLevel[i] + "\n";
  text += "100\n";
  for (int i = 0; i < 100; ++i) {
    // Side by side on the floor, each one a pad the player can stand in.
    text += std::to_string(i * 6) + " 268 pad pad_cool " + std::to_string(i + 1) + "\n";
  }
  tree.writeLevel("level1.inf", text);
  // The search stops at its limit whatever that limit is: a short one
  // spares minutes under the sanitizers, where it is otherwise 300 s.
  const char* limit = std::getenv("PWE_SEARCH_SECONDS");
  const std::string before = limit == nullptr ? "" : limit;
  setenv("PWE_SEARCH_SECONDS", "4", 1);
  CheckRun run = runChecker();
  if (limit == nullptr) {
    unsetenv("PWE_SEARCH_SECONDS");
  } else {
    setenv("PWE_SEARCH_SECONDS", before.c_str(), 1);
  }
  // Pads 48 and 55 to 58 answer to the default jump and arrow keys; so many
  // pads are more than the reachability search can go through: it says
  // where it stopped.
  std::vector<std::string> expected = {
      "media/level1.inf:49:22: warning: teleporter number 32 answers to the Escape key, "
      "which ends the game instead"};
  const struct {
    int number;
    int code;  // the control's default key
    const char* control;
  } clashes[] = {{48, KEY_SPACE, "jump"},
                 {55, KEY_LEFT, "left"},
                 {56, KEY_RIGHT, "right"},
                 {57, KEY_UP, "up"},
                 {58, KEY_DOWN, "down"}};
  for (const auto& clash : clashes) {
    expected.push_back("media/level1.inf:" + std::to_string(17 + clash.number) +
                       ":22: warning: teleporter number " + std::to_string(clash.number) +
                       " answers to key scan code " + std::to_string(clash.code) +
                       ", the key for [keyboard] " + clash.control + ": that key does both");
  }
  expected.push_back(
      "media/level1.inf:117:22: warning: teleporter number 100 cannot be reached: it would need "
      "key scan code 127, and the codes end at 126");
  ASSERT_EQ(run.lines.size(), expected.size() + 1) << run.output;
  EXPECT_EQ(std::vector<std::string>(run.lines.begin(), run.lines.end() - 1), expected);
  const std::string& stopped = run.lines.back();
  EXPECT_EQ(stopped.rfind("media/level1.inf:0:0: warning: search stopped after ", 0), 0u)
      << stopped;
  EXPECT_NE(stopped.find(" states: which tiles and items can be reached is not known"),
            std::string::npos)
      << stopped;
  EXPECT_EQ(run.status, 0);
}

// A teleporter no key reaches can still be left: the engine plays it, so the
// check passes unless warnings are asked to count.
TEST(PweCheck, UnreachableTeleportersAreWarnings) {
  GameTree tree;
  writeMiniLevel(tree, {{18, "40 268 pad pad_cool 3"}, {19, "500 268 pad pad_cool -2000000"}});
  const std::vector<std::string> warnings = {
      "media/level1.inf:18:21: warning: teleporter number 3 cannot be reached: on a level with 2 "
      "teleporters the keys reach 1 to 2",
      "media/level1.inf:19:22: warning: teleporter number -2000000 cannot be reached: on a level "
      "with 2 teleporters the keys reach 1 to 2"};
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines, warnings);
  EXPECT_EQ(run.status, 0);
  run = runChecker("--werror");
  EXPECT_EQ(run.lines, warnings);
  EXPECT_EQ(run.status, 1);
  EXPECT_EXIT(loadLikeTheEngine(), testing::ExitedWithCode(0), "");
}

// A look named after a plain look plus a number shows that number (the
// shipped pad1 to gate9); showing another one misleads the player, which
// the engine does not mind.
TEST(PweCheck, LooksShowingAnotherNumberAreWarnings) {
  GameTree tree;
  const std::string dir = "media/gfx/static/transportation/teleporters/";
  // v1 follows no plain look "v": a name of the author's own, not a number shown.
  for (const char* look :
       {"normal/pad1.png", "normal/pad2.png", "normal/v1.png", "cooldown/pad_cool2.png"}) {
    tree.writeSolidPng(dir + look, GameTree::teleporterWidth, GameTree::teleporterHeight, 0, 200,
                       220, 128);
  }
  writeMiniLevel(tree, {{18, "40 268 pad2 pad_cool2 1"}, {19, "500 268 v1 pad_cool2 2"}});
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{
                "media/level1.inf:18:8: warning: teleporter 1 ('pad2') shows the number 2, not "
                "its own number 1; did you mean 'pad1'?",
                "media/level1.inf:18:13: warning: teleporter 1 ('pad_cool2') shows the number 2, "
                "not its own number 1"}));
  EXPECT_EQ(run.status, 0);
}

TEST(PweCheck, ReportsPathsAsTheTreeWasNamed) {
  GameTree tree;
  tree.remove("media/audio/item.wav");
  fs::rename("media", "levels");
  const std::string absolute = tree.root() + "/levels";
  for (const std::string& given : {std::string("levels"), std::string("levels/"), absolute}) {
    CheckRun run = runChecker("'" + given + "'");
    std::string shown = given.back() == '/' ? given.substr(0, given.size() - 1) : given;
    EXPECT_EQ(run.lines, std::vector<std::string>{shown + "/audio/item.wav:0:0: missing sound"})
        << given;
    EXPECT_EQ(run.status, 1);
  }
  // Without an argument the tree is media/ in the working directory.
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines, std::vector<std::string>{
                           "media:0:0: not a directory: give the directory that holds pwe.cfg "
                           "and the level files"});
  EXPECT_EQ(run.status, 1);
}

// Layout findings name the record they are about, and the record another
// element repeats; errors fail the check, warnings only with --werror.
TEST(PweCheck, LayoutFindingsNameTheirRecords) {
  GameTree tree;
  writeMiniLevel(tree, {{16, "150 100 gem 25"}});
  const std::string lure =
      "level1.inf:16:1: warning: item at 150, 100 ('gem'): no standing or climbing player "
      "touches it";
  // Nor does any other: the reachability search says so too.
  const std::string unreached =
      "level1.inf:16:1: warning: item at 150, 100 cannot be reached from the start position";
  const std::string near =
      "level1.inf:16:1: warning: item at 150, 100 is a near miss: the nearest the player gets is "
      "27 px to the right and 67 px below it: the highest jump from the floor at row 236 lifts "
      "the top of the player's frame to row 174";
  CheckRun run = runChecker();
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{"media/" + lure, "media/" + unreached, "media/" + near}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(runChecker("--werror").status, 1);

  writeMiniLevel(tree, {{10, "200 226 74 rungs"}, {16, "150 100 gem 25"},
                        {19, "40 268 pad pad_cool 2"}});
  const std::vector<std::string> expected = {
      "level1.inf:10:1: ladder at 200, 226: its top (row 226) has no floor within 2 rows", lure,
      "level1.inf:19:1: teleporter at 40, 268 is exactly on top of teleporter 1 (at 18:1)",
      unreached, near};
  run = runChecker();
  std::vector<std::string> shown;
  for (const std::string& line : expected) shown.push_back("media/" + line);
  EXPECT_EQ(run.lines, shown);
  EXPECT_EQ(run.status, 1);
  // A tree of another name is played through a link to it.
  fs::rename("media", "levels");
  run = runChecker("levels");
  shown.clear();
  for (const std::string& line : expected) shown.push_back("levels/" + line);
  EXPECT_EQ(run.lines, shown);
  EXPECT_EQ(run.status, 1);
}

// The media tree that ships with the engine must pass: no errors, and only
// the warnings its levels mean.
TEST(PweCheck, ShippedTreePasses) {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  fs::path root = source != nullptr ? fs::path(source)
                                    : fs::read_symlink("/proc/self/exe").parent_path() / "..";
  fs::path media = root / "media";
  if (source == nullptr || !fs::exists(media / "level1.inf")) {
    GTEST_SKIP() << "no shipped media tree at " << media;
  }
  CheckRun run = runChecker("'" + media.string() + "'");
  const std::string at = media.string() + "/";
  // How hard the route found is follows the route; the layout's own
  // warnings are the ones below.
  takeHardMoments(run);
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{
                // Stone Cavern: the top blob is meant to walk into a gap
                // and tumble down floor after floor.
                at + "level3.inf:186:1: warning: enemy at 150, 143: its patrol (120 to 440) "
                     "leaves its floor at 273, 143: it falls and goes on at row 303",
                // Overgrown Garden: the beetle is meant to drop off its
                // bank onto the floor below.
                at + "level4.inf:194:1: warning: enemy at 600, 223: its patrol (480 to 630) "
                     "leaves its floor at 575, 223: it falls and goes on at row 383"}));
  EXPECT_EQ(run.status, 0);
  // Each level proven with its enemies, its route replayed to a clear (a
  // route that did not would be an error above), and no press exact.
  std::vector<std::string> levels;
  for (int n = 1; n <= 4; ++n) levels.push_back(at + "level" + std::to_string(n) + ".inf");
  expectProvenWithoutExactPresses(run, levels);
  expectTightestPressNamed(run);
}

struct RouteFailure {
  const char* name;
  WriteFailure how;
};

const RouteFailure routeFailures[] = {
    {"a full disk", WriteFailure::fullDisk},
    {"a file cut off one byte short", WriteFailure::sizeLimit},
};

class PweCheckRouteWrite : public testing::TestWithParam<RouteFailure> {};

// A route that cannot be written whole fails the check with the reason,
// and the file it was to replace stays as it was.
TEST_P(PweCheckRouteWrite, SaysWhyAndKeepsTheOldFile) {
  GameTree tree;
  ASSERT_EQ(runChecker("--route level1.inf whole.replay").status, 0);
  const auto whole = static_cast<long long>(readFile("whole.replay").size());
  FailingWrites writes(GetParam().how);
  if (!writes.available()) GTEST_SKIP() << "this process may not mount a file system";
  const std::string route = writes.directory() + "/route.replay";
  const std::string old = "pwe-replay 1\nlevel level1.inf\nkeys\n1 R\n";  // the old route
  std::ofstream(route, std::ios::binary) << old;
  writes.arm(whole - 1);
  const CheckRun run = runChecker("--route level1.inf " + route);
  writes.disarm();
  EXPECT_EQ(run.lines, std::vector<std::string>{"media/level1.inf:0:0: no route is written: "
                                                "cannot write " + route + ": " + writes.reason()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(readFile(route), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(writes.directory()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, PweCheckRouteWrite, testing::ValuesIn(routeFailures),
                         caseName<RouteFailure>);

}  // namespace
