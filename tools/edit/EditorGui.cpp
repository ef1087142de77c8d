// The GUI's font and colours while a dialog runs, at the editor's zoom.
#include <allegro.h>

#include <algorithm>

#include "tools/edit/EditorDialogs.h"
#include "tools/edit/EditorInput.h"

namespace {

int zoom = 1;  // the editor's: the dialogs are laid out at 1 and grow by it

// The built-in font's glyphs 32 to 126, each in a cell one row taller
// above and below, scale times as large, on a sheet Allegro grabs as a font: glyph
// cells framed by colour 255, ink 1 on 0, which it takes as a font that
// honours the text colour. Null when it cannot be made.
FONT* paddedCopy(FONT* plain, int scale) {
  const int glyphWidth = text_length(plain, "M");
  const int glyphHeight = text_height(plain) + 2;
  const int cellWidth = glyphWidth * scale;
  const int cellHeight = glyphHeight * scale;
  const int glyphs = 126 - 32 + 1;
  const int columns = 16;
  const int rows = (glyphs + columns - 1) / columns;
  BITMAP* sheet =
      create_bitmap_ex(8, 1 + columns * (cellWidth + 1), 1 + rows * (cellHeight + 1));
  BITMAP* cell = create_bitmap_ex(8, glyphWidth, glyphHeight);
  if (sheet == nullptr || cell == nullptr) {
    if (sheet != nullptr) destroy_bitmap(sheet);
    if (cell != nullptr) destroy_bitmap(cell);
    return nullptr;
  }
  clear_to_color(sheet, 255);
  for (int g = 0; g < glyphs; ++g) {
    const int x = 1 + g % columns * (cellWidth + 1);
    const int y = 1 + g / columns * (cellHeight + 1);
    clear_to_color(cell, 0);
    const char glyph[2] = {static_cast<char>(32 + g), '\0'};
    textout_ex(cell, plain, glyph, 0, 1, 1, -1);
    stretch_blit(cell, sheet, 0, 0, glyphWidth, glyphHeight, x, y, cellWidth, cellHeight);
  }
  destroy_bitmap(cell);
  FONT* padded = grab_font_from_bitmap(sheet);
  destroy_bitmap(sheet);
  return padded;
}

}  // namespace

void setDialogZoom(int zoomed) { zoom = std::max(zoomed, 1); }

int dialogZoom() { return zoom; }

GuiOnScreen::GuiOnScreen() : plainFont_(font), padded_(paddedCopy(font, zoom), destroy_font) {
  if (padded_) font = padded_.get();
  gui_fg_color = makecol(0, 0, 0);
  gui_bg_color = makecol(235, 235, 235);
  gui_mg_color = makecol(140, 140, 140);
  show_mouse(screen);
}

GuiOnScreen::~GuiOnScreen() {
  show_mouse(nullptr);
  font = plainFont_;
  clearKeys();
  mouseBackFromDialog();
}

