#include "actors/EnemyManager.h"

#include "actors/EnemyKindFormat.h"
#include "graphics/Animation.h"
#include "graphics/FileSearch.h"
#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/MediaFile.h"
#include "shell/SoundFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "structures/FloorManager.h"
#include "structures/FloorTile.h"

EnemyManager::EnemyManager() {
  log_message("Initializing enemy manager");

  log_message("Locating .nme files.");
  std::vector<std::string> fileNames = findMediaFiles(enemyAnimDir, EnemyKindFormat::filePattern());
  if (fileNames.empty()) {
    dataFailure("No .nme files located!", "No .nme files located. Exiting.");
  }
  definitionCount_ = static_cast<int>(fileNames.size());
  log_message("%d .nme files located.", definitionCount_);

  definitionSprites_.resize(fileNames.size());
  definitionNames_.resize(fileNames.size());
  log_message("Loading and processing .nme files");

  for (size_t i = 0; i < fileNames.size(); ++i) {
    std::string path = mediaPath(std::string(enemyAnimDir) + fileNames[i]);
    MediaFile file(path);
    std::istream& in = file.stream();
    if (!file.isOpen()) {
      dataFailure(formatText("Error loading %s", path.c_str()),
                  formatText("Error loading %s. Exiting", path.c_str()));
    }
    log_message("Adding animations from .nme file to enemy sprite.");
    // All four names are read before anything loads, so a short file is
    // refused as a whole instead of leaving a kind with missing animations.
    std::string animationNames[EnemyKindFormat::animationCount];
    for (std::string& name : animationNames) {
      if (in >> name) continue;
      // A file that opened but cannot be read (a failing disk) is as
      // unreadable as one that did not open.
      if (in.bad()) {
        dataFailure(formatText("Error loading %s", path.c_str()),
                    formatText("Error loading %s. Exiting", path.c_str()));
      }
      dataFailure(formatText("Error reading %s: fewer than four animation names.", path.c_str()),
                  formatText("Error reading %s: fewer than four animation names. Exiting.",
                             path.c_str()));
    }
    for (const std::string& name : animationNames) {
      definitionSprites_[i].addAnimation(Animation(enemyAnimDir, name));
    }
    definitionNames_[i] = EnemyKindFormat::kindName(fileNames[i]);
    log_message("All animations added.");
  }
  log_message("All .nme files successfully loaded and processed.");
}

int EnemyManager::findDefinition(const std::string& name) const {
  log_message("passed %s", name.c_str());
  for (int i = 0; i < definitionCount_; ++i) {
    log_message("comparing to %s", definitionNames_[i].c_str());
    if (definitionNames_[i] == name) return i;
  }
  return -1;
}

SharedSample EnemyManager::deathSound() {
  // One copy serves every enemy of every life; the first placement loads it,
  // so a missing file still stops the program when an enemy is built.
  if (!deathSound_) deathSound_ = loadEnemyDeathSound();
  return deathSound_;
}

void EnemyManager::add(const Enemy& enemy) {
  enemies_.push_back(enemy);
  stamp_.renew();
}

void EnemyManager::clear() {
  enemies_.clear();
  stamp_.renew();
}

void EnemyManager::draw(BITMAP* target) const {
  for (const Enemy& enemy : enemies_) {
    if (enemy.alive) enemy.draw(target);
  }
}

void EnemyManager::update(const FloorManager& floors) {
  for (Enemy& enemy : enemies_) {
    if (enemy.alive) step(enemy, floors);
  }
}

void EnemyManager::step(Enemy& enemy, const FloorManager& floors) const {
  if (floors.isOnFloor(enemy.x, enemy.y)) {
    enemy.patrol();
  } else {
    enemy.falling = true;
  }
  // A fall set in an earlier tick goes on even after a patrol step: the
  // enemy only lands when a tile's rectangle holds its point.
  if (enemy.falling) {
    FloorTile tile;
    if (floors.tileAt(enemy.x, enemy.y, tile)) {
      enemy.y = static_cast<float>(tile.y - 1);
      enemy.falling = false;
    } else {
      enemy.y += fallSpeed_;
    }
  }
  enemy.sprite.advance();
}

void EnemyManager::makeVulnerable() {
  for (Enemy& enemy : enemies_) {
    if (enemy.alive && enemy.changes) enemy.setState(Enemy::vulnerable);
  }
}

void EnemyManager::endVulnerability(int ticksSinceItem) {
  // Also runs for enemies already dangerous: re-selecting their animation
  // keeps their size in step with the frame on show.
  for (Enemy& enemy : enemies_) {
    if (enemy.alive && enemy.changes && enemy.safe_time < ticksSinceItem) {
      enemy.setState(Enemy::dangerous);
    }
  }
}

bool EnemyManager::checkPlayer(BITMAP* frame, float left, float top, int& points) {
  for (Enemy& enemy : enemies_) {
    if (!enemy.alive || !enemy.touches(frame, left, top)) continue;
    if (enemy.state != Enemy::vulnerable) return true;
    enemy.alive = false;
    points = enemy.points;
    return false;
  }
  points = 0;
  return false;
}
