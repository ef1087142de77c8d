#include "tools/edit/EditorWindow.h"

#include <allegro.h>
// loadpng needs Allegro's declarations first.
#include <loadpng.h>

#include <cstdio>
#include <cstdlib>

#include "game/Game.h"
#include "shell/CloseButton.h"
#include "shell/FocusLoss.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"
#include "shell/WindowIdentity.h"

namespace {

int displayFailure(const char* what, const char* cause = "") {
  std::fprintf(stderr, "pwe-edit: %s%s%s\n", what, cause[0] != '\0' ? ": " : "", cause);
  return -1;
}

}  // namespace

int openEditorDisplay(const std::string& title, int& width, int& height,
                      int& updatesPerSecond) {
  nameNextWindow(editorWindowClass);
  // main has made sure DISPLAY is set.
  if (allegro_init() != 0) return displayFailure("cannot open the X display", std::getenv("DISPLAY"));
  if (install_keyboard() != 0) return displayFailure("no keyboard");
  // Play-tests take a gamepad as the game does; without one, or with a
  // driver that fails, the keyboard plays alone.
  install_joystick(JOY_TYPE_AUTODETECT);
  install_timer();
  if (install_mouse() < 0) return displayFailure("no mouse");
  // Play-tests are heard as in the game; a machine without sound plays silent.
  install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);

  // Stays selected: the Game reads its controls from it.
  selectConfiguration("media/pwe.cfg");
  const StartupSettings settings = readStartupSettings();
  width = settings.width;
  height = settings.height;
  updatesPerSecond = settings.updatesPerSecond;
  set_volume(settings.volume, -1);

  int desktopWidth = 0;
  int desktopHeight = 0;
  if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) desktopWidth = desktopHeight = 0;
  const int depth = startupColourDepth();
  StartupSettings windowSize = settings;
  windowSize.windowed = true;
  windowSize.height += EditorWindow::statusBarHeight;
  const std::string problem = screenSizeProblem(windowSize, desktopWidth, desktopHeight, depth);
  if (!problem.empty()) return displayFailure("cannot open the window", problem.c_str());

  set_color_depth(depth);
  set_window_title(title.c_str());
  if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, windowSize.width, windowSize.height, 0, 0) != 0) {
    return displayFailure("cannot open the window", allegro_error);
  }
  watchCloseButton();
  // A play-test pauses when the window loses the focus, as the game does.
  watchFocus();
  register_png_file_type();
  set_alpha_blender();
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

void EditorWindow::showOnScreen() { game_.display = screenView_.get(); }

void EditorWindow::showOnCanvas() { game_.display = levelView_.get(); }
