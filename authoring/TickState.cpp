#include "authoring/TickState.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "actors/Enemy.h"
#include "authoring/WordHash.h"
#include "game/Game.h"
#include "player/KeyRelease.h"

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Folds words into the one hash, with the animation points as one word each.
struct Mix {
  WordHash hash;
  void operator()(std::uint64_t word) { hash.add(word); }
  void points(const std::vector<TickState::AnimationPoint>& points) {
    for (const TickState::AnimationPoint& p : points) {
      (*this)(static_cast<std::uint32_t>(p.frame) |
              std::uint64_t{static_cast<std::uint32_t>(p.ticks)} << 32);
    }
  }
};

}  // namespace

bool TickState::operator==(const TickState& o) const {
  for (int i = 0; i < animationCount; ++i) {
    if (points[i].frame != o.points[i].frame || points[i].ticks != o.points[i].ticks) return false;
  }
  return sameBits(x, o.x) && sameBits(y, o.y) && sameBits(fallDistance, o.fallDistance) &&
         sameBits(jumpApexY, o.jumpApexY) && width == o.width && slideDx == o.slideDx &&
         slideDy == o.slideDy && slideTop == o.slideTop && slideLength == o.slideLength &&
         cooldownTicks == o.cooldownTicks && ladder == o.ladder && jumpState == o.jumpState &&
         facing == o.facing && climbDirection == o.climbDirection && animation == o.animation &&
         flags == o.flags && marks == o.marks && pendingKeys[0] == o.pendingKeys[0] &&
         pendingKeys[1] == o.pendingKeys[1];
}

bool EnemyState::operator==(const EnemyState& o) const {
  const auto samePoint = [](const TickState::AnimationPoint& a, const TickState::AnimationPoint& b) {
    return a.frame == b.frame && a.ticks == b.ticks;
  };
  return alive == o.alive && falling == o.falling && x == o.x && y == o.y &&
         direction == o.direction && state == o.state && animation == o.animation &&
         std::equal(points.begin(), points.end(), o.points.begin(), o.points.end(), samePoint);
}

bool WorldState::operator==(const WorldState& o) const {
  return itemsPresent == o.itemsPresent && countdown == o.countdown && lifeTicks == o.lifeTicks &&
         ticksSinceItem == o.ticksSinceItem && score == o.score && lives == o.lives &&
         claims == o.claims;
}

TickStates::TickStates(Game& game) : game_(game), startLadder_(game.player.currentLadder) {
  // The tick asks the key-release table about teleporters 1 to the number
  // on the level, and about no other key.
  const int count = game.teleporterManager.count();
  for (int n = 1; n <= count && Game::firstDigitCode + n < KEY_MAX; ++n) {
    teleportCodes_.push_back(Game::firstDigitCode + n);
  }
  const std::vector<Ladder>& ladders = game.ladderManager->ladders();
  for (size_t i = 0; i < ladders.size(); ++i) {
    laddersBySpan_.emplace(spanOf(ladders[i]), static_cast<int>(i));
  }
}

TickStates::Span TickStates::spanOf(const Ladder& ladder) {
  return Span{ladder.x, ladder.y, ladder.width, ladder.height};
}

const Ladder& TickStates::ladder(int index) const {
  return index < 0 ? startLadder_ : game_.ladderManager->ladders()[index];
}

int TickStates::ladderIndex() const {
  const Span held = spanOf(game_.player.currentLadder);
  const std::vector<Ladder>& ladders = game_.ladderManager->ladders();
  if (lastLadder_ >= 0 && spanOf(ladders[lastLadder_]) == held) return lastLadder_;
  auto found = laddersBySpan_.find(held);
  if (found == laddersBySpan_.end()) return -1;
  lastLadder_ = found->second;
  return lastLadder_;
}

TickState TickStates::capture() const {
  const Player& p = game_.player;
  TickState s;
  s.x = p.x;
  s.y = p.y;
  s.fallDistance = game_.fallDistance;
  s.jumpApexY = game_.jumpApexY;
  s.width = p.width;
  s.slideDx = p.slideDx;
  s.slideDy = p.slideDy;
  s.slideTop = game_.slideTop;
  s.slideLength = game_.slideLength;
  s.cooldownTicks = game_.teleportCooldownTicks;
  s.ladder = ladderIndex();
  s.jumpState = static_cast<std::int8_t>(p.jumpState);
  s.facing = static_cast<std::int8_t>(p.facing);
  s.climbDirection = static_cast<std::int8_t>(p.climbDirection);
  s.animation = static_cast<std::int8_t>(p.sprite.animationIndex());
  s.flags = static_cast<std::uint8_t>(
      (p.falling ? TickState::falling : 0) | (p.climbStep ? TickState::climbStep : 0) |
      (p.onChute ? TickState::onChute : 0) | (p.hasControl ? TickState::hasControl : 0) |
      (game_.teleportCooldownActive ? TickState::cooldownActive : 0));
  const int animations = std::min(p.sprite.animationCount(), TickState::animationCount);
  for (int i = 0; i < animations; ++i) {
    s.points[i] = {p.sprite.animation(i).frameIndex(), p.sprite.animation(i).frameTicks()};
  }
  for (int code : teleportCodes_) {
    if (keyReleasePending(code)) s.pendingKeys[code / 64] |= std::uint64_t{1} << (code % 64);
  }
  return s;
}

void TickStates::restore(const TickState& s) const {
  Player& p = game_.player;
  p.setPosition(s.x, s.y);
  game_.fallDistance = s.fallDistance;
  game_.jumpApexY = s.jumpApexY;
  p.setSlideVector(s.slideDx, s.slideDy);
  game_.slideTop = s.slideTop;
  game_.slideLength = s.slideLength;
  game_.teleportCooldownTicks = s.cooldownTicks;
  // Copying a ladder copies its name and image handle; one of the same
  // span behaves the same, so it is kept.
  const Ladder& held = ladder(s.ladder);
  if (spanOf(p.currentLadder) != spanOf(held)) p.currentLadder = held;
  p.setJumpState(s.jumpState);
  p.setFacing(s.facing);
  p.setClimbDirection(s.climbDirection);
  p.falling = s.has(TickState::falling);
  p.climbStep = s.has(TickState::climbStep);
  p.onChute = s.has(TickState::onChute);
  p.hasControl = s.has(TickState::hasControl);
  game_.teleportCooldownActive = s.has(TickState::cooldownActive);
  p.alive = true;
  for (int i = 0; i < TickState::animationCount; ++i) {
    p.sprite.seek(i, s.points[i].frame, s.points[i].ticks);
  }
  // Choosing the animation would take the width from its frame; the state
  // keeps the width of the moment it was chosen, which the frame may not have.
  p.sprite.setAnimation(s.animation);
  p.width = s.width;
  for (int code : teleportCodes_) setKeyReleasePending(code, s.pending(code));
}

EnemyState TickStates::captureEnemy(const Enemy& enemy) {
  EnemyState s;
  s.alive = enemy.alive;
  s.falling = enemy.falling;
  s.x = enemy.x;
  s.y = enemy.y;
  s.direction = enemy.direction;
  s.state = enemy.state;
  s.animation = enemy.sprite.animationIndex();
  for (int i = 0; i < enemy.sprite.animationCount(); ++i) {
    const Animation& animation = enemy.sprite.animation(i);
    s.points.push_back({animation.frameIndex(), animation.frameTicks()});
  }
  return s;
}

void TickStates::restoreEnemy(Enemy& enemy, const EnemyState& s) {
  enemy.alive = s.alive;
  enemy.falling = s.falling;
  enemy.x = s.x;
  enemy.y = s.y;
  enemy.direction = s.direction;
  enemy.state = s.state;
  for (int i = 0; i < static_cast<int>(s.points.size()); ++i) {
    enemy.sprite.seek(i, s.points[i].frame, s.points[i].ticks);
  }
  // Also takes the size from the frame on show, as every choice does.
  enemy.setAnimation(s.animation);
}

WorldState TickStates::captureWorld() const {
  WorldState s;
  for (const Item& item : game_.itemManager.items()) s.itemsPresent.push_back(item.present);
  s.countdown = game_.countdown;
  s.lifeTicks = game_.lifeTicks;
  s.ticksSinceItem = game_.ticksSinceItem;
  s.score = game_.player.score;
  s.lives = game_.player.lives;
  s.claims = game_.floorManager.claimCount();
  return s;
}

void TickStates::restoreWorld(const WorldState& s) const {
  for (std::size_t i = 0; i < s.itemsPresent.size(); ++i) {
    game_.itemManager.setPresent(i, s.itemsPresent[i]);
  }
  game_.countdown = s.countdown;
  game_.lifeTicks = s.lifeTicks;
  game_.ticksSinceItem = s.ticksSinceItem;
  game_.player.score = s.score;
  game_.player.setLives(s.lives);
  game_.floorManager.undoClaims(s.claims);
  game_.quit = false;
  game_.levelDone = false;
}

std::uint64_t TickStates::hash() const {
  const TickState s = capture();
  Mix mix;
  for (float f : {s.x, s.y, s.fallDistance, s.jumpApexY}) mix.hash.addBits(f);
  for (std::int32_t n : {s.width, s.slideDx, s.slideDy, s.slideTop, s.slideLength,
                         s.cooldownTicks, s.ladder}) {
    mix(static_cast<std::uint32_t>(n));
  }
  for (std::int8_t n : {s.jumpState, s.facing, s.climbDirection, s.animation}) {
    mix(static_cast<std::uint8_t>(n));
  }
  mix(s.flags);
  mix.points({std::begin(s.points), std::end(s.points)});
  for (std::uint64_t keys : s.pendingKeys) mix(keys);
  for (const Enemy& enemy : game_.enemyManager.enemies()) {
    const EnemyState e = captureEnemy(enemy);
    mix.hash.addBits(e.x);
    mix.hash.addBits(e.y);
    for (int n : {int{e.alive}, int{e.falling}, e.direction, e.state, e.animation}) {
      mix(static_cast<std::uint32_t>(n));
    }
    mix.points(e.points);
  }
  const WorldState w = captureWorld();
  for (bool present : w.itemsPresent) mix(present);
  for (int n : {w.countdown, w.lifeTicks, w.ticksSinceItem, w.score, w.lives}) {
    mix(static_cast<std::uint32_t>(n));
  }
  mix(w.claims);
  return mix.hash.value;
}
