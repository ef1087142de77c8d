#include "tests/support/GameTree.h"

#include <sstream>

namespace {
const char* const playerNumbers = "16 24 2 2 2 2 1 0.5 40 100";
}

GameTree::GameTree() {
  writePlayerInf(playerNumbers);
  const std::string playerDir = "media/gfx/anim/player/";
  writeAnimation(playerDir, "walk_left", 4, playerWidth, playerHeight, 200, 40, 40);
  writeAnimation(playerDir, "walk_right", 4, playerWidth, playerHeight, 40, 200, 40);
  writeAnimation(playerDir, "climb", 2, playerWidth, playerHeight, 40, 40, 200);
  writeAnimation(playerDir, "air_left", 1, playerWidth, playerHeight, 200, 200, 40);
  writeAnimation(playerDir, "air_right", 1, playerWidth, playerHeight, 40, 200, 200);

  const std::string enemyDir = "media/gfx/anim/enemy/";
  writeText(enemyDir + "blob.nme", "blob_l blob_r blob_vl blob_vr\n");
  writeAnimation(enemyDir, "blob_l", 2, enemySize, enemySize, 180, 0, 0);
  writeAnimation(enemyDir, "blob_r", 2, enemySize, enemySize, 160, 0, 0);
  writeAnimation(enemyDir, "blob_vl", 2, enemySize, enemySize, 0, 0, 180);
  writeAnimation(enemyDir, "blob_vr", 2, enemySize, enemySize, 0, 0, 160);

  const std::string gfx = "media/gfx/static/";
  writeSolidPng(gfx + "floor tiles/normal/brick.png", tileWidth, tileHeight, 150, 80, 40);
  writeSolidPng(gfx + "floor tiles/clear/brick_clear.png", tileWidth, tileHeight, 60, 160, 60);
  const int magenta = makeacol32(255, 0, 255, 0);
  const int wood = makeacol32(140, 90, 30, 255);
  writePng(gfx + "ladders/rungs.png", ladderGraphic, ladderGraphic,
           [=](int x, int y) { return (x < 2 || x > 13 || y % 4 == 0) ? wood : magenta; });
  writePng(gfx + "chutes/step.png", chuteGraphic, chuteGraphic,
           [=](int x, int y) { return y < 4 || x == y ? wood : magenta; });
  writeSolidPng(gfx + "items/gem.png", itemSize, itemSize, 250, 220, 0);
  writeSolidPng(gfx + "transportation/teleporters/normal/pad.png", teleporterWidth,
                teleporterHeight, 0, 200, 220, 128);
  writeSolidPng(gfx + "transportation/teleporters/cooldown/pad_cool.png", teleporterWidth,
                teleporterHeight, 220, 60, 0, 128);
  writeSolidPng(gfx + "back.png", 640, 480, 20, 20, 40);
  writeSolidPng(gfx + "countdown_back.png", 100, 20, 230, 230, 230);
  writeSolidPng(gfx + "score_back.png", 200, 20, 230, 230, 230);
  writeSolidPng(gfx + "life_pip.png", 10, 10, 255, 40, 40);

  writeFont("media/fonts/countdown_fnt.png", 6, 8);
  writeFont("media/fonts/score_fnt.png", 6, 8);

  for (const char* sound : {"walk.wav", "jump.wav", "player_death_fall.wav",
                            "player_death_enemy.wav", "item.wav", "enemy_death.wav"}) {
    writeWav(std::string("media/audio/") + sound);
  }

  for (const char* level : {"level1.inf", "level2.inf", "level3.inf", "level4.inf"}) {
    writeLevel(level, simpleLevel());
  }
}

std::string GameTree::simpleLevel(int countdownStart) {
  std::ostringstream text;
  text << countdownStart << "\n"
       << "10 10 0\n"        // countdown panel
       << "400 10 0\n"       // score panel
       << "10 5\n"           // pips
       << "100 299 1\n"      // player start and animation
       << "20\n";            // tiles
  for (int i = 0; i < 20; ++i) text << i * tileWidth << " 300 brick brick_clear 1 10\n";
  text << "0\n0\n0\n0\n0\n";  // ladders, chutes, enemies, items, teleporters
  return text.str();
}

void GameTree::writePlayerInf(const std::string& numbers) {
  writeText("media/player.inf", "walk_left walk_right climb air_left air_right " + numbers + "\n");
}

void GameTree::writeAnimation(const std::string& dir, const std::string& name, int frames,
                              int width, int height, int r, int g, int b) {
  std::ostringstream anm;
  anm << name << " " << frames;
  for (int i = 0; i < frames; ++i) anm << " 4";
  writeText(dir + name + ".anm", anm.str() + "\n");
  for (int i = 0; i < frames; ++i) {
    // Frames differ by a shade so tests can tell which one is on show.
    writeSolidPng(dir + name + "/" + std::to_string(i) + ".png", width, height, r, g,
                  (b + 10 * i) % 256);
  }
}

void GameTree::writeFont(const std::string& path, int glyphWidth, int glyphHeight) {
  // Allegro's bitmap font grabber: the border colour is pixel (0, 0); each
  // glyph is a rectangle of other colours framed by it, read row by row.
  const int perRow = 16;
  const int glyphs = 126 - 32 + 1;
  const int rows = (glyphs + perRow - 1) / perRow;
  const int border = makeacol32(255, 255, 0, 255);
  const int empty = makeacol32(255, 0, 255, 0);
  const int ink = makeacol32(0, 0, 0, 255);
  const int cellW = glyphWidth + 1;
  const int cellH = glyphHeight + 1;
  writePng(path, perRow * cellW + 1, rows * cellH + 1, [=](int x, int y) {
    if (x % cellW == 0 || y % cellH == 0) return border;
    int glyph = (y / cellH) * perRow + x / cellW;
    if (glyph >= glyphs) return border;
    int gx = x % cellW - 1;
    int gy = y % cellH - 1;
    bool space = glyph == 0;
    bool inkPixel = !space && gx > 0 && gx < glyphWidth - 1 && gy > 0 && gy < glyphHeight - 1;
    return inkPixel ? ink : empty;
  });
}
