#pragma once
// Whether a level plays as its author meant: ladders whose ends meet floors,
// chutes that end on one, patrols that keep to theirs, items and teleporters
// a player can reach, a start to stand on, panels that hide nothing, no
// element twice. Every answer comes from the engine itself: the managers'
// queries and the engine's own steps, played on a Game that has placed the
// level, with the tolerances, sizes and speeds its media tree gives.
// pwe-check reports the findings; an editor can ask for them as well.
//
// Bounds. Spots are found once, sorted by row, and each rule looks only at
// the rows it concerns; repeats are found through one ordered map. What is
// left grows with the elements times the spots of their rows, so the rules
// also keep to a limit in seconds on the searches' clock: past it, the
// elements not yet looked at are left unchecked and one warning says so.
// Memory: the spots, at most four per column of a row a tile stands on.
#include <allegro.h>

#include <string>
#include <vector>

#include "game/ElementKinds.h"

class Game;

// What a finding is about, in the order findings are listed.
enum class LayoutElement {
  Tiles,           // the floor tile list as a whole
  CountdownPanel,
  ScorePanel,
  Start,           // the player start
  Record,          // one record of the level file: its kind and index
  Level,           // the level as a whole (the reachability verdict)
};

struct LayoutFinding {
  LayoutElement element = LayoutElement::Tiles;
  ElementKind kind = ElementKind::Tile;  // a Record's; in table order after Start
  int index = 0;         // in the record's list, from 0 (0 for the others)
  bool warning = false;  // may be meant; an error is unplayable or plainly broken
  std::string message;   // in the author's terms: "ladder at 112, 240: ..."
  int other = -1;        // an element of the same list the message ends by naming, or -1
  bool unreachable = false;  // a claimable tile or an item no key sequence reaches
  bool note = false;     // neither: what was proven, for the author's information
};

class LayoutRules {
 public:
  // game: built, with a level started and a life begun. The rules move the
  // player and copies of the enemies on it; check() ends by beginning the
  // life again, so the Game is left as it was given.
  // maxSeconds: the limit in seconds (the rules' own when 0 or less).
  explicit LayoutRules(Game& game, double maxSeconds = 0.0);
  static constexpr double defaultSeconds = 10.0;

  std::vector<LayoutFinding> check();

 private:
  // A place where the player rests under its own control: standing on a
  // floor or holding a ladder, with the animation it shows there.
  struct Spot {
    float x = 0.0f;      // horizontal centre
    float y = 0.0f;      // lowest row
    int animation = 0;   // Player animation index
    bool onFloor = false;
  };
  // How a player left in the air comes down, played with the engine's fall.
  struct Drop {
    enum Outcome { Rests, Lands, Dies, Leaves, Hangs } outcome = Rests;
    int rows = 0;      // fallen
    int floorRow = 0;  // top row of the floor it lands on
  };

  // authoring/LayoutRules.cpp
  void findSpots();
  void checkTiles();
  void checkLadders();
  void checkPanels();
  void checkRepeats();
  void add(LayoutElement element, int index, bool warning, const std::string& message,
           int other = -1);
  void add(ElementKind kind, int index, bool warning, const std::string& message,
           int other = -1);
  bool outOfTime();  // true from when the limit in seconds is passed

  // authoring/LayoutRulesMotion.cpp
  void checkStart();
  void checkChutes();
  void checkEnemies();
  void checkItems();
  void checkTeleporters();
  void placePlayer(float x, float y, int animation);
  Drop settle();  // from where the player is now
  std::string describe(const Drop& drop) const;
  // True when some frame the player shows at some spot makes
  // touches(frame, left, top) true; only spots near the box of columns
  // left to left + width and rows top to top + height are tried.
  template <typename Touches>
  bool touchedFromSomeSpot(int left, int width, int top, int height, Touches touches);

  Game& game_;
  std::vector<Spot> spots_;  // by row, then by column, then as found
  float tallestFrame_ = 0.0f; // rows, of the player's size and of any of its frames
  float widestFrame_ = 0.0f;  // columns, likewise
  std::vector<LayoutFinding> findings_;
  double maxSeconds_;
  double startedAt_ = 0.0;
  bool stopped_ = false;
};
