// The edits a mouse makes: placing, painting, removing, picking and moving
// elements.
#include <cstdlib>
#include <functional>
#include <tuple>
#include <type_traits>

#include "game/Game.h"
#include "tools/edit/FloorLanding.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LookCatalog.h"
#include "tools/edit/Selection.h"

namespace {

// An element of the same kind and look already at that place.
template <typename Spec, typename Same>
bool alreadyThere(const std::vector<Spec>& list, Same same) {
  for (const Spec& spec : list) {
    if (same(spec)) return true;
  }
  return false;
}

int elementCount(const LevelData& level) {
  int total = 0;
  forEachRecordList(level, [&](const auto& list, int, auto) { total += static_cast<int>(list.size()); });
  return total;
}

}  // namespace

ElementRef LevelEditor::place(int x, int y, bool free) {
  endGestures();
  snap(x, y);
  const ElementRef placed = add(level_, x, y, false, free);
  if (placed.valid()) commit(std::string("place ") + toolName(placed.kind));
  return placed;
}

// (x, y): the top-left corner of the grid cell the element goes in. The
// structures take the cell's corner; the rest stand on the first floor
// under the cell, or on its lowest row when free or with none below.
ElementRef LevelEditor::add(LevelData& data, int x, int y, bool always, bool free) {
  if (full(data, tool_)) return ElementRef{};
  if (tool_ == ElementKind::Tile || tool_ == ElementKind::Ladder || tool_ == ElementKind::Chute) {
    return addStructure(data, x, y, always);
  }
  const int bottom = y + gridHeight() - 1;
  const auto feetAt = [&](int column) {
    int feet = bottom;
    if (free || !placementError_.empty() || !floorUnder(game_.floorManager, column, y, feet)) {
      return bottom;
    }
    return feet;
  };
  return addStanding(data, x, feetAt, always);
}

TileSpec LevelEditor::toolTile(int x, int y) const {
  const std::string look = looks_.name(ElementKind::Tile, look_[toolIndex(ElementKind::Tile)]);
  TileSpec tile = templates_.tile;
  tile.x = x;
  tile.y = y;
  if (tile.tile_name != look) tile.cleared_name = pairedName(looks_.clearedTileNames(), look);
  tile.tile_name = look;
  return tile;
}

// A probe (the cursor's outline) is refused in silence.
bool LevelEditor::full(const LevelData& data, EditTool kind) {
  ElementKind record;
  if (!recordKindOf(kind, record)) return false;
  const std::string beyond = visitRecordList(data, record, [](const auto& list, auto fields) {
    return countBoundProblem(static_cast<int>(list.size()) + 1, decltype(fields)::facts);
  });
  if (beyond.empty()) return false;
  if (&data == &level_) refusal_ = "Not placed: " + beyond;
  return true;
}

ElementRef LevelEditor::addStructure(LevelData& data, int x, int y, bool always) {
  const std::string look = lookName();
  const auto there = [always](const auto& list, auto same) {
    return !always && alreadyThere(list, same);
  };
  switch (tool_.kind()) {
    case ElementKind::Tile: {
      if (there(data.tiles, [&](const TileSpec& s) { return s.x == x && s.y == y; })) break;
      return ElementRef{tool_, addRecord(data, toolTile(x, y))};
    }
    case ElementKind::Ladder: {
      LadderSpec ladder = templates_.ladder;
      ladder.x = x;
      ladder.y = y;
      ladder.name = look;
      fitLadder(ladder);
      if (there(data.ladders,
                [&](const LadderSpec& s) { return s.x == ladder.x && s.y == ladder.y; })) {
        break;
      }
      return ElementRef{tool_, addRecord(data, ladder)};
    }
    case ElementKind::Chute: {
      if (there(data.chutes, [&](const ChuteSpec& s) { return s.x == x && s.y == y; })) break;
      ChuteSpec chute = templates_.chute;
      chute.x = x;
      chute.y = y;
      chute.name = look;
      fitChute(chute);
      return ElementRef{tool_, addRecord(data, chute)};
    }
    default:
      break;
  }
  return ElementRef{};
}

// feetAt(column): the row an element standing with its middle on that
// column rests on, for the grid cell whose left column is x.
ElementRef LevelEditor::addStanding(LevelData& data, int x, const std::function<int(int)>& feetAt,
                                    bool always) {
  const std::string look = lookName();
  const int cellWidth = gridWidth();
  const auto there = [always](const auto& list, auto same) {
    return !always && alreadyThere(list, same);
  };
  if (tool_.isStart()) {
    const int centre = x + cellWidth / 2;
    const int feet = feetAt(centre);
    if (!always && data.start_x == centre && data.start_y == feet) return ElementRef{};
    data.start_x = centre;
    data.start_y = feet;
    return ElementRef{tool_, 0};
  }
  switch (tool_.kind()) {
    case ElementKind::Enemy: {
      EnemySpec enemy = templates_.enemy;
      const int centre = x + cellWidth / 2;
      enemy.min_x = centre + (enemy.min_x - enemy.x);
      enemy.max_x = centre + (enemy.max_x - enemy.x);
      enemy.x = centre;
      enemy.y = feetAt(centre);
      enemy.name = look;
      if (there(data.enemies, [&](const EnemySpec& s) {
            return s.x == enemy.x && s.y == enemy.y && s.name == look;
          })) {
        break;
      }
      return ElementRef{tool_, addRecord(data, enemy)};
    }
    case ElementKind::Item: {
      ItemSpec item = templates_.item;
      const int shown = look_[toolIndex(tool_)];
      item.x = x;
      item.y = feetAt(x + looks_.width(tool_, shown) / 2) + 1 - looks_.height(tool_, shown);
      item.type = look;
      if (there(data.items, [&](const ItemSpec& s) { return s.x == item.x && s.y == item.y; })) {
        break;
      }
      return ElementRef{tool_, addRecord(data, item)};
    }
    case ElementKind::Teleporter: {
      TeleporterSpec teleporter = templates_.teleporter;
      if (teleporter.name != look) {
        teleporter.cooldown_name = pairedName(looks_.cooldownNames(), look);
      }
      teleporter.name = look;
      teleporter.number = unusedTeleporterNumber(data.teleporters);
      looks_.showOwnNumber(teleporter);
      teleporter.x = x;
      // Standing on the row in the look it took, should that be of another height.
      int taken = looks_.find(tool_, teleporter.name);
      if (taken < 0) taken = look_[toolIndex(tool_)];
      // Its arrival point, the middle of its bottom row, is where it stands.
      teleporter.y = feetAt(x + looks_.width(tool_, taken) / 2) + 1 - looks_.height(tool_, taken);
      if (there(data.teleporters, [&](const TeleporterSpec& s) {
            return s.x == teleporter.x && s.y == teleporter.y;
          })) {
        break;
      }
      return ElementRef{tool_, addRecord(data, teleporter)};
    }
    default:
      break;
  }
  return ElementRef{};
}

void LevelEditor::beginPaint(int x, int y) {
  endGestures();
  if (tool_ != ElementKind::Tile) {
    place(x, y);
    return;
  }
  painting_ = true;
  gestureChanged_ = false;
  // Without snapping the row of tiles is laid from where the drag began.
  paintOriginX_ = snapping_ ? 0 : x;
  paintOriginY_ = snapping_ ? 0 : y;
  paintColumn_ = gridCell(x - paintOriginX_, gridWidth());
  paintRow_ = gridCell(y - paintOriginY_, gridHeight());
  if (paintCell(paintColumn_, paintRow_)) changed();
}

// Every cell on the line from the last cell painted to this one, so a fast
// drag leaves no gaps between two mouse samples.
void LevelEditor::paintTo(int x, int y) {
  if (!painting_) return;
  const int column = gridCell(x - paintOriginX_, gridWidth());
  const int row = gridCell(y - paintOriginY_, gridHeight());
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
  if (gestureChanged_) commit("paint " + countedName(elementCount(level_) - elementCount(history_.current()), toolName(tool_)));
}

bool LevelEditor::paintCell(int column, int row) {
  const bool added =
      add(level_, paintOriginX_ + column * gridWidth(), paintOriginY_ + row * gridHeight())
          .valid();
  gestureChanged_ = gestureChanged_ || added;
  return added;
}

bool LevelEditor::removeAt(int x, int y) {
  endGestures();
  const ElementRef element = topmost(x, y, false);
  if (!element.valid()) return false;
  ElementKind kind;
  if (!recordKindOf(element.kind, kind)) return false;
  removeRecord(level_, kind, element.index);
  selection_.removed(element);
  commit(std::string("remove ") + toolName(element.kind));
  return true;
}

bool LevelEditor::pickAt(int x, int y) {
  const ElementRef element = topmost(x, y, true);
  if (!element.valid()) return false;
  const int i = element.index;
  std::string look;
  ElementKind kind;
  if (recordKindOf(element.kind, kind)) {
    visitRecordList(level_, kind, [&](const auto& list, auto) {
      using Spec = std::decay_t<decltype(list[i])>;
      std::get<Spec&>(std::tie(templates_.tile, templates_.ladder, templates_.chute,
                               templates_.enemy, templates_.item, templates_.teleporter)) =
          list[i];
      look = recordLook(list[i]);
    });
  }
  tool_ = element.kind;
  selectTool_ = false;
  const int found = looks_.find(tool_, look);
  if (found >= 0) look_[toolIndex(tool_)] = found;
  previewKey_ = PreviewKey{};  // the template changed
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
  if (movingGroup_) shiftSelected(level_, selection_, dx, dy);
  else shift(moving_, dx, dy);
  moveX_ += dx;
  moveY_ += dy;
  gestureChanged_ = true;
  changed();
}

void LevelEditor::endMove(bool free) {
  if (!moving()) return;
  const EditTool kind = moving_.kind;
  const bool group = movingGroup_;
  const ElementRef one = group ? selection_.single() : moving_;
  moving_ = ElementRef{};
  movingGroup_ = false;
  if (!gestureChanged_) return;
  if (!free && one.valid()) landOnFloor(one);
  commit(group ? groupName("move", selection_) : std::string("move ") + toolName(kind));
}

// As a click places it: standing on the first floor under its top row, at
// its middle column, as the engine placed it where it was let go.
void LevelEditor::landOnFloor(ElementRef element) {
  if (element.kind == ElementKind::Tile || element.kind == ElementKind::Ladder ||
      element.kind == ElementKind::Chute) {
    return;
  }
  const Rect drawn = bounds(element);
  int feet = 0;
  if (drawn.empty() || !floorUnder(game_.floorManager, drawn.x + drawn.w / 2, drawn.y, feet)) {
    return;
  }
  shift(element, 0, feet - (drawn.y + drawn.h - 1));
  changed();
}

void LevelEditor::shift(ElementRef element, int dx, int dy) {
  shiftElement(level_, element, dx, dy);
}
