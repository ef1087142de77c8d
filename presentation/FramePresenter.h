#pragma once
// Shows composed frames on the display. Only the parts of a frame that
// were touched since the last show are sent (scaled, only the rows and
// columns of them that differ from the frame shown last), each game pixel
// as a sharp scale x scale block (no filtering), the picture placed at
// (left, top) of the display. After every show the display holds exactly
// what copying the whole frame, scaled, would have put there.
#include <allegro.h>

#include <vector>

#include "graphics/FrameArea.h"
#include "graphics/PictureLayout.h"
#include "graphics/Resources.h"

class FramePresenter {
 public:
  void setLayout(const PictureLayout& layout);
  const PictureLayout& layout() const { return layout_; }

  // An area of the frame (game pixels) that may differ from the frame
  // shown last; parts off the frame are ignored.
  void touch(int x, int y, int w, int h);
  // Any part of the frame may differ.
  void touchAll();

  // Brings the display up to date with the frame: the touched areas are
  // sent, scaled only the rows of them that differ from the frame shown
  // last; blocks close together go as one.
  void show(BITMAP* frame, BITMAP* display);

  // Draws picture over the display with its top-left corner at (x, y) of
  // the frame, at the same scale. The next show puts the frame back there.
  void overlay(BITMAP* picture, int x, int y, BITMAP* display);

  // Game pixels sent to the display so far, and the blocks that carried
  // the changes: what showing costs.
  long long pixelsSent() const { return pixelsSent_; }
  long long blocksSent() const { return blocksSent_; }

 private:
  void showAll(BITMAP* frame, BITMAP* display);
  void sendChanged(BITMAP* frame, const FrameArea& area);
  void send(BITMAP* source, int sx, int sy, int w, int h, int dx, int dy, BITMAP* display);
  bool clip(FrameArea& area, const BITMAP* frame) const;
  void joinOverlapping(const BITMAP* frame);
  void joinOutgoing();
  bool narrowing() const;
  void sendOutgoing(BITMAP* frame, BITMAP* display);

  PictureLayout layout_;
  std::vector<FrameArea> touched_;   // may differ from the frame shown last
  std::vector<FrameArea> joined_;    // touched_ joined; kept to spare an allocation a frame
  std::vector<FrameArea> outgoing_;  // blocks that differ, to send this show
  std::vector<FrameArea> forced_;    // overlays to cover again, whatever the frame holds
  bool whole_ = false;               // touchAll was called
  bool unknown_ = true;              // the display's contents are not known
  BITMAP* lastDisplay_ = nullptr;
  BitmapPtr shown_;                  // the frame as the display shows it, when scaled
  BitmapPtr strip_;                  // rows scaled on their way to the display
  long long pixelsSent_ = 0;
  long long blocksSent_ = 0;
};
