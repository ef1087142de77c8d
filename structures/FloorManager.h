#pragma once
// Owns the two floor tile image sets and the tiles of the current level;
// answers the standing, containing and claiming questions about floors.
#include <allegro.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/ImageSet.h"
#include "structures/FloorTile.h"
#include "structures/ChangeStamp.h"

// Where a standing figure's feet can be on one tile: its lowest row and the
// columns of its horizontal centre, both ends included.
struct FootRun {
  int row = 0;
  int firstColumn = 0;
  int lastColumn = 0;
};

class FloorManager {
 public:
  FloorManager();  // loads the normal set, then the cleared set

  int findImage(const std::string& name) const;
  int findClearedImage(const std::string& name) const;
  BITMAP* image(int index) const { return normalImages_.image(index); }
  BITMAP* clearedImage(int index) const { return clearedImages_.image(index); }
  // The looks a level may name, for tools that offer them.
  const ImageSet& normalImages() const { return normalImages_; }
  const ImageSet& clearedImages() const { return clearedImages_; }

  void add(const FloorTile& tile);
  void clear();
  void draw(BITMAP* target) const;

  bool isOnFloor(float x, float y) const;             // a tile's top row is trunc(y) + 1
  bool tileAt(float x, float y, FloorTile& out) const; // first tile containing the point
  int claimAt(float x, float y);                       // points of the tiles claimed
  // Claims are journalled since the tiles were placed, so that a search
  // can try a tick and take back what it claimed: claimCount() marks a
  // point, claimedTile(n) is the tile of the n-th claim, and undoClaims
  // unclaims every tile claimed after the mark, latest first.
  size_t claimCount() const { return claimed_.size(); }
  int claimedTile(size_t n) const { return claimed_[n]; }
  void undoClaims(size_t mark);
  int tilesLeft() const { return tilesLeft_; }
  // Level layout questions, asked by the checker and the editor.
  FootRun standingRun(int index) const;  // where a figure stands on tile index
  // The tiles drawn after tile index over part of its picture, in placement
  // order; hiddenPixels (when given) receives how many of its pixels they hide.
  std::vector<int> coveringTiles(int index, int* hiddenPixels = nullptr) const;
  const std::vector<FloorTile>& tiles() const { return tiles_; }
  // Renewed by every change to what the manager draws.
  const ChangeStamp& stamp() const { return stamp_; }

 private:
  friend struct TickLedger;  // the search's capture lists every field: a new one is placed there
  ChangeStamp stamp_;
  std::vector<FloorTile> tiles_;  // current level, placement order
  ImageSet normalImages_;         // floor tiles/normal/
  ImageSet clearedImages_;        // floor tiles/clear/
  int tilesLeft_ = 0;             // claimable tiles not yet cleared
  std::vector<int> claimed_;      // tile indices in the order they were claimed

  // Every figure asks about floors every tick, so the queries look only at
  // the tiles that share a top row and a band of columns with the point,
  // instead of walking the whole level.
  static constexpr int bandWidth = 32;                   // columns per band
  std::unordered_map<long long, std::vector<int>> cells_; // (top row, band) -> tile indices, ascending
  int tallest_ = 0;                                       // greatest tile height
  const std::vector<int>* cell(int top, int px) const;
};
