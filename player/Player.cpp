#include "player/Player.h"

#include "player/PlayerFields.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <sstream>
#include <string>

#include "graphics/Pixel.h"
#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/MediaFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"

namespace {

// One whitespace-separated token read as a whole number; a token that is
// not entirely a number (or does not fit) is refused, as is a missing one.
template <typename Number>
bool readNumber(std::istream& in, Number& field) {
  std::string token;
  if (!(in >> token)) return false;
  std::istringstream parser(token);
  Number value;
  if (!(parser >> value) || parser.peek() != std::char_traits<char>::eof()) return false;
  field = value;
  return true;
}

bool readWord(std::istream& in, std::string& field) {
  std::string token;
  if (!(in >> token)) return false;
  field = token;
  return true;
}

}  // namespace

int Player::load() {
  std::string path = mediaPath(formatText("%splayer.inf", mediaDir));
  log_message("Loading player data from %s.", path.c_str());
  MediaFile file(path);
  if (!file.isOpen()) return -1;
  std::istream& in = file.stream();

  // The first token that is missing or malformed ends the reading: it and
  // every later field keep their values.
  for (const PlayerField& field : playerFields) {
    const bool read = field.animation >= 0 ? readWord(in, animationNames[field.animation])
                      : field.whole != nullptr ? readNumber(in, this->*field.whole)
                                               : readNumber(in, this->*field.real);
    if (!read) break;
  }
  // A file that opened but cannot be read (a failing disk) is unreadable,
  // not short.
  if (in.bad()) return -1;
  // The figure's size goes into pixel arithmetic and Allegro's clipping; a
  // size no screen could show is refused like an unreadable file.
  if (!withinFigureSize(width) || !withinFigureSize(height)) {
    log_message("Player size %d x %d is outside -%d to %d.", width, height, Player::maxFigureSize,
                Player::maxFigureSize);
    return -1;
  }
  return 0;
}

void Player::loadAnimations() {
  log_message("Creating player animations.");
  Animation left(playerAnimDir, animationNames[walkLeft]);
  Animation right(playerAnimDir, animationNames[walkRight]);
  Animation climbing(playerAnimDir, animationNames[climb]);
  Animation airLeft(playerAnimDir, animationNames[airborneLeft]);
  Animation airRight(playerAnimDir, animationNames[airborneRight]);

  log_message("Adding animations to player instance.");
  sprite.addAnimation(left);
  sprite.addAnimation(right);
  sprite.addAnimation(airLeft);
  sprite.addAnimation(airRight);
  sprite.addAnimation(climbing);
}

void Player::setPosition(float newX, float newY) {
  x = newX;
  y = newY;
}

void Player::move(float dx, float dy) {
  x += dx;
  y += dy;
}

void Player::setLives(int n) {
  log_message("Player lives going from %d to %d.", lives, n);
  lives = n;
}

// The score runs over every life and level; at int's ends it stays there
// rather than wrapping to the other sign.
void Player::addScore(int points) {
  const int64_t sum = static_cast<int64_t>(score) + points;
  score = static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
}

void Player::setFacing(int newFacing) { facing = newFacing; }

void Player::setClimbDirection(int direction) { climbDirection = direction; }

void Player::setJumpState(int state) { jumpState = state; }

void Player::standAlive() {
  alive = true;
  falling = false;
  climbStep = false;
  onChute = false;
  hasControl = true;
  setJumpState(notJumping);
}

void Player::setSlideVector(int dx, int dy) {
  slideDx = dx;
  slideDy = dy;
}

void Player::setAnimation(int index) {
  sprite.setAnimation(index);
  // The figure is as wide as the frame on show; the height stays as loaded.
  BITMAP* frame = sprite.currentFrame();
  if (frame != nullptr) width = frame->w;
}

void Player::draw(BITMAP* target) const {
  const FigureCorner at = figureCorner(x, y, width, height);
  sprite.draw(target, at.left, at.top);
}
