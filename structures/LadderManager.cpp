#include "structures/LadderManager.h"

#include "shell/Log.h"
#include "structures/BuiltImage.h"

namespace {

// Stacks copies of the rung graphic from the top down; the last copy is cut
// by the bottom edge. A ladder of no height has nothing to show: it keeps no
// image and is not drawn. Returns -1 when the bitmap cannot be made.
int buildImage(Ladder& ladder, BITMAP* graphic) {
  ladder.image.reset();
  if (ladder.height <= 0) return 0;
  BITMAP* built = createBuiltBitmap(ladder.width, ladder.height);
  if (built == nullptr) {
    allegro_message("Error creating image for ladder.");
    log_message("Error creating image for ladder.");
    return -1;
  }
  ladder.image = shareBitmap(built);
  const int rung = graphic->h;
  for (int k = 0; k <= ladder.height / rung; ++k) {
    blit(graphic, built, 0, 0, 0, k * rung, graphic->w, graphic->h);
  }
  return 0;
}

}  // namespace

LadderManager::LadderManager(int horizontalTolerance, int verticalTolerance)
    : horizontalTolerance_(horizontalTolerance), verticalTolerance_(verticalTolerance) {
  log_message("Initializing ladder manager.");
  ladderImages_.load("ladders/", ladderTexts);
  log_message("Ladder manager successfully initialized.");
}

int LadderManager::findImage(const std::string& name) const { return ladderImages_.find(name); }

void LadderManager::add(const Ladder& ladder) {
  ladders_.push_back(ladder);
  stamp_.renew();
}

// The built images go with the ladders; a copy the player still holds keeps
// its own image alive until it is replaced.
void LadderManager::clear() {
  ladders_.clear();
  stamp_.renew();
}

int LadderManager::createImages() {
  stamp_.renew();
  log_message("Creating images for %d ladders.", static_cast<int>(ladders_.size()));
  for (size_t i = 0; i < ladders_.size(); ++i) {
    Ladder& ladder = ladders_[i];
    BITMAP* graphic = ladderImages_.image(ladder.image_index);
    ladder.width = graphic->w;
    if (buildImage(ladder, graphic) != 0) return -1;
    log_message("Ladder image %d created.", static_cast<int>(i));
  }
  log_message("All ladder images created.");
  return 0;
}

void LadderManager::draw(BITMAP* target) const {
  for (const Ladder& ladder : ladders_) {
    if (ladder.image) draw_sprite(target, ladder.image.get(), ladder.x, ladder.y);
  }
}

bool LadderManager::ladderAt(float x, float y, Ladder& out) {
  for (size_t i = 0; i < ladders_.size(); ++i) {
    if (!ladders_[i].isOn(x, y, horizontalTolerance_, verticalTolerance_)) continue;
    const int index = static_cast<int>(i);
    if (index != lastLadder_) log_message("Player now on ladder %d.", index);
    lastLadder_ = index;
    out = ladders_[i];
    return true;
  }
  return false;
}
