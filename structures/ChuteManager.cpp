#include "structures/ChuteManager.h"

#include <climits>
#include <cstdint>

#include "shell/Log.h"
#include "structures/BuiltImage.h"

namespace {

// The way the steps run on screen. The slide moves the player by dx to the
// right, or by -dx for a chute running left, so a negative dx turns the
// chute round: its image is drawn running the other way with a shift of
// |dx|, and the picture follows the slide.
bool runsRight(const Chute& chute) { return (chute.direction != 0) == (chute.dx >= 0); }

int64_t stepShift(const Chute& chute) {
  return chute.dx >= 0 ? static_cast<int64_t>(chute.dx) : -static_cast<int64_t>(chute.dx);
}

void failToCreate() {
  allegro_message("Error creating image for chute.");
  log_message("Error creating image for chute.");
}

// Places a copy of the step graphic per step, each one step lower and one
// shift further along, on a transparent background. A chute of no height or
// no width has nothing to show: it keeps no image and is not drawn. Returns
// -1 when the bitmap cannot be made.
int buildImage(Chute& chute, BITMAP* step, int64_t width) {
  chute.image.reset();
  if (chute.height <= 0 || width <= 0) return 0;
  BITMAP* built = width > INT_MAX ? nullptr : createBuiltBitmap(static_cast<int>(width), chute.height);
  if (built == nullptr) {
    failToCreate();
    return -1;
  }
  chute.image = shareBitmap(built);
  clear_to_color(built, makeacol(255, 0, 255, 0));
  const bool right = runsRight(chute);
  const int64_t shift = stepShift(chute);
  const int lastStep = chute.height / step->h;
  for (int k = 0; k <= lastStep; ++k) {
    const int64_t offset = k * shift;
    const int64_t column = right ? offset : width - step->w - offset;
    if (column >= width || column + step->w <= 0) continue;  // wholly beside the image
    blit(step, built, 0, 0, static_cast<int>(column), k * step->h, step->w, step->h);
  }
  return 0;
}

}  // namespace

ChuteManager::ChuteManager(int horizontalTolerance) : horizontalTolerance_(horizontalTolerance) {
  log_message("Initializing chute manager.");
  chuteImages_.load("chutes/", chuteTexts);
  log_message("Chute Manager initialized successfully");
}

int ChuteManager::findImage(const std::string& name) const { return chuteImages_.find(name); }

void ChuteManager::add(const Chute& chute) {
  chutes_.push_back(chute);
  stamp_.renew();
}

// The built images go with the chutes; a copy still held elsewhere keeps its
// own image alive until it is replaced.
void ChuteManager::clear() {
  chutes_.clear();
  stamp_.renew();
}

int ChuteManager::createImages() {
  stamp_.renew();
  log_message("Creating images for %d chutes.", static_cast<int>(chutes_.size()));
  for (size_t i = 0; i < chutes_.size(); ++i) {
    Chute& chute = chutes_[i];
    BITMAP* step = chuteImages_.image(chute.image_index);
    // Room for every step but the one that starts at or below the bottom row.
    const int64_t width = step->w + static_cast<int64_t>((chute.height - step->h) / step->h) *
                                        stepShift(chute);
    chute.width = width > INT_MAX ? INT_MAX : static_cast<int>(width);
    // A chute whose image could not be built keeps the step height it had:
    // it never got one.
    if (buildImage(chute, step, width) != 0) return -1;
    chute.dy = step->h;
    log_message("Chute image %d created.", static_cast<int>(i));
  }
  log_message("All chute images created.");
  return 0;
}

void ChuteManager::draw(BITMAP* target) const {
  for (const Chute& chute : chutes_) {
    if (chute.image) draw_sprite(target, chute.image.get(), drawnLeft(chute), chute.y);
  }
}

int ChuteManager::drawnLeft(const Chute& chute) const {
  // A chute running left is drawn shifted so its top step still sits at x.
  const int stepWidth = chuteImages_.image(chute.image_index)->w;
  return runsRight(chute) ? chute.x : chute.x + stepWidth - chute.width;
}

bool ChuteManager::entryAt(float x, float y, Chute& out) {
  for (size_t i = 0; i < chutes_.size(); ++i) {
    if (!chutes_[i].isAtEntry(x, y, horizontalTolerance_)) continue;
    const int index = static_cast<int>(i);
    // The player's own point: that is where the log reader wants to look.
    if (index != lastChute_) log_message("Player now on chute %d @ %.3f, %.3f.", index, x, y);
    lastChute_ = index;
    out = chutes_[i];
    return true;
  }
  return false;
}
