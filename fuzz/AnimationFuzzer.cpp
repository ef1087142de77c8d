// .anm files: the loader, then copying, advancing and drawing what it built.
#include <allegro.h>

#include <filesystem>

#include "fuzz/FuzzMedia.h"
#include "graphics/Animation.h"
#include "graphics/Resources.h"
#include "shell/Fatal.h"
#include "shell/MediaPaths.h"

namespace fs = std::filesystem;

namespace {

// The seeds come from both figures' directories; with the enemies' frame
// directories beside the player's, every seed finds its frames.
void gatherFrameDirectories() {
  for (const auto& entry : fs::directory_iterator(enemyAnimDir)) {
    if (!entry.is_directory()) continue;
    fs::copy(entry.path(), fs::path(playerAnimDir) / entry.path().filename(),
             fs::copy_options::recursive | fs::copy_options::skip_existing);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool prepared = false;
  if (!prepared) {
    fuzzSetUp();
    gatherFrameDirectories();
    prepared = true;
  }
  static BitmapPtr target(create_bitmap(64, 64));
  writeInput(std::string(playerAnimDir) + "fuzz.anm", data, size);
  try {
    DataFailureGuard guard;
    Animation animation(playerAnimDir, "fuzz");
    Animation copy(animation);
    for (int i = 0; i < 20; ++i) {
      copy.advance();
      copy.draw(target.get(), 0, 0);
    }
    animation = copy;
  } catch (const DataFailure&) {
  }
  return 0;
}
