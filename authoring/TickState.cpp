#include "authoring/TickState.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

#include "game/Game.h"
#include "player/KeyRelease.h"

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every field of the Player, the Game and a Ladder, in the order declared.
// A structured binding has to name every field of its class, so a field
// added to one of them stops this file from building until it is placed
// here: captured by TickStates, or left out with the reason beside it. A
// field the tick reads can then never be missed by the search unseen.
[[maybe_unused]] void fieldLedger(const Game& game) {
  {
    [[maybe_unused]] const auto& [
        x, y,  // captured
        walkSpeed, fallSpeed, climbSpeed, jumpSpeed, jumpStride, slideFactor, jumpHeight,
        maxDrop,  // player.inf: the same in every state of a level
        slideDx, slideDy, width,  // captured
        height,  // player.inf
        lives, score,  // they never steer the motion: the search keeps them apart
        facing, climbDirection, jumpState, falling, climbStep, onChute, hasControl,  // captured
        alive,  // every state is alive; one that dies is not kept
        animationNames,  // player.inf
        sprite,  // captured: the animation on show and where each animation stands
        currentLadder,  // captured as an index into the level's ladders
        currentTeleporter  // written by the teleport keys before it is read, never read first
    ] = game.player;
  }
  {
    [[maybe_unused]] const auto& [
        x, y, width, height,  // a ladder is told apart by these: captured
        name, image_index, image  // never read by a tick
    ] = game.player.currentLadder;
  }
  {
    [[maybe_unused]] const auto& [
        width, height,  // screen size: fixed
        quit, levelDone,  // a run's end: the search stops where they would be set
        buffer, staticLayers, staticLayersKey, staticLayersMarks, keptFigures, countdownPanel,
        scorePanel, frameScratch, background, countdownBuffer, countdownBackground,
        countdownFont, scoreFont, scoreBuffer, scoreBackground, lifePip,  // drawing only
        walkSample, jumpSample, fallDeathSample, caughtSample, itemSample, enemyKilledSample,
        walkVoice,  // sounds: heard, never read back by motion
        player,  // above
        level, floorManager, ladderManager, chuteManager, enemyManager, itemManager,
        teleporterManager,  // the placed level: claims are undone, items only touched
        teleportCooldown,  // configuration
        updatesPerSecond, countdown, ticksSinceItem,  // the clock and enemies: held off
        teleportCooldownTicks,  // captured
        chuteTolerance, ladderHorizontalTolerance, ladderVerticalTolerance,  // configuration
        teleportCooldownActive, fallDistance, jumpApexY, slideTop, slideLength,  // captured
        keyLeft, keyRight, keyUp, keyDown, keyJump, keyPause,  // configuration
        paused, pauseKeyDown, focusLossPause, focusAwayTicks, pausedByFocus,
        pausedCard,  // the pause runs between ticks, never inside one
        displayKey, displaySwitchable,  // so does the display's switch
        input, inputFromDevices,  // the keys a search holds: set before every tick
        gate,  // the input gate: a tool's Game holds no key back
        gamepad,  // a tool's Game has no joystick
        lifeTicks,  // the countdown's pace: held off
        display, presenter, redrawAll  // drawing only
    ] = game;
  }
}

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
         flags == o.flags && pendingKeys[0] == o.pendingKeys[0] &&
         pendingKeys[1] == o.pendingKeys[1];
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
