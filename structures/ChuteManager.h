#pragma once
#include <allegro.h>

#include <string>
#include <vector>

#include "graphics/ImageSet.h"
#include "structures/Chute.h"
#include "structures/ChangeStamp.h"

class ChuteManager {
 public:
  explicit ChuteManager(int horizontalTolerance);

  int findImage(const std::string& name) const;
  BITMAP* image(int index) const { return chuteImages_.image(index); }
  const ImageSet& images() const { return chuteImages_; }  // for tools that offer the looks
  void add(const Chute& chute);
  void clear();
  int createImages();  // 0, or -1 when an image cannot be created
  void draw(BITMAP* target) const;
  // Left column of the chute's built image: one running left reaches left
  // of its top step.
  int drawnLeft(const Chute& chute) const;
  bool entryAt(float x, float y, Chute& out);  // first chute whose entry the point is at
  const std::vector<Chute>& chutes() const { return chutes_; }
  // Renewed by every change to what the manager draws.
  const ChangeStamp& stamp() const { return stamp_; }

 private:
  ChangeStamp stamp_;
  std::vector<Chute> chutes_;  // current level, placement order
  ImageSet chuteImages_;       // chutes/
  int lastChute_ = -1;         // index found last by entryAt
  int horizontalTolerance_;    // chute_horiz_tol
};
