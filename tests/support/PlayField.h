#pragma once
// A real Game built from a GameTree and one level of the test's own, for
// tests that drive the player through game ticks with keys held.
#include <allegro.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "tests/support/GameTree.h"

// The elements of a level, one record per line in level-file token order.
struct LevelLayout {
  int startX = 100;
  int startY = 299;
  int startAnimation = 1;
  std::vector<std::string> tiles;        // "x y tile cleared claimable points"
  std::vector<std::string> ladders;      // "x y height name"
  std::vector<std::string> chutes;       // "x y height dx direction name"
  std::vector<std::string> teleporters;  // "x y name cooldown_name number"

  // Adds a row of claimable "brick" tiles (32 wide, 10 points) from x0 to x1.
  LevelLayout& floor(int x0, int x1, int y);
  std::string text() const;  // always ends with one far-off claimable tile
};

class PlayField {
 public:
  // prepare runs on the tree before the Game is built (replace art, config).
  explicit PlayField(const LevelLayout& layout,
                     const std::function<void(GameTree&)>& prepare = nullptr);
  ~PlayField();

  Player& player() { return game->player; }
  // Plays a tick with the Game's input record as it stands (the devices
  // are never read): true when the life ended.
  bool tick() { return game->tick(); }
  void hold(int code, bool held = true) { game->input.hold(code, held); }
  // Holds exactly the given keys for one tick.
  bool tickHolding(const std::vector<int>& codes);
  // The keys down as play begins (and the pad as Allegro shows it), which
  // the Game holds back until each is released once.
  void holdBackHeld(const std::vector<int>& codes);
  void clearRecords();  // forget the log lines and sounds seen so far
  bool logged(const std::string& line) const;

  GameTree tree;
  std::unique_ptr<Game> game;
  std::vector<std::string> log;        // captured from after the life start
  std::vector<const SAMPLE*> played;   // samples played since the life start
};

// Releases every key and forgets every seen press.
void releaseAllKeys();
