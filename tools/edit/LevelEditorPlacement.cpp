// Where a new element lands: ladders and chutes fitted to the level's floors
// with the engine's own ladder tests and slide, and the outline the cursor
// shows before a click, as the engine places the element.
#include <algorithm>

#include "game/Game.h"
#include "graphics/Pixel.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

// Far more ticks than any slide down one screen takes.
constexpr int slideTickLimit = 100000;

bool sharesColumns(const FootRun& run, const LadderSpan& band) {
  return run.firstColumn <= band.lastColumn && band.firstColumn <= run.lastColumn;
}

// A column where both a figure on the floor and the ladder's band are.
int sharedColumn(const FootRun& run, const LadderSpan& band) {
  return std::max(run.firstColumn, band.firstColumn);
}

}  // namespace

// The floors are the tiles a figure could stand on within the ladder's
// climbing band; one floor lying on another is one floor. The fit is kept
// only when the engine's own tests find a player standing on each floor at
// the ladder's matching end.
void LevelEditor::fitLadder(LadderSpec& spec) const {
  if (!placementError_.empty()) return;
  const int H = game_.ladderHorizontalTolerance;
  const int V = game_.ladderVerticalTolerance;
  Ladder ladder;
  ladder.x = spec.x;
  ladder.y = spec.y;
  ladder.width = looks_.width(ElementKind::Ladder, look_[toolIndex(ElementKind::Ladder)]);
  ladder.height = 1;
  const LadderSpan band = ladder.span(H, V);
  const FloorManager& floors = game_.floorManager;
  const std::vector<FloorTile>& tiles = floors.tiles();
  int below = -1;
  for (int i = 0; i < static_cast<int>(tiles.size()); ++i) {
    if (!sharesColumns(floors.standingRun(i), band) || tiles[i].y < spec.y) continue;
    if (below < 0 || tiles[i].y < tiles[below].y) below = i;
  }
  if (below < 0) return;
  int above = -1;
  for (int i = 0; i < static_cast<int>(tiles.size()); ++i) {
    if (!sharesColumns(floors.standingRun(i), band)) continue;
    if (tiles[i].y + tiles[i].height >= tiles[below].y) continue;
    if (above < 0 || tiles[i].y > tiles[above].y) above = i;
  }
  ladder.y = above >= 0 ? tiles[above].y : tiles[below].y - spec.height;
  ladder.height = tiles[below].y - ladder.y;
  const FootRun foot = floors.standingRun(below);
  if (!ladder.isAtBottom(static_cast<float>(sharedColumn(foot, band)), static_cast<float>(foot.row),
                         H, V)) {
    return;
  }
  if (above >= 0) {
    const FootRun head = floors.standingRun(above);
    if (!ladder.isAtTop(static_cast<float>(sharedColumn(head, band)), static_cast<float>(head.row),
                        H, V)) {
      return;
    }
  }
  spec.y = ladder.y;
  spec.height = ladder.height;
}

// The engine slides a player down a chute reaching to the bottom of the
// screen; the first point of that slide inside a floor tile below the
// chute's top is where a chute can end. Its height is that floor's top
// row, or failing that the row the slide reached there, whichever the
// engine's slide of that length really ends resting on a floor with.
void LevelEditor::fitChute(ChuteSpec& spec) {
  if (!placementError_.empty() || spec.y >= game_.height) return;
  LevelData probe = level_;
  ChuteSpec longest = spec;
  longest.height = game_.height - spec.y;
  addRecord(probe, longest);
  const int score = game_.player.score;
  std::vector<int> heights;
  if (placeLevel(probe).empty()) {
    const Chute chute = game_.chuteManager->chutes().back();
    Player& p = game_.player;
    game_.enterChute(chute);
    for (int tick = 0; tick < slideTickLimit && p.onChute && heights.empty(); ++tick) {
      game_.chuteStep();
      FloorTile tile;
      if (p.onChute && game_.floorManager.tileAt(p.x, p.y, tile) && tile.y > chute.y) {
        heights = {tile.y - chute.y, toPixel(p.y) - chute.y};
      }
    }
    for (int height : heights) {
      Chute fitted = chute;
      fitted.height = height;
      game_.enterChute(fitted);
      for (int tick = 0; tick < slideTickLimit && p.onChute; ++tick) game_.chuteStep();
      if (!p.onChute && game_.floorManager.isOnFloor(p.x, p.y)) {
        spec.height = height;
        break;
      }
    }
  }
  game_.player.score = score;
  placeInGame();
}

Rect LevelEditor::placementAt(int x, int y, bool free) {
  if (!placementError_.empty() || painting_ || moving() || filling_ || banding_ ||
      draggingHandle() || selectTool_) {
    return Rect{};
  }
  snap(x, y);
  const PreviewKey key{true, x, y, toolIndex(tool_), look(), revision_, free};
  if (key == previewKey_) return preview_;
  previewKey_ = key;
  preview_ = Rect{};
  LevelData probe = level_;
  const ElementRef element = add(probe, x, y, true, free);
  if (element.valid() && placeLevel(probe).empty()) preview_ = bounds(element);
  placeInGame();
  return preview_;
}
