// The editor's tools and looks, its grid, and the queries the mouse aims
// with: what lies under a point and where each element is drawn.
#include "game/Game.h"
#include "graphics/Pixel.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

Rect rectOf(int x, int y, int w, int h) { return Rect{x, y, w, h}; }

// Where the game draws a figure standing at (x, y).
Rect figureRect(float x, float y, int w, int h) {
  const FigureCorner at = figureCorner(x, y, w, h);
  return rectOf(at.left, at.top, w, h);
}

}  // namespace

// Taken from the shipped levels: claimable tiles worth 10, ladders and
// chutes as long as their floors lie apart (until fitted to the floors
// where they are placed), chutes shifting half a tile per step to the
// right, enemies patrolling four tiles either side at half a pixel per
// step, tamed by items for 600 ticks and worth 100, items worth 100. The
// tile tool starts on the look a new level's floor has.
void LevelEditor::defaultTemplates() {
  look_[toolIndex(ElementKind::Tile)] = looks_.floorLook();
  const int tileWidth = gridWidth();
  templates_.tile = TileSpec{0, 0, "", "", 1, 10};
  templates_.ladder = LadderSpec{0, 0, usualRise, ""};
  templates_.chute = ChuteSpec{0, 0, usualRise, tileWidth / 2, 1, ""};
  templates_.enemy = EnemySpec{0, 0, Enemy::walkingLeft, -4 * tileWidth, 4 * tileWidth, 0.5f, 1,
                               Enemy::dangerous, "", 600, 100};
  templates_.item = ItemSpec{0, 0, "", 100};
  templates_.teleporter = TeleporterSpec{0, 0, "", "", 0};
}

void LevelEditor::setTool(EditTool tool) {
  endGestures();
  tool_ = tool;
  selectTool_ = false;
}

std::string LevelEditor::lookName() const {
  if (tool_ == EditTool::Start) return std::string();
  return looks_.name(tool_, look());
}

void LevelEditor::cycleLook(int step) {
  const int count = looks_.count(tool_);
  int& look = look_[toolIndex(tool_)];
  look = ((look + step) % count + count) % count;
}

void LevelEditor::setLook(int look) {
  if (look >= 0 && look < looks_.count(tool_)) look_[toolIndex(tool_)] = look;
}

int LevelEditor::gridWidth() const { return looks_.width(ElementKind::Tile, look_[0]); }
int LevelEditor::gridHeight() const { return looks_.height(ElementKind::Tile, look_[0]); }

void LevelEditor::snap(int& x, int& y) const {
  if (!snapping_) return;
  x = gridCell(x, gridWidth()) * gridWidth();
  y = gridCell(y, gridHeight()) * gridHeight();
}

ElementRef LevelEditor::elementAt(int x, int y) const { return topmost(x, y, true); }

// Drawing order (presentation/FrameComposer.cpp): ladders, chutes, items,
// teleporters, tiles, enemies, the player; each list in placement order.
ElementRef LevelEditor::topmost(int x, int y, bool withStart) const {
  if (withStart && bounds(ElementRef{EditTool::Start, 0}).contains(x, y)) {
    return ElementRef{EditTool::Start, 0};
  }
  const std::pair<EditTool, std::size_t> lists[] = {
      {ElementKind::Enemy, level_.enemies.size()},
      {ElementKind::Tile, level_.tiles.size()},
      {ElementKind::Teleporter, level_.teleporters.size()},
      {ElementKind::Item, level_.items.size()},
      {ElementKind::Chute, level_.chutes.size()},
      {ElementKind::Ladder, level_.ladders.size()}};
  for (const auto& list : lists) {
    for (int i = static_cast<int>(list.second) - 1; i >= 0; --i) {
      const ElementRef element{list.first, i};
      if (bounds(element).contains(x, y)) return element;
    }
  }
  return ElementRef{};
}

Rect LevelEditor::bounds(ElementRef element) const {
  const auto within = [&](std::size_t size) { return element.index < static_cast<int>(size); };
  const int i = element.index;
  if (element.kind.isStart()) {
    if (i != 0 || !placementError_.empty()) return Rect{};
    const Player& player = game_.player;
    return figureRect(player.x, player.y, player.width, player.height);
  }
  switch (element.kind.kind()) {
    case ElementKind::Tile: {
      if (!within(game_.floorManager.tiles().size())) break;
      const FloorTile& tile = game_.floorManager.tiles()[i];
      return rectOf(tile.x, tile.y, tile.width, tile.height);
    }
    case ElementKind::Ladder: {
      if (!within(game_.ladderManager->ladders().size())) break;
      const Ladder& ladder = game_.ladderManager->ladders()[i];
      return rectOf(ladder.x, ladder.y, ladder.width, ladder.height);
    }
    case ElementKind::Chute: {
      if (!within(game_.chuteManager->chutes().size())) break;
      const Chute& chute = game_.chuteManager->chutes()[i];
      return rectOf(game_.chuteManager->drawnLeft(chute), chute.y, chute.width, chute.height);
    }
    case ElementKind::Enemy: {
      if (!within(game_.enemyManager.enemies().size())) break;
      const Enemy& enemy = game_.enemyManager.enemies()[i];
      return figureRect(enemy.x, enemy.y, enemy.width, enemy.height);
    }
    case ElementKind::Item: {
      if (!within(game_.itemManager.items().size())) break;
      const Item& item = game_.itemManager.items()[i];
      return rectOf(item.x, item.y, item.width, item.height);
    }
    case ElementKind::Teleporter: {
      if (!within(game_.teleporterManager.teleporters().size())) break;
      const Teleporter& teleporter = game_.teleporterManager.teleporters()[i];
      return rectOf(teleporter.x, teleporter.y, teleporter.width, teleporter.height);
    }
  }
  return Rect{};
}

