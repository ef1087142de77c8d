#pragma once
// The figure the user steers: motion parameters from player.inf, state
// flags, lives, score and its five animations.
#include <allegro.h>

#include <string>

#include "actors/Teleporter.h"
#include "graphics/Pixel.h"
#include "graphics/Sprite.h"
#include "structures/Ladder.h"

struct Player {
  // Jump states: on the ground; rising straight, left or right; and the
  // descent that follows each rise.
  static constexpr int notJumping = 0;
  static constexpr int risingUp = 1;
  static constexpr int descendingDown = 2;
  static constexpr int risingLeft = 3;
  static constexpr int descendingLeft = 4;
  static constexpr int risingRight = 5;
  static constexpr int descendingRight = 6;

  // Facings, and the climb directions (none until the first climb).
  static constexpr int facingLeft = 0;
  static constexpr int facingRight = 1;
  static constexpr int noClimbDirection = 0;
  static constexpr int climbingUp = 1;
  static constexpr int climbingDown = 2;

  // Animation indices and their roles.
  static constexpr int walkLeft = 0;
  static constexpr int walkRight = 1;
  static constexpr int airborneLeft = 2;
  static constexpr int airborneRight = 3;
  static constexpr int climb = 4;
  static constexpr int animationCount = 5;
  // Far larger than any screen; a width or height beyond it (either way)
  // would overflow drawing arithmetic, so player.inf is refused.
  static constexpr int maxFigureSize = 1000000;

  float x = 0.0f;            // horizontal centre
  float y = 0.0f;            // lowest row covered (the feet)
  float walkSpeed = 0.0f;    // pixels per tick walking
  float fallSpeed = 0.0f;    // pixels per tick falling
  float climbSpeed = 0.0f;   // pixels per tick on a ladder
  float jumpSpeed = 0.0f;    // vertical pixels per tick in a jump
  float jumpStride = 0.0f;   // sideways jump step = jumpSpeed * jumpStride
  float slideFactor = 0.0f;  // applied to a chute's step on each slide tick
  float jumpHeight = 0.0f;   // rise above the take-off row
  float maxDrop = 0.0f;      // greatest drop survived on landing
  int slideDx = 0;           // step of the slide in progress
  int slideDy = 0;
  int width = 0;             // current frame's width once an animation is selected
  int height = 0;            // from player.inf, never changed
  int lives = 3;             // the current one included
  int score = 0;
  int facing = facingRight;  // one of the facings above
  int climbDirection = noClimbDirection;  // one of the climb directions above
  int jumpState = notJumping; // one of the jump states above
  bool falling = false;
  bool climbStep = false;    // a ladder step was requested this tick
  bool onChute = false;      // a slide is in progress
  bool hasControl = true;    // false during a slide
  bool alive = true;         // clearing it ends the life
  std::string animationNames[animationCount];  // by animation index
  Sprite sprite;
  Ladder currentLadder;          // the ladder found last under the player
  Teleporter currentTeleporter;  // the teleporter found last around the player

  int load();                // reads media/player.inf; -1 when it cannot be opened
  void loadAnimations();     // the five animations into the sprite, or ends the program
  void setPosition(float newX, float newY);
  void move(float dx, float dy);
  void setLives(int n);
  void addScore(int points);
  void setFacing(int newFacing);
  void setClimbDirection(int direction);
  void setJumpState(int state);
  // Alive, standing under control: no slide, fall, climb step or jump.
  void standAlive();
  void setSlideVector(int dx, int dy);
  void setAnimation(int index);  // also takes width from the frame on show
  // Top-left corner of the frame on show, where collisions place it; its
  // left edge is also the left foot that enters chutes.
  float frameLeft() const { return collisionCorner(x, y, width, height).left; }
  float frameTop() const { return collisionCorner(x, y, width, height).top; }
  void draw(BITMAP* target) const;
};
