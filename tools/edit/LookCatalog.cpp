#include "tools/edit/LookCatalog.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "game/Game.h"
#include "tools/check/TreeFacts.h"

namespace {

// Names and their images, sorted together by name; the stable sort keeps
// two equal names in the order the engine found them, the first of which
// is the one a level naming it gets.
void sortByName(std::vector<std::string>& names, std::vector<BITMAP*>* images) {
  std::vector<std::size_t> order(names.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
  std::vector<std::string> sortedNames;
  std::vector<BITMAP*> sortedImages;
  for (std::size_t i : order) {
    sortedNames.push_back(names[i]);
    if (images != nullptr) sortedImages.push_back((*images)[i]);
  }
  names = sortedNames;
  if (images != nullptr) *images = sortedImages;
}

void addSet(std::vector<std::string>& names, std::vector<BITMAP*>* images, const ImageSet& set) {
  for (int i = 0; i < set.imageCount(); ++i) {
    names.push_back(set.imageName(i));
    if (images != nullptr) images->push_back(set.image(i));
  }
  sortByName(names, images);
}

// The look of `look`'s family that shows no number: the shortest name
// from which the checker's rule gives `look` again. Empty when `look`
// shows no number.
std::string plainLook(const NamedImages& set, const std::string& look) {
  const int shown = set.shownNumber(look);
  std::string plain;
  for (const std::string& name : set.names) {
    const bool fits = set.shownNumber(name) < 0 && set.lookShowing(name, shown) == look;
    if (shown >= 0 && fits && (plain.empty() || name.size() < plain.size())) plain = name;
  }
  return plain;
}

// `look` on a teleporter numbered `number`: the look of its family showing
// that number, else its family's plain look when `look` shows a number.
std::string lookForNumber(const NamedImages& set, const std::string& look, int number) {
  const std::string numbered = set.lookShowing(look, number);
  if (!numbered.empty()) return numbered;
  return set.shownNumber(look) >= 0 ? plainLook(set, look) : look;
}

// `look` once its teleporter's number went from `was` to `now`.
std::string lookFollowing(const NamedImages& set, const std::string& look, int was, int now) {
  return was == now || set.shownNumber(look) != was ? look : lookForNumber(set, look, now);
}

struct Shade {
  bool shown = false;
  int r = 0, g = 0, b = 0;
};

Shade shadeAt(BITMAP* picture, int x, int y) {
  if (x >= picture->w || y >= picture->h) return Shade{};
  const int c = getpixel(picture, x, y);
  if (c == bitmap_mask_color(picture)) return Shade{};
  const int depth = bitmap_color_depth(picture);
  return Shade{true, getr_depth(depth, c), getg_depth(depth, c), getb_depth(depth, c)};
}

}  // namespace

int pictureDifference(BITMAP* a, BITMAP* b) {
  const int w = std::max(a->w, b->w);
  const int h = std::max(a->h, b->h);
  long total = 0;
  long pixels = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Shade p = shadeAt(a, x, y);
      const Shade q = shadeAt(b, x, y);
      if (!p.shown && !q.shown) continue;
      ++pixels;
      if (p.shown != q.shown) {
        total += 255;
        continue;
      }
      total += (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b)) / 3;
    }
  }
  return pixels == 0 ? 0 : static_cast<int>(total / pixels);
}

std::string pairedName(const std::vector<std::string>& second, const std::string& name) {
  for (const std::string& candidate : second) {
    if (candidate == name) return name;
  }
  return second.empty() ? std::string() : second.front();
}

LookCatalog::LookCatalog(const Game& game) {
  Looks& tiles = looks_[toolIndex(ElementKind::Tile)];
  addSet(tiles.names, &tiles.images, game.floorManager.normalImages());
  addSet(clearedNames_, &clearedImages_, game.floorManager.clearedImages());
  Looks& ladders = looks_[toolIndex(ElementKind::Ladder)];
  addSet(ladders.names, &ladders.images, game.ladderManager->images());
  Looks& chutes = looks_[toolIndex(ElementKind::Chute)];
  addSet(chutes.names, &chutes.images, game.chuteManager->images());
  Looks& items = looks_[toolIndex(ElementKind::Item)];
  addSet(items.names, &items.images, game.itemManager.images());
  Looks& teleporters = looks_[toolIndex(ElementKind::Teleporter)];
  addSet(teleporters.names, &teleporters.images, game.teleporterManager.normalImages());
  addSet(cooldownNames_, nullptr, game.teleporterManager.cooldownImages());
  padLooks_.names = teleporters.names;
  cooldownLooks_.names = cooldownNames_;

  Looks& enemies = looks_[toolIndex(ElementKind::Enemy)];
  for (int i = 0; i < game.enemyManager.definitionCount(); ++i) {
    enemies.names.push_back(game.enemyManager.definitionName(i));
    enemies.images.push_back(game.enemyManager.definitionSprite(i).animation(0).frame(0));
  }
  sortByName(enemies.names, &enemies.images);
  Looks& start = looks_[toolIndex(EditTool::Start)];
  start.names.push_back("");
  start.images.push_back(game.player.sprite.currentFrame());
  playerAnimations_ = game.player.sprite.animationCount();
  ticksPerSecond_ = game.updatesPerSecond;
}

int LookCatalog::floorLook() const {
  const Looks& tiles = of(ElementKind::Tile);
  for (std::size_t i = 0; i < tiles.names.size(); ++i) {
    const std::string cleared = pairedName(clearedNames_, tiles.names[i]);
    const int c = findName(clearedNames_, cleared);
    if (c >= 0 && pictureDifference(tiles.images[i], clearedImages_[c]) >= visibleDifference) {
      return static_cast<int>(i);
    }
  }
  return 0;
}

void LookCatalog::showOwnNumber(TeleporterSpec& teleporter) const {
  teleporter.name = lookForNumber(padLooks_, teleporter.name, teleporter.number);
  teleporter.cooldown_name =
      lookForNumber(cooldownLooks_, teleporter.cooldown_name, teleporter.number);
}

void LookCatalog::followNumber(TeleporterSpec& teleporter, const TeleporterSpec& before) const {
  if (teleporter.name == before.name) {
    teleporter.name = lookFollowing(padLooks_, teleporter.name, before.number, teleporter.number);
  }
  if (teleporter.cooldown_name == before.cooldown_name) {
    teleporter.cooldown_name = lookFollowing(cooldownLooks_, teleporter.cooldown_name,
                                             before.number, teleporter.number);
  }
}

int LookCatalog::count(EditTool tool) const { return static_cast<int>(of(tool).names.size()); }

const std::string& LookCatalog::name(EditTool tool, int look) const {
  return of(tool).names[look];
}

int LookCatalog::find(EditTool tool, const std::string& name) const {
  return findName(of(tool).names, name);
}

BITMAP* LookCatalog::image(EditTool tool, int look) const { return of(tool).images[look]; }
