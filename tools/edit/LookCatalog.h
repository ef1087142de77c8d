#pragma once
// The looks each tool offers, as the engine's managers loaded them from the
// tree: image names (enemy kinds for enemies) sorted by their bytes, so
// that they come round in the same order on every machine whatever order
// the file search found them in, with the images themselves for previews
// and sizes. The player start has one look, the player's first frame.
#include <allegro.h>

#include <string>
#include <vector>

#include "game/LevelData.h"
#include "tools/check/TreeFacts.h"
#include "tools/edit/EditElement.h"

class Game;

// The look of the second set that goes with a look of the first: the same
// name when the second set has it, else its first look (empty when it has
// none).
std::string pairedName(const std::vector<std::string>& second, const std::string& name);

// How different two pictures look: the mean difference of their red, green
// and blue over the pixels either of them shows (a pixel one shows and the
// other masks counts as wholly different), 0 to 255.
int pictureDifference(BITMAP* a, BITMAP* b);

class LookCatalog {
 public:
  // game: built from the tree; its managers must outlive the catalog,
  // which borrows their images.
  explicit LookCatalog(const Game& game);

  int count(EditTool tool) const;
  const std::string& name(EditTool tool, int look) const;
  int find(EditTool tool, const std::string& name) const;  // index, or -1; case counts
  // The image a look shows (an enemy kind: the first frame of its first
  // animation), for previews and sizes.
  BITMAP* image(EditTool tool, int look) const;
  int width(EditTool tool, int look) const { return image(tool, look)->w; }
  int height(EditTool tool, int look) const { return image(tool, look)->h; }

  // The second image set of tiles and teleporters.
  const std::vector<std::string>& clearedTileNames() const { return clearedNames_; }
  const std::vector<std::string>& cooldownNames() const { return cooldownNames_; }
  int playerAnimationCount() const { return playerAnimations_; }
  int ticksPerSecond() const { return ticksPerSecond_; }  // the tree's updates_per_second

  // The teleporter looks as the checker names them, so that a pad's look
  // shows its number by the checker's own rule (NamedImages::lookShowing).
  const NamedImages& padLooks() const { return padLooks_; }
  const NamedImages& cooldownLooks() const { return cooldownLooks_; }
  // A new teleporter: each of its looks becomes the look of its family
  // that shows the teleporter's number, where the tree has one; a look
  // showing another number becomes its family's plain look when it has not.
  void showOwnNumber(TeleporterSpec& teleporter) const;
  // The teleporter was `before` and has another number now: a look left as
  // it was that showed the old number follows to the look showing the new
  // one, or to its family's plain look when the tree has none, so that no
  // pad shows a number that calls another. Any other look stays.
  void followNumber(TeleporterSpec& teleporter, const TeleporterSpec& before) const;

  // A claim must show: pictures closer than this read as the same look.
  static constexpr int visibleDifference = 24;
  // The first tile look whose claimed look (paired by name) differs from it
  // visibly, for a new level's floor; the first look when none does.
  int floorLook() const;

 private:
  struct Looks {
    std::vector<std::string> names;
    std::vector<BITMAP*> images;  // borrowed from the managers
  };
  const Looks& of(EditTool tool) const { return looks_[toolIndex(tool)]; }

  Looks looks_[editToolCount];
  std::vector<std::string> clearedNames_;
  std::vector<BITMAP*> clearedImages_;  // borrowed, beside their names
  std::vector<std::string> cooldownNames_;
  NamedImages padLooks_{"teleporter image", {}, {}, {}};  // names only
  NamedImages cooldownLooks_{"teleporter cooldown image", {}, {}, {}};
  int playerAnimations_ = 0;
  int ticksPerSecond_ = 0;
};
