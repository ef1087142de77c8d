#include "structures/FloorManager.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "graphics/Pixel.h"
#include "shell/Log.h"

namespace {

// Any non-zero claimable value is a tile the level asks the player to clear,
// so it is counted as well as cleared: a tile that could be cleared without
// being counted would pull tilesLeft below the number of tiles still to do.
bool isClaimable(const FloorTile& tile) { return tile.claimable != 0; }

// A figure stands on a tile when the tile's top row is just below its feet
// and its centre lies over the tile's columns, the right edge included.
FootRun runOf(const FloorTile& tile) { return FootRun{tile.y - 1, tile.x, tile.x + tile.width}; }

bool standsOn(const FloorTile& tile, int px, int py) {
  const FootRun run = runOf(tile);
  return py == run.row && run.firstColumn <= px && px <= run.lastColumn;
}

bool contains(const FloorTile& tile, int px, int py) {
  return tile.y <= py && py <= tile.y + tile.height && tile.x <= px && px <= tile.x + tile.width;
}

}  // namespace

FloorManager::FloorManager() {
  log_message("Initializing floor manager.");
  normalImages_.load("floor tiles/normal/", floorTileTexts);
  clearedImages_.load("floor tiles/clear/", clearedFloorTileTexts);
  log_message("Floor manager successfully initialized.");
}

int FloorManager::findImage(const std::string& name) const { return normalImages_.find(name); }

int FloorManager::findClearedImage(const std::string& name) const {
  return clearedImages_.find(name);
}

namespace {
int bandOf(int column, int bandWidth) {
  // Rounds toward minus infinity, so columns -1 and 0 fall in different bands.
  return column >= 0 ? column / bandWidth : -((-column + bandWidth - 1) / bandWidth);
}
long long cellKey(int top, int band) {
  // Shifted as unsigned: a tile above the screen has a negative top, and
  // shifting a negative value is undefined.
  const unsigned long long high = static_cast<unsigned int>(top);
  return static_cast<long long>((high << 32) | static_cast<unsigned int>(band));
}
}  // namespace

const std::vector<int>* FloorManager::cell(int top, int px) const {
  auto found = cells_.find(cellKey(top, bandOf(px, bandWidth)));
  return found == cells_.end() ? nullptr : &found->second;
}

void FloorManager::add(const FloorTile& tile) {
  const int index = static_cast<int>(tiles_.size());
  const int lastBand = bandOf(tile.x + std::max(tile.width, 0), bandWidth);
  for (int band = bandOf(tile.x, bandWidth); band <= lastBand; ++band) {
    cells_[cellKey(tile.y, band)].push_back(index);
  }
  tallest_ = std::max(tallest_, tile.height);
  tiles_.push_back(tile);
  if (isClaimable(tile) && !tile.cleared) ++tilesLeft_;
  stamp_.renew();
}

void FloorManager::clear() {
  tiles_.clear();
  cells_.clear();
  tallest_ = 0;
  tilesLeft_ = 0;
  claimed_.clear();
  stamp_.renew();
}

void FloorManager::draw(BITMAP* target) const {
  for (const FloorTile& tile : tiles_) {
    BITMAP* shown = tile.cleared ? tile.cleared_image : tile.image;
    if (shown != nullptr) draw_sprite(target, shown, tile.x, tile.y);
  }
}

bool FloorManager::isOnFloor(float x, float y) const {
  const int px = toPixel(x);
  const int py = toPixel(y);
  const std::vector<int>* below = cell(py + 1, px);
  if (below == nullptr) return false;
  for (int index : *below) {
    if (standsOn(tiles_[index], px, py)) return true;
  }
  return false;
}

bool FloorManager::tileAt(float x, float y, FloorTile& out) const {
  const int px = toPixel(x);
  const int py = toPixel(y);
  // The first tile in placement order wins, whichever row it starts in.
  int first = -1;
  for (int top = py - tallest_; top <= py; ++top) {
    const std::vector<int>* tops = cell(top, px);
    if (tops == nullptr) continue;
    for (int index : *tops) {
      if (first != -1 && index > first) break;
      if (contains(tiles_[index], px, py)) {
        first = index;
        break;
      }
    }
  }
  if (first == -1) return false;
  out = tiles_[first];
  return true;
}

int FloorManager::claimAt(float x, float y) {
  const int px = toPixel(x);
  const int py = toPixel(y);
  // Summed wide: many stacked tiles of large points could pass int's range.
  int64_t gained = 0;
  // Every tile under the point counts: where two tiles meet, the shared
  // boundary column stands on both.
  const std::vector<int>* below = cell(py + 1, px);
  if (below == nullptr) return 0;
  for (int index : *below) {
    FloorTile& tile = tiles_[index];
    if (tile.cleared || !isClaimable(tile) || !standsOn(tile, px, py)) continue;
    tile.cleared = true;
    gained += tile.points;
    --tilesLeft_;
    claimed_.push_back(index);
    stamp_.renew();
    log_message("Player gained %d points for clearing tile.", tile.points);
  }
  return static_cast<int>(std::clamp<int64_t>(gained, INT_MIN, INT_MAX));
}

void FloorManager::undoClaims(size_t mark) {
  while (claimed_.size() > mark) {
    tiles_[claimed_.back()].cleared = false;
    stamp_.renew();
    ++tilesLeft_;
    claimed_.pop_back();
  }
}

FootRun FloorManager::standingRun(int index) const { return runOf(tiles_[index]); }

std::vector<int> FloorManager::coveringTiles(int index, int* hiddenPixels) const {
  const FloorTile& under = tiles_[index];
  const int w = std::max(under.width, 0);
  const int h = std::max(under.height, 0);
  // Tiles are drawn in placement order, so only later ones can cover it.
  std::vector<bool> hidden(static_cast<size_t>(w) * h, false);
  std::vector<int> covering;
  for (size_t i = static_cast<size_t>(index) + 1; i < tiles_.size(); ++i) {
    const FloorTile& over = tiles_[i];
    const int left = std::max(over.x, under.x) - under.x;
    const int right = std::min(over.x + over.width, under.x + w) - under.x;
    const int top = std::max(over.y, under.y) - under.y;
    const int bottom = std::min(over.y + over.height, under.y + h) - under.y;
    if (left >= right || top >= bottom) continue;
    covering.push_back(static_cast<int>(i));
    for (int row = top; row < bottom; ++row) {
      for (int column = left; column < right; ++column) hidden[row * w + column] = true;
    }
  }
  if (hiddenPixels != nullptr) {
    *hiddenPixels = static_cast<int>(std::count(hidden.begin(), hidden.end(), true));
  }
  return covering;
}
