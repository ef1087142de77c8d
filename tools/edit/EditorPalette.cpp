#include "tools/edit/EditorPalette.h"

#include <algorithm>
#include <string>

#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

constexpr int margin = 4;        // round the panel's contents, and from the map's edge
constexpr int titleHeight = 12;  // a line of the built-in font and a gap
constexpr int largestCell = 40;
constexpr int smallestCell = 12;
constexpr int fewestColumns = 3;

int ceilDiv(int a, int b) { return (a + b - 1) / b; }

bool overlaps(const Rect& a, const Rect& b) {
  return !a.empty() && !b.empty() && a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h &&
         b.y < a.y + a.h;
}

int overlapArea(const Rect& a, const Rect& b) {
  if (!overlaps(a, b)) return 0;
  const int w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
  const int h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
  return w * h;
}

// The grid of thumbnails: as few columns as let the rows fit the map's
// height, in cells as large as keep the panel within a third of its width.
PaletteLayout sized(int count, int width, int height) {
  PaletteLayout layout;
  layout.count = count;
  const int widest = std::max(width / 3 - 2 * margin, fewestColumns * smallestCell);
  for (int cell = largestCell; cell >= smallestCell; cell -= 4) {
    const int rows = std::max(1, (height - 2 * margin - titleHeight - 2 * margin) / cell);
    layout.cell = cell;
    layout.columns = std::max(fewestColumns, ceilDiv(std::max(count, 1), rows));
    if (layout.columns * cell <= widest) break;
  }
  const int rows = ceilDiv(std::max(count, 1), layout.columns);
  layout.panel.w = layout.columns * layout.cell + 2 * margin;
  layout.panel.h = titleHeight + rows * layout.cell + 2 * margin;
  return layout;
}

}  // namespace

Rect PaletteLayout::thumbnail(int look) const {
  if (look < 0 || look >= count || columns <= 0) return Rect{};
  return Rect{panel.x + margin + (look % columns) * cell + 1,
              panel.y + margin + titleHeight + (look / columns) * cell + 1, cell - 2, cell - 2};
}

int PaletteLayout::lookAt(int x, int y) const {
  for (int look = 0; look < count; ++look) {
    if (thumbnail(look).contains(x, y)) return look;
  }
  return -1;
}

PaletteLayout placePalette(int count, int width, int height, const Rect& clear, int cursorX,
                           int cursorY, const PaletteLayout& current) {
  PaletteLayout layout = sized(count, width, height);
  const Rect& kept = current.panel;
  if (!kept.empty() && kept.w == layout.panel.w && kept.h == layout.panel.h &&
      (kept.contains(cursorX, cursorY) || !overlaps(kept, clear))) {
    layout.panel = kept;
    return layout;
  }
  const int left = margin;
  const int right = width - layout.panel.w - margin;
  const int top = margin;
  const int bottom = height - layout.panel.h - margin;
  const bool cursorLeft = cursorX < width / 2;
  const int across = cursorLeft ? right : left;
  const int near = cursorLeft ? left : right;
  const int corners[4][2] = {{across, top}, {across, bottom}, {near, top}, {near, bottom}};
  int leastCovered = -1;
  for (const auto& corner : corners) {
    const Rect place{corner[0], corner[1], layout.panel.w, layout.panel.h};
    const int covered = overlapArea(place, clear);
    if (leastCovered < 0 || covered < leastCovered) {
      leastCovered = covered;
      layout.panel = place;
    }
    if (covered == 0) break;
  }
  return layout;
}

Rect paletteClearance(const LevelEditor& editor, int x, int y) {
  const ElementRef under = editor.elementAt(x, y);
  const Rect bounds = under.valid() ? editor.bounds(under) : Rect{};
  return bounds.empty() ? Rect{x, y, 1, 1} : bounds;
}

bool choosePaletteLook(const PaletteLayout& layout, int x, int y, LevelEditor& editor) {
  const int look = layout.lookAt(x, y);
  if (look < 0) return false;
  editor.setLook(look);
  return true;
}

void drawPalette(BITMAP* target, const PaletteLayout& layout, const LookCatalog& looks,
                 const LevelEditor& editor, int cursorX, int cursorY) {
  const Rect& p = layout.panel;
  rectfill(target, p.x, p.y, p.x + p.w - 1, p.y + p.h - 1, makecol(24, 24, 32));
  rect(target, p.x, p.y, p.x + p.w - 1, p.y + p.h - 1, makecol(90, 90, 110));
  const EditTool tool = editor.tool();
  const int hovered = layout.lookAt(cursorX, cursorY);
  const std::string title =
      hovered >= 0 ? looks.name(tool, hovered) : std::string(toolName(tool)) + " looks";
  set_clip_rect(target, p.x, p.y, p.x + p.w - 1, p.y + p.h - 1);
  textout_ex(target, font, title.c_str(), p.x + margin, p.y + margin, makecol(230, 230, 230), -1);
  for (int look = 0; look < layout.count; ++look) {
    const Rect t = layout.thumbnail(look);
    BITMAP* image = looks.image(tool, look);
    // Scaled down to fit, never up, and kept in proportion.
    const int longest = std::max(image->w, image->h);
    const int w = longest <= t.w ? image->w : image->w * t.w / longest;
    const int h = longest <= t.h ? image->h : image->h * t.h / longest;
    masked_stretch_blit(image, target, 0, 0, image->w, image->h, t.x + (t.w - w) / 2,
                        t.y + (t.h - h) / 2, std::max(w, 1), std::max(h, 1));
    if (look == editor.look() || look == hovered) {
      const int colour = look == editor.look() ? makecol(255, 210, 120) : makecol(160, 160, 160);
      rect(target, t.x - 1, t.y - 1, t.x + t.w, t.y + t.h, colour);
    }
  }
  set_clip_rect(target, 0, 0, target->w - 1, target->h - 1);
}
