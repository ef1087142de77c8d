#include "actors/TeleporterManager.h"

#include "graphics/Pixel.h"
#include "shell/Log.h"

TeleporterManager::TeleporterManager() {
  log_message("Initializing teleport manager.");
  // Both directories are searched before any image loads, so an empty
  // cooldown directory stops the program before the normal images are read.
  normalImages_.search("transportation/teleporters/normal/", teleporterTexts);
  cooldownImages_.search("transportation/teleporters/cooldown/", teleporterCooldownTexts);
  normalImages_.loadImages();
  cooldownImages_.loadImages();
  log_message("Teleporter manager successfully initialized.");
}

int TeleporterManager::findImage(const std::string& name) const { return normalImages_.find(name); }

int TeleporterManager::findCooldownImage(const std::string& name) const {
  return cooldownImages_.find(name);
}

void TeleporterManager::add(const Teleporter& teleporter) {
  teleporters_.push_back(teleporter);
  stamp_.renew();
}

void TeleporterManager::clear() {
  teleporters_.clear();
  stamp_.renew();
}

bool TeleporterManager::findOccupied(BITMAP* frame, float left, float top,
                                     Teleporter& out) const {
  log_message("Checking for teleporter collisions @ %d, %d.", toPixel(left), toPixel(top));
  for (const Teleporter& teleporter : teleporters_) {
    log_message("Teleporter #%d @ %d, %d.", teleporter.number, teleporter.x, teleporter.y);
    if (teleporter.overlaps(frame, left, top)) {
      out = teleporter;
      log_message("Player is in teleporter #%d", teleporter.number);
      return true;
    }
  }
  return false;
}

void TeleporterManager::destination(int number, float& x, float& y) const {
  for (const Teleporter& teleporter : teleporters_) {
    if (teleporter.number != number) continue;
    // The middle of the pad's bottom row: the player arrives standing in it.
    int arrivalX = teleporter.x + teleporter.width / 2;
    int arrivalY = teleporter.y + teleporter.height - 1;
    x = static_cast<float>(arrivalX);
    y = static_cast<float>(arrivalY);
    log_message("Teleporting to teleporter %d @: %d, %d.", number, arrivalX, arrivalY);
    return;
  }
  x = -1.0f;
}

void TeleporterManager::draw(BITMAP* target, bool cooldown) const {
  for (const Teleporter& teleporter : teleporters_) teleporter.draw(target, cooldown);
}
