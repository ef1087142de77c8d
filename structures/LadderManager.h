#pragma once
#include <allegro.h>

#include <string>
#include <vector>

#include "graphics/ImageSet.h"
#include "structures/Ladder.h"
#include "structures/ChangeStamp.h"

class LadderManager {
 public:
  LadderManager(int horizontalTolerance, int verticalTolerance);

  int findImage(const std::string& name) const;
  BITMAP* image(int index) const { return ladderImages_.image(index); }
  const ImageSet& images() const { return ladderImages_; }  // for tools that offer the looks
  void add(const Ladder& ladder);
  void clear();
  int createImages();  // 0, or -1 when an image cannot be created
  void draw(BITMAP* target) const;
  bool ladderAt(float x, float y, Ladder& out);  // first ladder the point is on
  const std::vector<Ladder>& ladders() const { return ladders_; }
  // Renewed by every change to what the manager draws.
  const ChangeStamp& stamp() const { return stamp_; }

 private:
  ChangeStamp stamp_;
  std::vector<Ladder> ladders_;  // current level, placement order
  ImageSet ladderImages_;        // ladders/
  int horizontalTolerance_;      // ladder_horiz_tol
  int verticalTolerance_;        // ladder_vert_tol
  int lastLadder_ = -1;          // index found last by ladderAt
};
