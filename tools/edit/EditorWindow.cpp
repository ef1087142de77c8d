#include "tools/edit/EditorWindow.h"

#include <allegro.h>

#include <algorithm>
#include <string>

#include "game/Game.h"
#include "graphics/PictureLayout.h"
#include "shell/Fatal.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"
#include "shell/WindowIdentity.h"

int openEditorDisplay(const std::string& title, int& width, int& height,
                      int& updatesPerSecond, int& zoom) {
  StartupOptions options;
  options.program = "pwe-edit";
  options.windowClass = editorWindowClass;
  options.title = title.c_str();
  // The working directory is the tree's parent or a scratch folder: a log
  // there would lie beside the author's tree or keep the scratch from going.
  options.openLog = false;
  // Play-tests are heard as in the game, but no music is ever played.
  options.midi = false;
  options.mouseRequired = true;
  // The level is edited in a window, at the game's scale.
  options.windowOnly = true;
  options.windowScaled = true;
  options.rowsBelow = EditorWindow::statusBarHeight;
  options.columnsBeside = EditorWindow::stripWidth;
  PictureLayout layout;
  if (initialise(width, height, updatesPerSecond, &layout, options) != 0) return -1;
  zoom = layout.scale;
  startTimer(updatesPerSecond);
  return 0;
}

EditorWindow::EditorWindow(Game& game, int zoom)
    : game_(game), width_(game.width), height_(game.height), zoom_(std::max(zoom, 1)) {
  canvas_.reset(create_bitmap(width_ + stripWidth, height_ + statusBarHeight));
  levelView_.reset(create_sub_bitmap(canvas_.get(), 0, 0, width_, height_));
  screenView_.reset(create_sub_bitmap(screen, 0, 0, width_ * zoom_, height_ * zoom_));
  clear_bitmap(canvas_.get());
  showOnCanvas();
}

int EditorWindow::largestZoom() const {
  int desktopWidth = 0;
  int desktopHeight = 0;
  if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) return 1;
  return fitPicture(canvas_->w, canvas_->h, desktopWidth, desktopHeight).scale;
}

// Allegro lets go of the old screen before it makes the new one: a window
// that cannot be had is asked for again at the zoom it had.
std::string EditorWindow::setZoom(int zoom) {
  if (zoom < 1 || zoom > largestZoom()) {
    return "a zoom of " + std::to_string(zoom) + " does not fit the desktop";
  }
  screenView_.reset();
  std::string why;
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, canvas_->w * zoom, canvas_->h * zoom, 0, 0) != 0) {
    why = allegro_error;
    zoom = zoom_;
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, canvas_->w * zoom, canvas_->h * zoom, 0, 0) != 0) {
      dataFailure("Couldn't set graphics mode!", std::string("Couldn't set graphics mode: ") +
                                                     allegro_error);
    }
  }
  zoom_ = zoom;
  screenView_.reset(create_sub_bitmap(screen, 0, 0, width_ * zoom_, height_ * zoom_));
  return why;
}

// The Game may show only what changed since its last frame, while the
// editor draws marks and the cursor over the view every frame: the whole
// composed frame is copied over them.
void EditorWindow::drawLevel() {
  game_.drawFrame();
  showWholeFrame(levelView_.get());
}

void EditorWindow::showWholeFrame(BITMAP* target) const {
  blit(game_.buffer.get(), target, 0, 0, 0, 0, width_, height_);
}

void EditorWindow::drawStatus(const std::vector<std::string>& facts,
                              const std::vector<std::string>& message) {
  BITMAP* target = canvas_.get();
  const int top = height_;
  rectfill(target, 0, top, target->w - 1, top + statusBarHeight - 1, makecol(24, 24, 32));
  hline(target, 0, top, target->w - 1, makecol(90, 90, 110));
  int line = 0;
  for (const std::string& text : facts) {
    if (line == statusLines) return;
    textout_ex(target, font, text.c_str(), 4, top + 3 + line++ * statusLineHeight,
               makecol(230, 230, 230), -1);
  }
  for (const std::string& text : message) {
    if (line == statusLines) return;
    textout_ex(target, font, text.c_str(), 4, top + 3 + line++ * statusLineHeight,
               makecol(255, 210, 120), -1);
  }
}

// Allegro's stretch copies the nearest pixel: each canvas pixel becomes a
// sharp block.
void EditorWindow::present() {
  acquire_screen();
  stretch_blit(canvas_.get(), screen, 0, 0, canvas_->w, canvas_->h, 0, 0, canvas_->w * zoom_,
               canvas_->h * zoom_);
  release_screen();
}

void EditorWindow::showOnScreen() {
  game_.output.presenter.setLayout(PictureLayout{zoom_, 0, 0});
  game_.output.display = screenView_.get();
}

void EditorWindow::showOnCanvas() {
  game_.output.presenter.setLayout(PictureLayout{});
  game_.output.display = levelView_.get();
}

void EditorWindow::showWholeFrameOnScreen() const {
  stretch_blit(game_.buffer.get(), screenView_.get(), 0, 0, width_, height_, 0, 0,
               width_ * zoom_, height_ * zoom_);
}
