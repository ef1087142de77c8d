#pragma once
// A patrolling figure, dangerous to touch until an item makes it vulnerable.
#include <allegro.h>

#include "graphics/Pixel.h"
#include "graphics/Resources.h"
#include "graphics/Sprite.h"

class FloorManager;

// Loads "enemy_death.wav", or stops the program as every sound load does.
SharedSample loadEnemyDeathSound();

struct Enemy {
  // States, and the directions of the patrol.
  static constexpr int dangerous = 0;
  static constexpr int vulnerable = 1;
  static constexpr int walkingLeft = 0;
  static constexpr int walkingRight = 1;

  bool alive = true;          // false once killed: not moved, tested or drawn
  float x = 0.0f;             // horizontal centre
  float y = 0.0f;             // lowest row covered; stands on a tile whose top is y + 1
  int direction = walkingLeft;  // one of the directions above
  int width = 0;              // current frame, read when an animation is selected
  int height = 0;
  float min_x = 0.0f;         // patrol ends
  float max_x = 0.0f;
  float speed = 0.0f;         // pixels per patrol step
  bool changes = false;       // turns vulnerable on an item pickup
  int state = dangerous;      // one of the states above
  int safe_time = 0;          // ticks vulnerable after a pickup
  int points = 0;             // scored when killed
  bool falling = false;       // no floor below: drops
  SharedSample death_sample;  // played when killed; shared by copies
  Sprite sprite;              // own copy of its kind's Sprite

  // deathSample: the loaded "enemy_death.wav" to share; when null the
  // constructor loads it itself (and ends the program if it cannot).
  Enemy(int x, int y, int direction, int min_x, int max_x, float speed, int changes,
        int state, int safe_time, int points, SharedSample deathSample = nullptr);

  void setAnimation(int index);  // also refreshes width and height
  // The animation an enemy shows when placed: 0 to 2 for (state, direction)
  // (dangerous, walkingLeft), (dangerous, walkingRight), (vulnerable,
  // walkingLeft); 3 for every other combination.
  void selectStartAnimation();
  void setPosition(float x, float y);
  void draw(BITMAP* target) const;
  void setState(int newState);
  void patrol();
  // The box a collision tests: its figure's (graphics/Pixel.h).
  FigureBox box() const { return figureBox(x, y, width, height); }
  // The player's frame at (left, top) touches this enemy; kills it when vulnerable.
  bool touches(BITMAP* frame, float left, float top);
};

// The box of the player's frame at (left, top) as touches tests it: the
// corner cut to a pixel, the frame's size added.
FigureBox touchingBox(BITMAP* frame, float left, float top);
