#pragma once
// The fifteen values of player.inf in file order: the one list that
// Player::load reads by and pwe-check checks by. The file names the climb
// animation before the two airborne ones, so the file order is not the
// animation index order.
#include "player/Player.h"

struct PlayerField {
  const char* what;                // how the checker names the value
  int animation = -1;              // a name: the animation index it fills
  int Player::*whole = nullptr;    // or a whole number, held within
                                   // ±Player::maxFigureSize
  float Player::*real = nullptr;   // or a real number
};

constexpr PlayerField playerName(const char* what, int animation) {
  return {what, animation, nullptr, nullptr};
}
constexpr PlayerField playerSize(const char* what, int Player::*member) {
  return {what, -1, member, nullptr};
}
constexpr PlayerField playerReal(const char* what, float Player::*member) {
  return {what, -1, nullptr, member};
}

inline constexpr PlayerField playerFields[] = {
    playerName("the walk-left animation", Player::walkLeft),
    playerName("the walk-right animation", Player::walkRight),
    playerName("the climb animation", Player::climb),
    playerName("the airborne-left animation", Player::airborneLeft),
    playerName("the airborne-right animation", Player::airborneRight),
    playerSize("the width", &Player::width),
    playerSize("the height", &Player::height),
    playerReal("the walk speed", &Player::walkSpeed),
    playerReal("the fall speed", &Player::fallSpeed),
    playerReal("the climb speed", &Player::climbSpeed),
    playerReal("the jump speed", &Player::jumpSpeed),
    playerReal("the jump stride", &Player::jumpStride),
    playerReal("the slide factor", &Player::slideFactor),
    playerReal("the jump height", &Player::jumpHeight),
    playerReal("the greatest survivable drop", &Player::maxDrop),
};

inline constexpr int playerFieldCount = sizeof playerFields / sizeof playerFields[0];

// Whether a whole number read for the figure's size can be used.
inline bool withinFigureSize(int value) {
  return value >= -Player::maxFigureSize && value <= Player::maxFigureSize;
}
