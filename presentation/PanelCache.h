#pragma once
// A heads-up panel as it stands on the frame buffer. Most frames change
// neither what a panel shows nor anything under it, and then its pixels
// from the last frame are still right: it is neither composed nor drawn
// again, and nothing there needs showing.
#include <array>
#include <vector>

// A rectangle of the frame, in game pixels.
struct FrameArea {
  int x, y, w, h;
};
bool overlap(const FrameArea& a, const FrameArea& b);
bool overlapsAny(const FrameArea& a, const std::vector<FrameArea>& areas);

class PanelCache {
 public:
  // What a panel is to show this frame. The look holds every value its
  // pixels depend on besides the pictures and fonts, which a Game loads
  // once and keeps.
  struct View {
    bool shown = false;
    FrameArea place{};
    std::array<int, 6> look{};
  };

  // Its buffer no longer holds the look asked for.
  bool stale(const View& view) const { return !composed_ || view.look != look_; }
  // It cannot be left as it stands: it is new there, moved, shows
  // something else, or something under it is drawn again.
  bool mustDraw(const View& view, const std::vector<FrameArea>& drawnUnder) const;
  bool onBuffer() const { return onBuffer_; }
  const FrameArea& place() const { return place_; }

  void composed(const View& view) {
    look_ = view.look;
    composed_ = true;
  }
  void drawn(const View& view) {
    place_ = view.place;
    onBuffer_ = true;
  }
  void removed() { onBuffer_ = false; }

 private:
  bool composed_ = false;
  bool onBuffer_ = false;
  FrameArea place_{};
  std::array<int, 6> look_{};
};

class Game;

// The two panels of a Game as they are to be shown now, and their
// composition onto the Game's panel buffers.
PanelCache::View countdownView(const Game& game);
PanelCache::View scoreView(const Game& game);
void composeCountdown(const Game& game);
void composeScore(const Game& game);
