#pragma once
// The editor's window: the game's screen, drawn by the Game itself, with a
// status bar below it. Everything is composed on an off-screen canvas and
// shown whole once a frame, so nothing flickers.
#include <allegro.h>

#include <string>
#include <vector>

#include "graphics/Resources.h"

class Game;

// The game's start-up (shell/Startup.h) with the editor's options: the
// configuration of the tree in the working directory, a window of the
// game's size plus the status bar and the tool strip, at [display] scale
// (0: the largest that fits the desktop), the mouse required; then the
// tick timer. 0, or -1 with the reason on standard error. width, height
// and updatesPerSecond come back as the game would use them, zoom as the
// window's scale.
int openEditorDisplay(const std::string& title, int& width, int& height,
                      int& updatesPerSecond, int& zoom);

class EditorWindow {
 public:
  // Lines of the built-in font with a margin round them: the facts, and a
  // message wrapped below them.
  static constexpr int statusLines = 4;
  static constexpr int statusLineHeight = 10;
  static constexpr int statusBarHeight = statusLines * statusLineHeight + 4;

  // Columns right of the map for the tool strip (ToolStrip.h).
  static constexpr int stripWidth = 112;

  // game: built; its frames are shown on the window's level view from now
  // on. zoom: the window's scale as opened.
  EditorWindow(Game& game, int zoom);
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  BITMAP* canvas() const { return canvas_.get(); }
  BITMAP* levelView() const { return levelView_.get(); }  // the game's screen on the canvas
  bool inLevel(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Zoom: everything is drawn on the canvas one pixel a game pixel and
  // shown as sharp zoom x zoom blocks; a point of the window is the canvas
  // pixel it shows.
  int zoom() const { return zoom_; }
  int toCanvas(int windowPixel) const { return windowPixel / zoom_; }
  // The largest zoom whose window fits the desktop (1 when it cannot be
  // measured).
  int largestZoom() const;
  // A window of the new zoom: empty when done, else why not, the window
  // as it was.
  std::string setZoom(int zoom);

  // The Game's frame as it stands, drawn by the engine onto the level view.
  void drawLevel();
  // The Game's last composed frame, all of it, onto target.
  void showWholeFrame(BITMAP* target) const;
  // The status bar: the facts' lines, then the message's, as many as fit.
  void drawStatus(const std::vector<std::string>& facts, const std::vector<std::string>& message);
  int statusTextWidth() const { return width_ + stripWidth - 8; }  // pixels a line may take
  // The canvas onto the screen.
  void present();
  // The frames of a play-test go straight to the screen's game area, at
  // the zoom.
  void showOnScreen();   // the Game shows on the screen
  void showOnCanvas();   // the Game shows on the level view again
  void showWholeFrameOnScreen() const;  // the Game's last frame, zoomed

 private:
  Game& game_;
  int width_;
  int height_;
  int zoom_;
  BitmapPtr canvas_;
  BitmapPtr levelView_;   // sub-bitmap of canvas_
  BitmapPtr screenView_;  // sub-bitmap of screen: the game area, zoomed
};
