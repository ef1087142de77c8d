#include "authoring/NearMiss.h"

#include <algorithm>
#include <climits>

#include "authoring/Reachability.h"
#include "game/Game.h"
#include "graphics/Pixel.h"

namespace {

// The player's feet claim at its centre and at its left edge (player/).
NearMiss measure(const TickState& state, const FootRun& run, float jumpHeight) {
  NearMiss miss;
  miss.found = true;
  const int centre = toPixel(state.x);
  const int left = toPixel(state.x - state.width * 0.5f);
  if (centre < run.firstColumn) {
    miss.sideways = run.firstColumn - centre;
    miss.leftOfTile = true;
  } else if (left > run.lastColumn) {
    miss.sideways = left - run.lastColumn;
  }
  // Rows named as the top of the floor stood on, as the level file places tiles.
  miss.floorRow = toPixel(state.y) + 1;
  miss.reachRow = toPixel(state.y - jumpHeight) + 1;
  const int tileTop = run.row + 1;
  miss.tooLow = std::max(0, miss.reachRow - tileTop);
  miss.above = std::max(0, tileTop - miss.floorRow);
  return miss;
}

int shortfall(const NearMiss& miss) { return miss.sideways + miss.tooLow + miss.above; }

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string sidewaysText(const NearMiss& miss) {
  return std::to_string(miss.sideways) + " px to the " + (miss.leftOfTile ? "left" : "right");
}

std::string floorText(const NearMiss& miss) {
  return "on the floor at row " + std::to_string(miss.floorRow);
}

}  // namespace

NearMiss nearestApproach(const Game& game, const Reachability& search, int tile) {
  const FootRun run = game.floorManager.standingRun(tile);
  const StateGraph* states = search.foundStates();
  NearMiss best;
  if (states == nullptr) return best;
  int bestShortfall = INT_MAX;
  for (std::uint32_t n = 0; n < states->size(); ++n) {
    const TickState& state = states->state(n);
    if (!state.has(TickState::hasControl) || state.has(TickState::falling)) continue;
    const NearMiss miss = measure(state, run, game.player.jumpHeight);
    if (shortfall(miss) < bestShortfall) {
      best = miss;
      bestShortfall = shortfall(miss);
    }
  }
  return best;
}

std::string nearMissText(const Game& game, int tile, const NearMiss& miss) {
  if (!miss.found || shortfall(miss) == 0) return {};
  const FloorTile& placed = game.floorManager.tiles()[tile];
  const std::string start = "claimable tile at " + point(placed.x, placed.y) + " is a near miss: ";
  const std::string jump = "the highest jump from the floor at row " +
                           std::to_string(miss.floorRow) + " reaches row " +
                           std::to_string(miss.reachRow);
  if (miss.tooLow > 0 && miss.sideways == 0) {
    return start + jump + ", " + std::to_string(miss.tooLow) + " px short of it";
  }
  if (miss.tooLow > 0) {
    return start + "the nearest the player gets is " + sidewaysText(miss) + " and " +
           std::to_string(miss.tooLow) + " px below it: " + jump;
  }
  if (miss.above > 0) {
    return start + "the nearest the player gets is " +
           (miss.sideways > 0 ? sidewaysText(miss) + " and " : std::string()) +
           std::to_string(miss.above) + " px above it, " + floorText(miss);
  }
  return start + "the nearest the player gets is " + sidewaysText(miss) + ", " + floorText(miss);
}
