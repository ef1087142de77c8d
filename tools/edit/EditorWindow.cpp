#include "tools/edit/EditorWindow.h"

#include <allegro.h>

#include "game/Game.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"
#include "shell/WindowIdentity.h"

int openEditorDisplay(const std::string& title, int& width, int& height,
                      int& updatesPerSecond) {
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
  // The level is edited at the game's size, whatever the game shows it at.
  options.windowOnly = true;
  options.rowsBelow = EditorWindow::statusBarHeight;
  if (initialise(width, height, updatesPerSecond, nullptr, options) != 0) return -1;
  startTimer(updatesPerSecond);
  return 0;
}

EditorWindow::EditorWindow(Game& game) : game_(game), width_(game.width), height_(game.height) {
  canvas_.reset(create_bitmap(width_, height_ + statusBarHeight));
  levelView_.reset(create_sub_bitmap(canvas_.get(), 0, 0, width_, height_));
  screenView_.reset(create_sub_bitmap(screen, 0, 0, width_, height_));
  clear_bitmap(canvas_.get());
  showOnCanvas();
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
  rectfill(target, 0, top, width_ - 1, top + statusBarHeight - 1, makecol(24, 24, 32));
  hline(target, 0, top, width_ - 1, makecol(90, 90, 110));
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

void EditorWindow::present() {
  acquire_screen();
  blit(canvas_.get(), screen, 0, 0, 0, 0, canvas_->w, canvas_->h);
  release_screen();
}

void EditorWindow::showOnScreen() { game_.output.display = screenView_.get(); }

void EditorWindow::showOnCanvas() { game_.output.display = levelView_.get(); }
