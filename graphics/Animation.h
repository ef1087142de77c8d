#pragma once
// A looping sequence of frame images, each shown for its own number of game
// ticks, described by a .anm file and a directory of numbered PNG frames.
#include <allegro.h>

#include <string>
#include <vector>

#include "graphics/Resources.h"

class Animation {
 public:
  Animation();  // no frames; never drawn
  // Reads <baseDir><name>.anm and its frames, or ends the program.
  Animation(const std::string& baseDir, const std::string& name);
  // Copies own fresh duplicates of every frame and continue at the same point.
  Animation(const Animation& other);
  Animation& operator=(const Animation& other);
  // A moved-from Animation is left empty (no frames), so advancing or
  // drawing it afterwards does nothing instead of reading frames it lost.
  Animation(Animation&& other) noexcept;
  Animation& operator=(Animation&& other) noexcept;

  void advance();                                   // one game tick
  void draw(BITMAP* target, int x, int y) const;    // frame on show, per-pixel alpha
  BITMAP* currentFrame() const;                     // frame on show

  int frameCount() const { return frameCount_; }
  int frameIndex() const { return frameIndex_; }
  int frameTicks() const { return frameTicks_; }
  // Goes back to a point frameIndex() and frameTicks() once gave, so the
  // advances that follow repeat those that followed then. A frame it does
  // not have leaves it where it is.
  void seek(int frameIndex, int frameTicks);
  int duration(int i) const { return durations_[i]; }
  BITMAP* frame(int i) const { return frames_[i].get(); }  // 0 to frameCount() - 1

 private:
  friend struct TickLedger;  // the search's capture lists every field: a new one is placed there
  int frameCount_ = 0;              // number of frames N
  int frameIndex_ = 0;              // frame on show, 0 to N-1
  int frameTicks_ = 0;              // advances already spent on the frame on show
  std::vector<BitmapPtr> frames_;   // N frame images, owned
  std::vector<int> durations_;      // display time of each frame, in advances
};
