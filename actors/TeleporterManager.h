#pragma once
#include <allegro.h>

#include <string>
#include <vector>

#include "actors/Teleporter.h"
#include "graphics/ImageSet.h"
#include "structures/ChangeStamp.h"

class TeleporterManager {
 public:
  TeleporterManager();

  int findImage(const std::string& name) const;
  int findCooldownImage(const std::string& name) const;
  BITMAP* image(int index) const { return normalImages_.image(index); }
  BITMAP* cooldownImage(int index) const { return cooldownImages_.image(index); }
  // The looks a level may name, for tools that offer them.
  const ImageSet& normalImages() const { return normalImages_; }
  const ImageSet& cooldownImages() const { return cooldownImages_; }
  void add(const Teleporter& teleporter);
  void clear();
  bool findOccupied(BITMAP* frame, float left, float top, Teleporter& out) const;
  // Bottom centre of the first teleporter numbered n; x = -1 when none.
  void destination(int number, float& x, float& y) const;
  void draw(BITMAP* target, bool cooldown) const;
  int count() const { return static_cast<int>(teleporters_.size()); }
  const std::vector<Teleporter>& teleporters() const { return teleporters_; }
  // Renewed by every change to what the manager draws.
  const ChangeStamp& stamp() const { return stamp_; }

 private:
  ChangeStamp stamp_;
  std::vector<Teleporter> teleporters_;  // current level, placement order
  ImageSet normalImages_;                // transportation/teleporters/normal/
  ImageSet cooldownImages_;              // transportation/teleporters/cooldown/
};
