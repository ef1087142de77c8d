// The edits of many elements at once: selecting them, the clipboard, moving
// and removing the selection, and filling a rectangle with tiles. Each
// change of the level is one step of the history.
#include <algorithm>
#include <cstdlib>

#include "game/Game.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

// A drag no bigger than this either way is a click.
constexpr int clickSpan = 2;

Rect spanning(int x0, int y0, int x1, int y1) {
  return Rect{std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
}

bool overlaps(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Selection withoutStart(const Selection& selection) {
  Selection records;
  for (ElementRef element : selection.refs()) {
    if (element.kind != EditTool::Start) records.add(element);
  }
  return records;
}

}  // namespace

void LevelEditor::chooseSelectTool() {
  endGestures();
  selectTool_ = true;
}

void LevelEditor::selectAll() { selection_ = everything(level_); }

void LevelEditor::clearSelection() { selection_.clear(); }

void LevelEditor::beginSelect(int x, int y, bool add) {
  endGestures();
  banding_ = true;
  bandBase_ = add ? selection_ : Selection{};
  bandX_ = x;
  bandY_ = y;
  selectTo(x, y);
}

void LevelEditor::selectTo(int x, int y) {
  if (!banding_) return;
  band_ = spanning(bandX_, bandY_, x, y);
  selectBand();
}

void LevelEditor::endSelect() { banding_ = false; }

void LevelEditor::selectBand() {
  selection_ = bandBase_;
  if (band_.w <= clickSpan && band_.h <= clickSpan) {
    selection_.add(topmost(bandX_, bandY_, true));
    return;
  }
  const Selection inBand = anchoredIn(level_, band_);
  for (ElementRef element : inBand.refs()) selection_.add(element);
}

bool LevelEditor::onSelection(int x, int y) const {
  for (ElementRef element : selection_.refs()) {
    if (bounds(element).contains(x, y)) return true;
  }
  return false;
}

int LevelEditor::copy() {
  const Clipboard copied = copySelected(level_, selection_);
  if (!copied.empty()) clipboard_ = copied;
  return copied.count;
}

bool LevelEditor::cut() {
  if (copy() == 0) return false;
  return removeSelection("cut");
}

bool LevelEditor::paste(int x, int y) {
  endGestures();
  int originX = 0, originY = 0;
  if (!clipboardOrigin(clipboard_, originX, originY)) return false;
  snap(x, y);
  selection_ = pasteInto(level_, clipboard_, x - originX, y - originY);
  followNumbers(clipboard_);
  commit(groupName("paste", selection_));
  return true;
}

// Beside: right of the selection's drawn extent, so the copy touches it
// without covering it.
bool LevelEditor::duplicate() {
  endGestures();
  const Clipboard copied = copySelected(level_, selection_);
  if (copied.empty()) return false;
  int left = 0, right = 0;
  bool any = false;
  for (ElementRef element : selection_.refs()) {
    const Rect drawn = bounds(element);
    if (drawn.empty() || element.kind == EditTool::Start) continue;
    left = any ? std::min(left, drawn.x) : drawn.x;
    right = any ? std::max(right, drawn.x + drawn.w) : drawn.x + drawn.w;
    any = true;
  }
  int dx = any ? right - left : gridWidth();
  if (snapping_) dx = (dx + gridWidth() - 1) / gridWidth() * gridWidth();
  selection_ = pasteInto(level_, copied, dx, 0);
  followNumbers(copied);
  commit(groupName("duplicate", selection_));
  return true;
}

// The pasted teleporters are the selection's, in the clipboard's order.
void LevelEditor::followNumbers(const Clipboard& copied) {
  std::size_t copy = 0;
  for (ElementRef element : selection_.refs()) {
    if (element.kind != ElementKind::Teleporter) continue;
    looks_.followNumber(level_.teleporters[element.index], copied.records.teleporters[copy++]);
  }
}

bool LevelEditor::deleteSelection() { return removeSelection("delete"); }

bool LevelEditor::removeSelection(const char* verb) {
  endGestures();
  const Selection records = withoutStart(selection_);
  if (records.empty()) return false;
  removeSelected(level_, records);
  selection_.clear();
  commit(groupName(verb, records));
  return true;
}

bool LevelEditor::nudge(int dx, int dy, bool pixels) {
  endGestures();
  if (selection_.empty() || (dx == 0 && dy == 0)) return false;
  if (!pixels) {
    dx *= gridWidth();
    dy *= gridHeight();
  }
  shiftSelected(level_, selection_, dx, dy);
  commit(groupName("nudge", selection_));
  return true;
}

bool LevelEditor::beginGroupMove(int x, int y) {
  endGestures();
  if (!onSelection(x, y)) return false;
  movingGroup_ = true;
  moveX_ = x;
  moveY_ = y;
  gestureChanged_ = false;
  return true;
}

void LevelEditor::beginFill(int x, int y) {
  endGestures();
  if (tool_ != ElementKind::Tile || selectTool_) return;
  filling_ = true;
  bandX_ = x;
  bandY_ = y;
  fillTo(x, y);
}

// The band covers whole cells: from the cell the drag began in to the
// point's, both included.
void LevelEditor::fillTo(int x, int y) {
  if (!filling_) return;
  const int originX = snapping_ ? 0 : bandX_;
  const int originY = snapping_ ? 0 : bandY_;
  const int w = gridWidth();
  const int h = gridHeight();
  const int c0 = gridCell(bandX_ - originX, w), c1 = gridCell(x - originX, w);
  const int r0 = gridCell(bandY_ - originY, h), r1 = gridCell(y - originY, h);
  band_ = Rect{originX + std::min(c0, c1) * w, originY + std::min(r0, r1) * h,
               (std::abs(c1 - c0) + 1) * w, (std::abs(r1 - r0) + 1) * h};
}

void LevelEditor::endFill() {
  if (!filling_) return;
  filling_ = false;
  const int added = fillRectangle();
  if (added > 0) commit("fill " + countedName(added, toolName(ElementKind::Tile)));
  const int rows = band_.h / std::max(gridHeight(), 1);
  if (added > 0 && rows > 1) {
    note_ = "Filled " + std::to_string(rows) + " rows deep: only the top row is claimable, the " +
            countedName(rows - 1, "row") + " under it can never be stood on";
  }
}

// Only the band's top row can be stood on, so only it is claimable and
// worth points: a claimable tile under it could never be claimed.
int LevelEditor::fillRectangle() {
  // A copy: the tiles added move the list.
  bool selectedLook = false;
  TileSpec pattern;
  for (ElementRef element : selection_.refs()) {
    if (element.kind == ElementKind::Tile) {
      pattern = level_.tiles[element.index];
      selectedLook = true;
      break;
    }
  }
  int added = 0;
  for (int y = band_.y; y < band_.y + band_.h; y += gridHeight()) {
    for (int x = band_.x; x < band_.x + band_.w; x += gridWidth()) {
      if (tileLiesOn(Rect{x, y, gridWidth(), gridHeight()})) continue;
      if (full(level_, ElementKind::Tile)) return added;
      TileSpec tile = selectedLook ? pattern : toolTile(x, y);
      tile.x = x;
      tile.y = y;
      if (y != band_.y) {
        tile.claimable = 0;
        tile.points = 0;
      }
      addRecord(level_, tile);
      ++added;
    }
  }
  return added;
}

// A tile whose look the tree lacks is taken to be a grid cell large.
bool LevelEditor::tileLiesOn(const Rect& cell) const {
  for (const TileSpec& tile : level_.tiles) {
    const int look = looks_.find(ElementKind::Tile, tile.tile_name);
    const int w = look >= 0 ? looks_.width(ElementKind::Tile, look) : gridWidth();
    const int h = look >= 0 ? looks_.height(ElementKind::Tile, look) : gridHeight();
    if (overlaps(cell, Rect{tile.x, tile.y, w, h})) return true;
  }
  return false;
}

std::vector<ElementRef> LevelEditor::linkedTeleporters() const {
  std::vector<ElementRef> linked;
  for (int i = 0; i < static_cast<int>(level_.teleporters.size()); ++i) {
    const int number = level_.teleporters[i].number;
    for (ElementRef element : selection_.refs()) {
      if (element.kind == ElementKind::Teleporter &&
          level_.teleporters[element.index].number == number) {
        linked.push_back(ElementRef{ElementKind::Teleporter, i});
        break;
      }
    }
  }
  return linked;
}
