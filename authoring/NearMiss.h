#pragma once
// How close the reachability search (authoring/Reachability.h) came to a
// claimable tile it never claims, measured from the states it found where
// the player stands with a choice of keys, and worded once for pwe-check
// and the editor in the numbers an author moves a tile by.
//
// The approach is the one whose sum of the two shortfalls is least: how
// far sideways the player's claiming points stay from the columns it would
// stand on, and how far its highest jump from there stays below the row it
// would stand at (or how far its floor lies above that row).
#include <string>

class Game;
class Reachability;

struct NearMiss {
  bool found = false;  // the search found a state to measure from
  int floorRow = 0;    // top row of the floor the player stands on
  int sideways = 0;    // px between the player and the tile's columns
  bool leftOfTile = false;
  int reachRow = 0;    // the floor row the highest jump from there lifts the feet to
  int tooLow = 0;      // px reachRow stays below the tile's top (0: the jump is high enough)
  int above = 0;       // px the floor lies above the tile's top (the tile is lower)
};

// tile: index of a claimable tile in the level's list.
NearMiss nearestApproach(const Game& game, const Reachability& search, int tile);

// "claimable tile at 320, 224 is a near miss: the highest jump from the
// floor at row 304 reaches row 236, 12 px short of it"; empty when the
// search found nothing to measure from.
std::string nearMissText(const Game& game, int tile, const NearMiss& miss);
