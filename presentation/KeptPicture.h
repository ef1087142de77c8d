#pragma once
// A picture drawn over the kept layers (a figure or a panel) as it stands
// on the frame buffer. Most frames change neither what such a picture
// shows nor anything under or over it, and then its pixels from the last
// frame are still right: it is neither restored nor drawn again, and
// nothing there needs showing.
#include <allegro.h>

#include <array>
#include <cstdint>
#include <vector>

#include "graphics/FrameArea.h"
#include "graphics/Pixel.h"

class KeptPicture {
 public:
  // What a picture is to show this frame. The look holds every value its
  // pixels depend on besides the panels' pictures and fonts, which a Game
  // loads once and keeps for its life. A figure's frame is named in it by
  // its address and its owner's stamp: a frame built later (an enemy's, at
  // every life start) may take the address of one freed before.
  struct View {
    bool shown = false;
    FrameArea place{};
    std::array<std::intptr_t, 6> look{};
  };

  // Its look differs from the one last drawn (or composed, for a panel).
  bool stale(const View& view) const { return !known_ || view.look != look_; }
  // It cannot stay as it stands: it is new there, moved or looks different.
  bool changed(const View& view) const;
  bool onBuffer() const { return onBuffer_; }
  const FrameArea& place() const { return place_; }

  void know(const View& view) {
    look_ = view.look;
    known_ = true;
  }
  void drawn(const View& view) {
    place_ = view.place;
    onBuffer_ = true;
  }
  void removed() { onBuffer_ = false; }
  // What it last showed is no longer known: the next frame draws it again.
  void forget() { known_ = false; }

 private:
  bool known_ = false;
  bool onBuffer_ = false;
  FrameArea place_{};
  std::array<std::intptr_t, 6> look_{};
};

// One picture's part in a frame, in drawing order: the enemies, the
// player, then the panels.
struct FramePiece {
  enum Kind { enemy, player, countdown, score };
  Kind kind;
  int index;  // of the enemy
  KeptPicture* kept;
  KeptPicture::View view;
  bool draw = false;
};

// What composing a frame works in, kept from frame to frame: after the
// first frames of a level, composing one allocates nothing. Cold memory
// is most of what a frame costs between two sleeps.
struct FrameScratch {
  std::vector<FrameArea> recomposed;  // parts of the layers composed again
  std::vector<FrameArea> restore;     // parts of the buffer to restore
  std::vector<FramePiece> pieces;
  std::vector<std::intptr_t> layersMarks;  // what the layers depend on now, at a glance
  std::vector<std::intptr_t> layersKey;    // what the layers are composed from now
};

// A figure showing picture with its top-left corner at the given corner;
// none is shown without a picture. owner is the change stamp of whatever
// built the picture, 0 for pictures kept for the Game's life.
KeptPicture::View figureView(BITMAP* picture, FigureCorner at, std::uint64_t owner);
