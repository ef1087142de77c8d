// Every field of every type a tick reads or writes, in the order declared,
// each placed: captured by TickStates (authoring/TickState.h) into the
// TickState, an EnemyState or the WorldState, or left out with the reason
// beside it. A structured binding has to name every field of its class, so
// a field added to one of them stops this file from building until it is
// placed here, and a field a tick changes can never be missed by a search
// unseen. The classes that keep their fields private name TickLedger their
// friend for this one reading.
#include <allegro.h>

#include "actors/Enemy.h"
#include "actors/Item.h"
#include "actors/Teleporter.h"
#include "game/Game.h"
#include "graphics/Animation.h"
#include "graphics/Sprite.h"
#include "player/KeyRelease.h"
#include "structures/FloorManager.h"
#include "structures/FloorTile.h"
#include "structures/Ladder.h"

struct TickLedger {
  static void player(const Player& player);
  static void ladder(const Ladder& ladder);
  static void game(const Game& game);
  static void inputSource(const InputSource& source);
  static void enemy(const Enemy& enemy);
  static void item(const Item& item);
  static void teleporter(const Teleporter& teleporter);
  static void sprite(const Sprite& sprite);
  static void animation(const Animation& animation);
  static void floor(const FloorManager& floor);
  static void floorTile(const FloorTile& tile);
  static void keyRelease(const KeyReleaseEntry& entry);
};

void TickLedger::player(const Player& player) {
  [[maybe_unused]] const auto& [
      x, y,  // TickState
      walkSpeed, fallSpeed, climbSpeed, jumpSpeed, jumpStride, slideFactor, jumpHeight,
      maxDrop,  // player.inf: the same in every state of a level
      slideDx, slideDy, width,  // TickState
      height,  // player.inf
      lives, score,  // WorldState: they never steer the motion
      facing, climbDirection, jumpState, falling, climbStep, onChute, hasControl,  // TickState
      alive,  // every state is alive; one that dies is not kept
      animationNames,  // player.inf
      sprite,  // TickState: the animation on show and where each animation stands
      currentLadder,  // TickState, as an index into the level's ladders
      currentTeleporter  // written by the teleport keys before it is read, never read first
  ] = player;
}

void TickLedger::ladder(const Ladder& ladder) {
  [[maybe_unused]] const auto& [
      x, y, width, height,  // a ladder is told apart by these: TickState
      name, image_index, image  // never read by a tick
  ] = ladder;
}

void TickLedger::game(const Game& game) {
  [[maybe_unused]] const auto& [
      width, height,  // screen size: fixed
      quit, levelDone,  // a run's end: a state is taken only while the run goes on
      buffer, background, countdownBuffer, countdownBackground, countdownFont, scoreFont,
      scoreBuffer, scoreBackground, lifePip,  // drawing only
      walkSample, jumpSample, fallDeathSample, caughtSample, itemSample, enemyKilledSample,
      walkVoice,  // sounds: heard, never read back by a tick
      player,  // above
      level, floorManager, ladderManager, chuteManager, enemyManager, itemManager,
      teleporterManager,  // the placed level: what a tick changes of it is below
      teleportCooldown,  // configuration
      updatesPerSecond,  // configuration
      countdown, ticksSinceItem,  // WorldState
      teleportCooldownTicks,  // TickState
      chuteTolerance, ladderHorizontalTolerance, ladderVerticalTolerance,  // configuration
      teleportCooldownActive, fallDistance, jumpApexY, slideTop, slideLength,  // TickState
      keyLeft, keyRight, keyUp, keyDown, keyJump,  // configuration
      lifeTicks,  // WorldState: the countdown's pace
      input,  // the keys a search holds: set before every tick
      inputSource,  // below
      pause,  // the pause runs between ticks, never inside one
      output, frameCache  // drawing and the display's switch: between ticks too
  ] = game;
}

void TickLedger::inputSource(const InputSource& source) {
  [[maybe_unused]] const auto& [
      inputFromDevices,  // a search fills the input itself
      gate,  // a tool's Game holds no key back
      gamepad  // a tool's Game has no joystick
  ] = source;
}

void TickLedger::enemy(const Enemy& enemy) {
  [[maybe_unused]] const auto& [
      alive, x, y, direction,  // EnemyState
      width, height,  // taken from the frame when restoreEnemy chooses the animation
      min_x, max_x, speed, changes,  // placed: never changed by a tick
      state,  // EnemyState
      safe_time, points,  // placed
      falling,  // EnemyState
      death_sample,  // a sound
      sprite  // EnemyState: the animation on show and where each animation stands
  ] = enemy;
}

void TickLedger::item(const Item& item) {
  [[maybe_unused]] const auto& [
      x, y, width, height, type, image_index, image, points,  // placed
      present  // WorldState
  ] = item;
}

void TickLedger::teleporter(const Teleporter& teleporter) {
  [[maybe_unused]] const auto& [
      x, y, width, height, name, cooldown_name, image_index, cooldown_image_index, number, image,
      cooldown_image  // placed: a tick reads the Game's cooldown, never the pad's
  ] = teleporter;
}

void TickLedger::sprite(const Sprite& sprite) {
  [[maybe_unused]] const auto& [
      animations_,  // each as below
      animationIndex_  // TickState, EnemyState
  ] = sprite;
}

void TickLedger::animation(const Animation& animation) {
  [[maybe_unused]] const auto& [
      frameCount_,  // loaded
      frameIndex_, frameTicks_,  // TickState::AnimationPoint
      frames_, durations_  // loaded
  ] = animation;
}

void TickLedger::floor(const FloorManager& floor) {
  [[maybe_unused]] const auto& [
      stamp_,  // renewed by a claim for the drawing's cache; no tick reads it
      tiles_,  // each as below
      normalImages_, clearedImages_,  // loaded
      tilesLeft_,  // follows the claim journal: undone with it
      claimed_,  // the claim journal: WorldState keeps its length, later claims are undone
      cells_, tallest_  // built as the level is placed
  ] = floor;
}

void TickLedger::floorTile(const FloorTile& tile) {
  [[maybe_unused]] const auto& [
      x, y, width, height, tile_name, cleared_name, image_index, cleared_image_index, claimable,
      points,  // placed
      cleared,  // follows the claim journal: undone with it
      image, cleared_image  // borrowed images
  ] = tile;
}

void TickLedger::keyRelease(const KeyReleaseEntry& entry) {
  [[maybe_unused]] const auto& [
      pending  // TickState::pendingKeys, for the teleport digits: the only keys a tick asks of
  ] = entry;
}
