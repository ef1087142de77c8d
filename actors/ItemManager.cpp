#include "actors/ItemManager.h"

#include "shell/Log.h"

ItemManager::ItemManager() {
  log_message("Initializing item manager.");
  itemImages_.load("items/", itemTexts);
  log_message("Item manager successfully initialized.");
}

int ItemManager::findImage(const std::string& name) const { return itemImages_.find(name); }

void ItemManager::add(const Item& item) {
  items_.push_back(item);
  stamp_.renew();
}

void ItemManager::clear() {
  items_.clear();
  stamp_.renew();
}

bool ItemManager::checkPlayer(BITMAP* frame, float left, float top, int& points) {
  // One pickup per tick: an item touched at the same moment waits for the next.
  for (Item& item : items_) {
    if (item.touches(frame, left, top)) {
      points = item.points;
      stamp_.renew();  // it is taken
      return true;
    }
  }
  return false;
}

void ItemManager::draw(BITMAP* target) const {
  for (const Item& item : items_) {
    if (item.present) item.draw(target);
  }
}

void ItemManager::setPresent(std::size_t index, bool present) {
  if (index >= items_.size() || items_[index].present == present) return;
  items_[index].present = present;
  stamp_.renew();
}
