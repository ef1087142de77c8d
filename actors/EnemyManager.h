#pragma once
// Every enemy kind (one .nme file each) and the enemies of the level.
#include <allegro.h>

#include <string>
#include <vector>

#include "actors/Enemy.h"
#include "graphics/Resources.h"
#include "graphics/Sprite.h"
#include "structures/ChangeStamp.h"

class FloorManager;

class EnemyManager {
 public:
  EnemyManager();  // loads every definition, or ends the program

  int findDefinition(const std::string& name) const;  // index or -1
  const Sprite& definitionSprite(int index) const { return definitionSprites_[index]; }
  int definitionCount() const { return definitionCount_; }
  const std::string& definitionName(int index) const { return definitionNames_[index]; }
  // "enemy_death.wav", loaded at the first call and shared by all enemies;
  // a load failure ends the program.
  SharedSample deathSound();

  void add(const Enemy& enemy);
  void clear();
  void draw(BITMAP* target) const;

  void update(const FloorManager& floors);
  // One enemy's share of update: patrol or fall, land, animate.
  void step(Enemy& enemy, const FloorManager& floors) const;
  void makeVulnerable();
  void endVulnerability(int ticksSinceItem);
  // true: the player is caught. Otherwise points holds what a kill scored (0 if none).
  bool checkPlayer(BITMAP* frame, float left, float top, int& points);

  std::vector<Enemy>& enemies() { return enemies_; }
  const std::vector<Enemy>& enemies() const { return enemies_; }
  // Renewed whenever enemies join or leave the list. Every life start
  // gives the enemies fresh copies of their frames, and a copy may land at
  // the address of a frame of the life before: a frame is told by its
  // address together with this stamp, never by its address alone.
  const ChangeStamp& stamp() const { return stamp_; }

 private:
  std::vector<Enemy> enemies_;                 // current level, placement order
  std::vector<Sprite> definitionSprites_;      // per kind: its four animations
  std::vector<std::string> definitionNames_;   // per kind: .nme name less extension
  int definitionCount_ = 0;
  float fallSpeed_ = 1.0f;                     // pixels per tick
  SharedSample deathSound_;                    // shared death sound
  ChangeStamp stamp_;                          // the enemies listed now
};
