// .nme files: the enemy manager built over a tree whose only definition is
// the input, then an enemy of that kind placed, moved and drawn.
#include <allegro.h>

#include <filesystem>

#include "actors/EnemyManager.h"
#include "fuzz/FuzzMedia.h"
#include "graphics/Resources.h"
#include "shell/Fatal.h"
#include "shell/MediaPaths.h"
#include "structures/FloorManager.h"

namespace fs = std::filesystem;

namespace {

// The shipped definitions would be loaded with every input; only the
// fuzzed one is wanted.
void removeShippedDefinitions() {
  for (const auto& entry : fs::directory_iterator(enemyAnimDir)) {
    if (entry.path().extension() == ".nme") fs::remove(entry.path());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool prepared = false;
  if (!prepared) {
    fuzzSetUp();
    removeShippedDefinitions();
    prepared = true;
  }
  static BitmapPtr target(create_bitmap(64, 64));
  static FloorManager floors;
  writeInput(std::string(enemyAnimDir) + "fuzz.nme", data, size);
  try {
    DataFailureGuard guard;
    EnemyManager manager;
    int kind = manager.findDefinition("fuzz");
    if (kind < 0) return 0;
    for (int state = 0; state < 2; ++state) {
      for (int direction = 0; direction < 2; ++direction) {
        Enemy enemy(32, 40, direction, 0, 64, 1.5f, 1, state, 10, 5, manager.deathSound());
        enemy.sprite = manager.definitionSprite(kind);
        enemy.selectStartAnimation();
        manager.add(enemy);
      }
    }
    for (int i = 0; i < 10; ++i) {
      manager.update(floors);
      manager.draw(target.get());
    }
  } catch (const DataFailure&) {
  }
  return 0;
}
