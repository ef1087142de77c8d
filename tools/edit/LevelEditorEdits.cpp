// The edits a mouse makes: placing, painting, removing, picking and moving
// elements, and the queries they aim with.
#include <cstdlib>

#include "game/Game.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

// Rounds toward minus infinity, so cells left of and above 0 are whole too.
int cellOf(int value, int size) {
  return value >= 0 ? value / size : -((-value + size - 1) / size);
}

template <typename Spec>
void eraseAt(std::vector<Spec>& list, int& count, int index) {
  list.erase(list.begin() + index);
  count = static_cast<int>(list.size());
}

template <typename Spec>
int append(std::vector<Spec>& list, int& count, const Spec& spec) {
  list.push_back(spec);
  count = static_cast<int>(list.size());
  return count - 1;
}

// An element of the same kind and look already at that place.
template <typename Spec, typename Same>
bool alreadyThere(const std::vector<Spec>& list, Same same) {
  for (const Spec& spec : list) {
    if (same(spec)) return true;
  }
  return false;
}

int unusedTeleporterNumber(const std::vector<TeleporterSpec>& teleporters) {
  for (int number = 1;; ++number) {
    bool used = false;
    for (const TeleporterSpec& teleporter : teleporters) used = used || teleporter.number == number;
    if (!used) return number;
  }
}

Rect rectOf(int x, int y, int w, int h) { return Rect{x, y, w, h}; }

}  // namespace

// Taken from the shipped levels: claimable tiles worth 10, ladders and
// chutes five tile rows long (their floor spacing), chutes shifting half a
// tile per step to the right, enemies patrolling four tiles either side at
// half a pixel per step, tamed by items for 600 ticks and worth 100, items
// worth 100.
void LevelEditor::defaultTemplates() {
  const int tileWidth = looks_.width(EditTool::Tile, 0);
  const int tileHeight = looks_.height(EditTool::Tile, 0);
  templates_.tile = TileSpec{0, 0, "", "", 1, 10};
  templates_.ladder = LadderSpec{0, 0, 5 * tileHeight, ""};
  templates_.chute = ChuteSpec{0, 0, 5 * tileHeight, tileWidth / 2, 1, ""};
  templates_.enemy = EnemySpec{0, 0, 0, -4 * tileWidth, 4 * tileWidth, 0.5f, 1, 0, "", 600, 100};
  templates_.item = ItemSpec{0, 0, "", 100};
  templates_.teleporter = TeleporterSpec{0, 0, "", "", 0};
}

void LevelEditor::setTool(EditTool tool) { tool_ = tool; }

std::string LevelEditor::lookName() const {
  if (tool_ == EditTool::Start) return std::string();
  return looks_.name(tool_, look());
}

void LevelEditor::cycleLook(int step) {
  const int count = looks_.count(tool_);
  int& look = look_[toolIndex(tool_)];
  look = ((look + step) % count + count) % count;
}

int LevelEditor::gridWidth() const { return looks_.width(EditTool::Tile, look_[0]); }
int LevelEditor::gridHeight() const { return looks_.height(EditTool::Tile, look_[0]); }

void LevelEditor::snap(int& x, int& y) const {
  if (!snapping_) return;
  x = cellOf(x, gridWidth()) * gridWidth();
  y = cellOf(y, gridHeight()) * gridHeight();
}

ElementRef LevelEditor::elementAt(int x, int y) const { return topmost(x, y, true); }

// Drawing order (presentation/Hud.cpp): ladders, chutes, items,
// teleporters, tiles, enemies, the player; each list in placement order.
ElementRef LevelEditor::topmost(int x, int y, bool withStart) const {
  if (withStart && bounds(ElementRef{EditTool::Start, 0}).contains(x, y)) {
    return ElementRef{EditTool::Start, 0};
  }
  const std::pair<EditTool, std::size_t> lists[] = {
      {EditTool::Enemy, level_.enemies.size()},   {EditTool::Tile, level_.tiles.size()},
      {EditTool::Teleporter, level_.teleporters.size()}, {EditTool::Item, level_.items.size()},
      {EditTool::Chute, level_.chutes.size()},    {EditTool::Ladder, level_.ladders.size()}};
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
  switch (element.kind) {
    case EditTool::Tile: {
      if (!within(game_.floorManager.tiles().size())) break;
      const FloorTile& tile = game_.floorManager.tiles()[i];
      return rectOf(tile.x, tile.y, tile.width, tile.height);
    }
    case EditTool::Ladder: {
      if (!within(game_.ladderManager->ladders().size())) break;
      const Ladder& ladder = game_.ladderManager->ladders()[i];
      return rectOf(ladder.x, ladder.y, ladder.width, ladder.height);
    }
    case EditTool::Chute: {
      if (!within(game_.chuteManager->chutes().size())) break;
      const Chute& chute = game_.chuteManager->chutes()[i];
      return rectOf(game_.chuteManager->drawnLeft(chute), chute.y, chute.width, chute.height);
    }
    case EditTool::Enemy: {
      if (!within(game_.enemyManager.enemies().size())) break;
      const Enemy& enemy = game_.enemyManager.enemies()[i];
      return rectOf(static_cast<int>(enemy.x) - enemy.width / 2,
                    static_cast<int>(enemy.y) - enemy.height + 1, enemy.width, enemy.height);
    }
    case EditTool::Item: {
      if (!within(game_.itemManager.items().size())) break;
      const Item& item = game_.itemManager.items()[i];
      return rectOf(item.x, item.y, item.width, item.height);
    }
    case EditTool::Teleporter: {
      if (!within(game_.teleporterManager.teleporters().size())) break;
      const Teleporter& teleporter = game_.teleporterManager.teleporters()[i];
      return rectOf(teleporter.x, teleporter.y, teleporter.width, teleporter.height);
    }
    case EditTool::Start: {
      if (i != 0 || !placementError_.empty()) break;
      const Player& player = game_.player;
      return rectOf(static_cast<int>(player.x) - player.width / 2,
                    static_cast<int>(player.y) - player.height + 1, player.width, player.height);
    }
  }
  return Rect{};
}

Rect LevelEditor::findingArea(LayoutElement element, int index) const {
  switch (element) {
    case LayoutElement::CountdownPanel: {
      const BITMAP* panel = game_.countdownBackground.get();
      return rectOf(level_.countdown_x, level_.countdown_y, panel->w, panel->h);
    }
    case LayoutElement::ScorePanel: {
      const BITMAP* panel = game_.scoreBackground.get();
      return rectOf(level_.score_x, level_.score_y, panel->w, panel->h);
    }
    case LayoutElement::Start:
      return bounds(ElementRef{EditTool::Start, 0});
    case LayoutElement::Tile:
      return bounds(ElementRef{EditTool::Tile, index});
    case LayoutElement::Ladder:
      return bounds(ElementRef{EditTool::Ladder, index});
    case LayoutElement::Chute:
      return bounds(ElementRef{EditTool::Chute, index});
    case LayoutElement::Enemy:
      return bounds(ElementRef{EditTool::Enemy, index});
    case LayoutElement::Item:
      return bounds(ElementRef{EditTool::Item, index});
    case LayoutElement::Teleporter:
      return bounds(ElementRef{EditTool::Teleporter, index});
    default:
      return Rect{};
  }
}

ElementRef LevelEditor::place(int x, int y) {
  endGestures();
  snap(x, y);
  const ElementRef placed = add(x, y);
  if (placed.valid()) commit();
  return placed;
}

// (x, y): the top-left corner of the grid cell the element goes in.
ElementRef LevelEditor::add(int x, int y) {
  const std::string look = lookName();
  const int cellWidth = gridWidth();
  const int cellHeight = gridHeight();
  const int bottom = y + cellHeight - 1;  // the cell's lowest row
  LevelData& data = level_;
  switch (tool_) {
    case EditTool::Tile: {
      if (alreadyThere(data.tiles, [&](const TileSpec& s) { return s.x == x && s.y == y; })) break;
      TileSpec tile = templates_.tile;
      tile.x = x;
      tile.y = y;
      if (tile.tile_name != look) tile.cleared_name = pairedName(looks_.clearedTileNames(), look);
      tile.tile_name = look;
      return ElementRef{tool_, append(data.tiles, data.tileCount, tile)};
    }
    case EditTool::Ladder: {
      if (alreadyThere(data.ladders, [&](const LadderSpec& s) { return s.x == x && s.y == y; })) {
        break;
      }
      LadderSpec ladder = templates_.ladder;
      ladder.x = x;
      ladder.y = y;
      ladder.name = look;
      return ElementRef{tool_, append(data.ladders, data.ladderCount, ladder)};
    }
    case EditTool::Chute: {
      if (alreadyThere(data.chutes, [&](const ChuteSpec& s) { return s.x == x && s.y == y; })) {
        break;
      }
      ChuteSpec chute = templates_.chute;
      chute.x = x;
      chute.y = y;
      chute.name = look;
      return ElementRef{tool_, append(data.chutes, data.chuteCount, chute)};
    }
    case EditTool::Enemy: {
      EnemySpec enemy = templates_.enemy;
      const int centre = x + cellWidth / 2;
      enemy.min_x = centre + (enemy.min_x - enemy.x);
      enemy.max_x = centre + (enemy.max_x - enemy.x);
      enemy.x = centre;
      enemy.y = bottom;
      enemy.name = look;
      if (alreadyThere(data.enemies, [&](const EnemySpec& s) {
            return s.x == enemy.x && s.y == enemy.y && s.name == look;
          })) {
        break;
      }
      return ElementRef{tool_, append(data.enemies, data.enemyCount, enemy)};
    }
    case EditTool::Item: {
      ItemSpec item = templates_.item;
      item.x = x;
      item.y = bottom + 1 - looks_.height(tool_, look_[toolIndex(tool_)]);
      item.type = look;
      if (alreadyThere(data.items, [&](const ItemSpec& s) { return s.x == item.x && s.y == item.y; })) {
        break;
      }
      return ElementRef{tool_, append(data.items, data.itemCount, item)};
    }
    case EditTool::Teleporter: {
      TeleporterSpec teleporter = templates_.teleporter;
      teleporter.x = x;
      teleporter.y = bottom + 1 - looks_.height(tool_, look_[toolIndex(tool_)]);
      if (teleporter.name != look) {
        teleporter.cooldown_name = pairedName(looks_.cooldownNames(), look);
      }
      teleporter.name = look;
      teleporter.number = unusedTeleporterNumber(data.teleporters);
      if (alreadyThere(data.teleporters, [&](const TeleporterSpec& s) {
            return s.x == teleporter.x && s.y == teleporter.y;
          })) {
        break;
      }
      return ElementRef{tool_, append(data.teleporters, data.teleporterCount, teleporter)};
    }
    case EditTool::Start: {
      if (data.start_x == x + cellWidth / 2 && data.start_y == bottom) break;
      data.start_x = x + cellWidth / 2;
      data.start_y = bottom;
      return ElementRef{tool_, 0};
    }
  }
  return ElementRef{};
}

void LevelEditor::beginPaint(int x, int y) {
  endGestures();
  if (tool_ != EditTool::Tile) {
    place(x, y);
    return;
  }
  painting_ = true;
  gestureChanged_ = false;
  // Without snapping the row of tiles is laid from where the drag began.
  paintOriginX_ = snapping_ ? 0 : x;
  paintOriginY_ = snapping_ ? 0 : y;
  paintColumn_ = cellOf(x - paintOriginX_, gridWidth());
  paintRow_ = cellOf(y - paintOriginY_, gridHeight());
  if (paintCell(paintColumn_, paintRow_)) changed();
}

// Every cell on the line from the last cell painted to this one, so a fast
// drag leaves no gaps between two mouse samples.
void LevelEditor::paintTo(int x, int y) {
  if (!painting_) return;
  const int column = cellOf(x - paintOriginX_, gridWidth());
  const int row = cellOf(y - paintOriginY_, gridHeight());
  const int dx = std::abs(column - paintColumn_);
  const int dy = -std::abs(row - paintRow_);
  const int stepX = column > paintColumn_ ? 1 : -1;
  const int stepY = row > paintRow_ ? 1 : -1;
  int error = dx + dy;
  bool added = false;
  while (paintColumn_ != column || paintRow_ != row) {
    const int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      paintColumn_ += stepX;
    }
    if (doubled <= dx) {
      error += dx;
      paintRow_ += stepY;
    }
    added = paintCell(paintColumn_, paintRow_) || added;
  }
  if (added) changed();
}

void LevelEditor::endPaint() {
  if (!painting_) return;
  painting_ = false;
  if (gestureChanged_) commit();
}

bool LevelEditor::paintCell(int column, int row) {
  const bool added =
      add(paintOriginX_ + column * gridWidth(), paintOriginY_ + row * gridHeight()).valid();
  gestureChanged_ = gestureChanged_ || added;
  return added;
}

bool LevelEditor::removeAt(int x, int y) {
  endGestures();
  const ElementRef element = topmost(x, y, false);
  if (!element.valid()) return false;
  LevelData& data = level_;
  switch (element.kind) {
    case EditTool::Tile:
      eraseAt(data.tiles, data.tileCount, element.index);
      break;
    case EditTool::Ladder:
      eraseAt(data.ladders, data.ladderCount, element.index);
      break;
    case EditTool::Chute:
      eraseAt(data.chutes, data.chuteCount, element.index);
      break;
    case EditTool::Enemy:
      eraseAt(data.enemies, data.enemyCount, element.index);
      break;
    case EditTool::Item:
      eraseAt(data.items, data.itemCount, element.index);
      break;
    case EditTool::Teleporter:
      eraseAt(data.teleporters, data.teleporterCount, element.index);
      break;
    case EditTool::Start:
      return false;
  }
  commit();
  return true;
}

bool LevelEditor::pickAt(int x, int y) {
  const ElementRef element = topmost(x, y, true);
  if (!element.valid()) return false;
  const int i = element.index;
  std::string look;
  switch (element.kind) {
    case EditTool::Tile:
      templates_.tile = level_.tiles[i];
      look = level_.tiles[i].tile_name;
      break;
    case EditTool::Ladder:
      templates_.ladder = level_.ladders[i];
      look = level_.ladders[i].name;
      break;
    case EditTool::Chute:
      templates_.chute = level_.chutes[i];
      look = level_.chutes[i].name;
      break;
    case EditTool::Enemy:
      templates_.enemy = level_.enemies[i];
      look = level_.enemies[i].name;
      break;
    case EditTool::Item:
      templates_.item = level_.items[i];
      look = level_.items[i].type;
      break;
    case EditTool::Teleporter:
      templates_.teleporter = level_.teleporters[i];
      look = level_.teleporters[i].name;
      break;
    case EditTool::Start:
      break;
  }
  tool_ = element.kind;
  const int found = looks_.find(tool_, look);
  if (found >= 0) look_[toolIndex(tool_)] = found;
  return true;
}

bool LevelEditor::beginMove(int x, int y) {
  endGestures();
  moving_ = topmost(x, y, true);
  moveX_ = x;
  moveY_ = y;
  gestureChanged_ = false;
  return moving_.valid();
}

// With snapping the element moves by whole grid cells, keeping where it
// sits within its cell.
void LevelEditor::moveTo(int x, int y) {
  if (!moving()) return;
  int dx = x - moveX_;
  int dy = y - moveY_;
  if (snapping_) {
    dx = dx / gridWidth() * gridWidth();
    dy = dy / gridHeight() * gridHeight();
  }
  if (dx == 0 && dy == 0) return;
  shift(moving_, dx, dy);
  moveX_ += dx;
  moveY_ += dy;
  gestureChanged_ = true;
  changed();
}

void LevelEditor::endMove() {
  if (!moving()) return;
  moving_ = ElementRef{};
  if (gestureChanged_) commit();
}

void LevelEditor::shift(ElementRef element, int dx, int dy) {
  const int i = element.index;
  LevelData& data = level_;
  switch (element.kind) {
    case EditTool::Tile:
      data.tiles[i].x += dx;
      data.tiles[i].y += dy;
      break;
    case EditTool::Ladder:
      data.ladders[i].x += dx;
      data.ladders[i].y += dy;
      break;
    case EditTool::Chute:
      data.chutes[i].x += dx;
      data.chutes[i].y += dy;
      break;
    case EditTool::Enemy:
      data.enemies[i].x += dx;
      data.enemies[i].y += dy;
      data.enemies[i].min_x += dx;  // the patrol goes with it
      data.enemies[i].max_x += dx;
      break;
    case EditTool::Item:
      data.items[i].x += dx;
      data.items[i].y += dy;
      break;
    case EditTool::Teleporter:
      data.teleporters[i].x += dx;
      data.teleporters[i].y += dy;
      break;
    case EditTool::Start:
      data.start_x += dx;
      data.start_y += dy;
      break;
  }
}
