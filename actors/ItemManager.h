#pragma once
#include <allegro.h>

#include <string>
#include <vector>

#include "actors/Item.h"
#include "graphics/ImageSet.h"
#include "structures/ChangeStamp.h"

class ItemManager {
 public:
  ItemManager();

  int findImage(const std::string& name) const;
  BITMAP* image(int index) const { return itemImages_.image(index); }
  const ImageSet& images() const { return itemImages_; }  // for tools that offer the looks
  void add(const Item& item);
  void clear();
  // true when an item was collected; points is then its points.
  bool checkPlayer(BITMAP* frame, float left, float top, int& points);
  void draw(BITMAP* target) const;
  const std::vector<Item>& items() const { return items_; }
  // Puts an item back or takes it away, as a search going back needs.
  void setPresent(std::size_t index, bool present);
  // Renewed by every change to what the manager draws.
  const ChangeStamp& stamp() const { return stamp_; }

 private:
  ChangeStamp stamp_;
  std::vector<Item> items_;  // current level, placement order
  ImageSet itemImages_;      // items/
};
