#include "tests/support/EnemyMedia.h"

#include <sstream>

namespace enemymedia {

namespace {
const std::string enemyDir = "media/gfx/anim/enemy/";
}

int walkerColour(int animation, int frame) {
  return makeacol(100 + 40 * animation, 100 * frame, 50, 255);
}

void writeAnimation(MediaTree& tree, const std::string& name, int frames, const int* widths,
                    const int* heights, const int* colours) {
  std::ostringstream anm;
  anm << name << "\n" << frames << "\n";
  for (int f = 0; f < frames; ++f) anm << "2 ";
  tree.writeText(enemyDir + name + ".anm", anm.str());
  for (int f = 0; f < frames; ++f) {
    int value = colours[f];
    tree.writePng(enemyDir + name + "/" + std::to_string(f) + ".png", widths[f], heights[f],
                  [value](int, int) { return value; });
  }
}

void writeKinds(MediaTree& tree) {
  const char* const names[4] = {"walk_l", "walk_r", "soft_l", "soft_r"};
  for (int i = 0; i < 4; ++i) {
    int widths[2] = {walkerWidth[i], walkerWidth[i]};
    int heights[2] = {walkerHeight[i], walkerHeight[i]};
    int colours[2] = {walkerColour(i, 0), walkerColour(i, 1)};
    writeAnimation(tree, names[i], 2, widths, heights, colours);
  }
  tree.writeText(enemyDir + "walker.nme", "walk_l walk_r\nsoft_l soft_r\n");

  tree.writeText(enemyDir + "ghost.anm", "ghost 1 5\n");
  tree.writePng(enemyDir + "ghost/0.png", ghostSize, ghostSize, [](int x, int) {
    return x < ghostSize / 2 ? makeacol(0, 0, 0, 0) : makeacol(90, 90, 90, 255);
  });
  tree.writeText(enemyDir + "ghost.nme", "ghost ghost ghost ghost");

  tree.writeWav("media/audio/enemy_death.wav");
}

void writeFloorImages(MediaTree& tree) {
  tree.writeSolidPng("media/gfx/static/floor tiles/normal/stone.png", 32, 8, 120, 120, 120);
  tree.writeSolidPng("media/gfx/static/floor tiles/clear/stone_clear.png", 32, 8, 60, 60, 60);
}

}  // namespace enemymedia
