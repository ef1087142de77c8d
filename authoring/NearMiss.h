#pragma once
// How close the reachability search (authoring/Reachability.h) came to a
// claimable tile it never claims or an item the player's frame never
// touches, measured from the states it found where the player has a
// choice of keys, and worded once for pwe-check and the editor in the
// numbers an author moves a tile or an item by.
//
// The approach is the one whose sum of the two shortfalls is least: how
// far sideways the player stays from the columns it needs, and how far its
// highest jump from there stays below the rows it needs (or how far it
// stands above them). A tile is claimed by the feet, at the player's
// centre or left edge, on the row above its top; an item by the frame
// overlapping it, so for an item the columns are the frame's against the
// item's, and the rows the top of the frame at the highest jump against
// the item's bottom row. No jump starts on a ladder: there the player is
// measured where it hangs, each rung it climbs to being a state of its own.
#include <string>

class Game;
class Reachability;

struct NearMiss {
  bool found = false;     // the search found a state to measure from
  bool onLadder = false;  // that state hangs on a ladder, where no jump starts
  int floorRow = 0;       // top row of the floor the player stands on: the row below its feet
  int sideways = 0;       // px between the player and the tile's or item's columns
  bool leftOfIt = false;  // the player is to the left of them
  // Tile: the floor row the highest jump lifts the feet to. Item: the row
  // it lifts the top of the player's frame to. On a ladder, the same where
  // the player hangs.
  int reachRow = 0;
  int tooLow = 0;         // px reachRow stays below the tile's top or the item's bottom row
  int above = 0;          // px the player stands above the tile's top or the item's top row
};

// tile: index of a claimable tile in the level's list.
NearMiss nearestApproach(const Game& game, const Reachability& search, int tile);
// item: index in the level's list of items.
NearMiss nearestItemApproach(const Game& game, const Reachability& search, int item);

// "claimable tile at 160, 248 is a near miss: the highest jump from the
// floor at row 300 reaches row 262, 14 px short of it"; empty when the
// search found nothing to measure from, or nothing short.
std::string nearMissText(const Game& game, int tile, const NearMiss& miss);
// "item at 100, 220 is a near miss: the highest jump from the floor at row
// 300 lifts the top of the player's frame to row 238, 11 px short of it".
std::string itemNearMissText(const Game& game, int item, const NearMiss& miss);
