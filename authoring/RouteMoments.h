#pragma once
// How hard each moment of a route that clears a level is, measured with
// the enemies on the game's own tick: how many ticks each press may be off
// and still clear the level, and how near each enemy comes to the player.
//
// A press's window. A press is ClearingRoute's (isPress). Pressed k ticks
// sooner, the k ticks before it are dropped; pressed k ticks later, the
// keys of the tick before it are held k ticks more. Either way the rest of
// the route follows the press as recorded, so every later press keeps its
// spacing to this one: a player who presses late plays on from there as
// rehearsed, late by as much. A shift holds when, played so with the
// enemies, items and countdown, the level is cleared, or the player lives
// to stand on a floor with the keys again (neither falling, climbing nor in
// a jump) on the row where the route next does, with floor all the way
// between the two or within two walking steps, or anywhere every tile still
// unclaimed can be claimed from (ClearingRoute's RestClaimable, the
// frame-perfect check's own rule). The rest is judged there,
// as the frame-perfect check judges it, and not at the level's end: a
// press a tick off leaves the player a few pixels off, which a person
// walks away at once and a replay of fixed keys never does. Shifts of 1 to
// windowReach ticks are tried each way, nearest first; the window is the
// run of shifts around 0 that hold, so a failing shift ends its side. A
// press cannot come sooner than a tick after the press before it (the
// dropped ticks would take that one's timing too): there its sooner side
// ends untried, as it does at windowReach, and the window is "at least".
//
// A near pass. After each tick of the route, the pixels between the
// player's picture and each dangerous enemy's, placed as the enemy's touch
// places them (actors/Enemy's touchingBox and box): the moves before a
// solid pixel of one lands on one of the other (graphics/Collision's
// imagesGap), since a touch is of solid pixels, not of boxes; boxes 16 px
// apart or more are taken at their own gap, so outlines are compared only
// while an enemy is near (at most the two outlines' product a tick and
// enemy so near). Each enemy's
// least, and the first tick of it.
//
// Limits. The route is played once to keep the player's state before each
// tick and the passes, then again keeping a capture of everything a tick
// reads (authoring/TickState) for the windowReach + 1 ticks before each
// press, from which each trial starts; a trial plays at most the shift and
// windowTrialTicks more. Every tick counts against the limits of the checks
// after the proof (RouteLimits: the proof's ticks and seconds, or
// PWE_SEARCH_SECONDS), asked every 256 ticks: past them the presses after
// are left unmeasured, and the passes and every window when the route was
// not played once to its end. So the ticks are at most twice the route's
// and (2 × windowReach) × (windowReach + windowTrialTicks) + windowReach for
// each press, within those limits. Memory: a TickState per tick of the
// route (the proof's ticks bound it) and windowReach + 1 captures of the
// player, each enemy and the world. Measured in docs/performance.md.
#include <cstddef>
#include <string>
#include <vector>

#include "authoring/LayoutRules.h"
#include "authoring/TickState.h"

class Game;
class Reachability;
class RouteLimits;

struct PressWindow {
  int tick = 0;     // of the press, from the life's first
  TickInput keys;   // held in it
  int sooner = 0;   // ticks it may come sooner and the level still be cleared
  int later = 0;    // and later
  bool open = false;  // a side cleared as far as it was tried: the window may be wider
  int x = 0;          // the player's bottom centre before it, screen pixels
  int y = 0;
  int ticks() const { return sooner + 1 + later; }
};

struct EnemyPass {
  int enemy = -1;  // in the level's list
  int pixels = 0;  // the least between the boxes, 0 where they overlap
  int tick = 0;    // the first tick after which they were that near
  int x = 0;       // the player's bottom centre after that tick, screen pixels
  int y = 0;
};

struct RouteMoments {
  std::vector<PressWindow> windows;  // of the presses measured, in the route's order
  std::size_t presses = 0;           // in the route
  std::size_t measured = 0;          // presses whose window was measured: the first so many
  std::vector<EnemyPass> passes;     // of each enemy that was dangerous beside the player
  bool passesMeasured = false;       // the route was played to its end within the limits
};

constexpr int windowReach = 6;     // ticks tried each way of a press
constexpr int tightWindow = 4;     // a window narrower is hard for ordinary players
constexpr int nearPassPixels = 4;  // and so is an enemy passing nearer
constexpr int windowTrialTicks = 2000;  // a shift is judged within
constexpr std::size_t maxHardWindows = 256;  // tight windows a report carries

bool isTight(const PressWindow& window);  // narrower than tightWindow
bool isNear(const EnemyPass& pass);       // nearer than nearPassPixels
// The narrowest window and the nearest pass, the first of equals; null without any.
const PressWindow* tightestPress(const RouteMoments& moments);
const EnemyPass* nearestPass(const RouteMoments& moments);

// game: the one search ran on; left at the life's start, enemies and all.
// route: from the life's start, one that clears the level with its enemies.
RouteMoments routeMoments(Game& game, const Reachability& search,
                          const std::vector<TickInput>& route, RouteLimits& limits);

// For the proof's note: "the tightest press is the jump at 12.4 s, a
// 3-tick window; the blob placed at 120, 463 passes 4 px from the player at
// 7.9 s", and what the limits left unmeasured; empty when there is nothing
// to tell.
std::string momentsText(const RouteMoments& moments, const Game& game);
// The short form for a status line: "tightest: the jump at 12.4 s, a
// 3-tick window; nearest: the blob placed at 120, 463 passes 4 px from the
// player at 7.9 s"; empty when nothing was measured.
std::string momentsBrief(const RouteMoments& moments, const Game& game);
// What a level's report carries of them: every window isTight (the first
// maxHardWindows) and the tightest, and every pass; so momentsText and
// momentWarnings say of it what they say of the whole.
RouteMoments hardMoments(const RouteMoments& moments);
// A warning for the tightest press under tightWindow, and one at each
// enemy passing nearer than nearPassPixels.
std::vector<LayoutFinding> momentWarnings(const RouteMoments& moments, const Game& game);
