// What the player's frame touches: the items, decided with the frames the
// player shows, and a second search where the frame matters.
#include <algorithm>

#include "authoring/Reachability.h"
#include "game/Game.h"
#include "graphics/Collision.h"
#include "graphics/Pixel.h"

void Reachability::collectFrames() {
  Sprite& sprite = game_.player.sprite;
  const int count = sprite.animationCount();
  uniformFrames_ = count == TickState::animationCount;
  frames_.assign(count, {});
  for (int a = 0; a < count; ++a) {
    sprite.setAnimation(a);
    for (int f = 0; f < sprite.animation(a).frameCount(); ++f) {
      sprite.seek(a, f, 0);
      BITMAP* frame = sprite.currentFrame();
      frames_[a].push_back(frame);
      if (frame == nullptr) {
        uniformFrames_ = false;
        continue;
      }
      const bool known = std::any_of(frameSizes_.begin(), frameSizes_.end(), [&](BITMAP* seen) {
        return seen->w == frame->w && seen->h == frame->h;
      });
      if (!known) frameSizes_.push_back(frame);
    }
  }
  uniformFrames_ = uniformFrames_ && frameSizes_.size() == 1;
  for (BITMAP* frame : frameSizes_) {
    widest_ = std::max(widest_, static_cast<float>(frame->w));
    tallest_ = std::max(tallest_, static_cast<float>(frame->h));
  }
  states_.restore(start_);
}

// A tick looks only at the items within the rows the player's frames
// cover, so a level of many items costs no more a tick than one of few.
void Reachability::indexItems() {
  itemsByTop_.resize(items_.size());
  for (std::uint32_t i = 0; i < itemsByTop_.size(); ++i) itemsByTop_[i] = i;
  std::stable_sort(itemsByTop_.begin(), itemsByTop_.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return items_[a].y < items_[b].y; });
  tallestItem_ = 0;
  for (const Item& item : items_) tallestItem_ = std::max(tallestItem_, item.height);
}

// At the end of every tick played: an item the frame on show touches is
// reached (when the animations are known to stand where a way leaves
// them), and every frame of every animation is tried as well, for the
// animations whose frames might touch it somewhere.
void Reachability::touchItems(bool sure) {
  if (itemsLeft_ == 0) return;
  const Player& p = game_.player;
  const float left = p.frameLeft();
  const float top = p.frameTop();
  BITMAP* shown = p.sprite.currentFrame();
  const float column = static_cast<float>(toPixel(left));
  const float row = static_cast<float>(toPixel(top));
  // Only items whose rows meet the largest frame's box, a row around it.
  const auto first = std::lower_bound(
      itemsByTop_.begin(), itemsByTop_.end(), row - 1.0f - static_cast<float>(tallestItem_),
      [&](std::uint32_t i, float top) { return static_cast<float>(items_[i].y) < top; });
  for (auto at = first; at != itemsByTop_.end(); ++at) {
    const std::uint32_t i = *at;
    if (static_cast<float>(items_[i].y) > row + tallest_ + 1.0f) break;
    if (itemReached_[i]) continue;
    Item& item = items_[i];
    // Away from the largest frame's box, no frame touches it.
    if (!rectanglesOverlap(column - 1, row - 1, column + widest_ + 1, row + tallest_ + 1,
                           static_cast<float>(item.x), static_cast<float>(item.y),
                           static_cast<float>(item.x + item.width),
                           static_cast<float>(item.y + item.height))) {
      continue;
    }
    if (sure && item.touches(shown, left, top)) {
      itemReached_[i] = true;
      --itemsLeft_;
      continue;
    }
    for (size_t a = 0; a < frames_.size() && a < 8; ++a) {
      if ((mayTouch_[i] >> a & 1u) != 0) continue;
      for (BITMAP* frame : frames_[a]) {
        // A touch collects the copy; it is put back for the next question.
        if (item.touches(frame, left, top)) {
          mayTouch_[i] = static_cast<std::uint8_t>(mayTouch_[i] | 1u << a);
          item.present = true;
          break;
        }
      }
    }
  }
}

// Items no frame on show was seen to touch: one that no frame of any
// animation touches anywhere the player went is out of reach. For an
// animation whose frames might, a search whose key holds that animation's
// point finds every frame it shows everywhere.
void Reachability::decideItems() {
  if (!uniformFrames_) return;  // the full key told every frame apart already
  unsigned needed = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!itemReached_[i]) needed |= mayTouch_[i];
  }
  for (size_t a = 0; a < frames_.size() && a < 8; ++a) {
    bool open = false;
    for (size_t i = 0; i < items_.size(); ++i) {
      open = open || (!itemReached_[i] && (mayTouch_[i] >> a & 1u) != 0);
    }
    if ((needed >> a & 1u) == 0 || !open) continue;
    StateGraph byAnimation(StateKey::Animation, static_cast<int>(a));
    complete_ = search(byAnimation, false) && complete_;
  }
}

std::vector<int> Reachability::unreachedItems() const {
  std::vector<int> unreached;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!itemReached_[i]) unreached.push_back(static_cast<int>(i));
  }
  return unreached;
}
