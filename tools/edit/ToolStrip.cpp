#include "tools/edit/ToolStrip.h"

#include <algorithm>
#include <string>

#include "tools/edit/LevelEditor.h"
#include "tools/edit/LookCatalog.h"

namespace {

constexpr int margin = 4;
constexpr int rowHeight = 12;

bool chosen(const StripEntry& entry, const LevelEditor& editor) {
  if (entry.select) return editor.selecting();
  return !editor.selecting() && editor.tool() == entry.tool;
}

}  // namespace

// The placing tools come from the element kinds' table, in its key order.
const std::vector<StripEntry>& stripEntries() {
  static const std::vector<StripEntry> entries = [] {
    std::vector<StripEntry> list;
    for (int i = 0; i < editToolCount; ++i) {
      const EditTool tool = EditTool::at(i);
      list.push_back({std::string(1, toolKey(tool)), tool.isStart() ? "start" : toolName(tool),
                      false, tool});
    }
    list.push_back({"S", "select", true, ElementKind::Tile});
    return list;
  }();
  return entries;
}

int ToolStripLayout::entryAt(int x, int y) const {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

ToolStripLayout layOutToolStrip(int left, int width, int height) {
  ToolStripLayout layout;
  layout.panel = Rect{left, 0, width, height};
  int y = margin;
  for (std::size_t i = 0; i < stripEntries().size(); ++i) {
    layout.rows.push_back(Rect{left + margin, y, width - 2 * margin, rowHeight});
    y += rowHeight;
  }
  const int side = width - 2 * margin;
  layout.look = Rect{left + margin, y + margin, side, side};
  layout.help = Rect{left + margin, height - margin - rowHeight, width - 2 * margin, rowHeight};
  return layout;
}

bool chooseFromStrip(const ToolStripLayout& layout, int x, int y, LevelEditor& editor) {
  const int at = layout.entryAt(x, y);
  if (at < 0) return false;
  const StripEntry& entry = stripEntries()[at];
  if (entry.select) editor.chooseSelectTool();
  else editor.setTool(entry.tool);
  return true;
}

namespace {

// As large as fits the box in whole blocks, kept sharp; scaled down in
// proportion when even one block a pixel does not fit. Centred.
void drawFitted(BITMAP* target, BITMAP* image, const Rect& box) {
  const int longest = std::max(image->w, image->h);
  const int blocks =
      std::max(1, std::min(box.w / std::max(image->w, 1), box.h / std::max(image->h, 1)));
  const int w = longest <= box.w ? image->w * blocks : image->w * box.w / longest;
  const int h = longest <= box.h ? image->h * blocks : image->h * box.h / longest;
  masked_stretch_blit(image, target, 0, 0, image->w, image->h, box.x + (box.w - w) / 2,
                      box.y + (box.h - h) / 2, std::max(w, 1), std::max(h, 1));
}

}  // namespace

void drawToolStrip(BITMAP* target, const ToolStripLayout& layout, const LookCatalog& looks,
                   const LevelEditor& editor) {
  const Rect& p = layout.panel;
  rectfill(target, p.x, p.y, p.x + p.w - 1, p.y + p.h - 1, makecol(24, 24, 32));
  vline(target, p.x, p.y, p.y + p.h - 1, makecol(90, 90, 110));
  const int text = makecol(230, 230, 230);
  const int key = makecol(255, 210, 120);
  for (std::size_t i = 0; i < layout.rows.size(); ++i) {
    const Rect& r = layout.rows[i];
    const StripEntry& entry = stripEntries()[i];
    if (chosen(entry, editor)) {
      rectfill(target, r.x, r.y, r.x + r.w - 1, r.y + r.h - 1, makecol(60, 60, 90));
    }
    textout_ex(target, font, entry.key.c_str(), r.x + 2, r.y + 2, key, -1);
    textout_ex(target, font, entry.label.c_str(), r.x + 2 + 2 * text_length(font, "M"), r.y + 2, text, -1);
  }
  const Rect& l = layout.look;
  rect(target, l.x - 1, l.y - 1, l.x + l.w, l.y + l.h, makecol(90, 90, 110));
  const bool hasLook = !editor.selecting() && editor.tool() != EditTool::Start &&
                       looks.count(editor.tool()) > 0;
  if (hasLook) drawFitted(target, looks.image(editor.tool(), editor.look()), l);
  textout_ex(target, font, "F1: keys", layout.help.x + 2, layout.help.y + 2, key, -1);
}
