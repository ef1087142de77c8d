#include "authoring/NearMiss.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "authoring/Reachability.h"
#include "game/Game.h"
#include "graphics/Pixel.h"

namespace {

// From the player's columns left to right (its claiming points, or its
// frame) to the columns first to last; all of them included.
void measureSideways(NearMiss& miss, int left, int right, int firstColumn, int lastColumn) {
  if (right < firstColumn) {
    miss.sideways = firstColumn - right;
    miss.leftOfIt = true;
  } else if (left > lastColumn) {
    miss.sideways = left - lastColumn;
  }
}

// The player's feet claim at its centre and at its left edge (player/).
// peak: the feet's highest y from the state.
NearMiss measureTile(const TickState& state, float peak, const FootRun& run) {
  NearMiss miss;
  const int centre = toPixel(state.x);
  const float left = collisionCorner(state.x, state.y, state.width, 0).left;  // its height unread
  measureSideways(miss, toPixel(left), centre, run.firstColumn, run.lastColumn);
  // Rows named as the top of the floor stood on, as the level file places tiles.
  miss.reachRow = toPixel(peak) + 1;
  const int tileTop = run.row + 1;
  miss.tooLow = std::max(0, miss.reachRow - tileTop);
  miss.above = std::max(0, tileTop - (toPixel(state.y) + 1));
  return miss;
}

// The frame is placed as Game::itemStep places it, state.width wide and
// as tall as player.inf says.
NearMiss measureItem(const TickState& state, float peak, const Item& item, int height) {
  NearMiss miss;
  const CollisionCorner at = collisionCorner(state.x, state.y, state.width, height);
  const int left = toPixel(at.left);
  measureSideways(miss, left, left + state.width - 1, item.x, item.x + item.width - 1);
  const int bottom = toPixel(at.top) + height - 1;
  miss.reachRow = toPixel(collisionCorner(state.x, peak, state.width, height).top);
  miss.tooLow = std::max(0, miss.reachRow - (item.y + item.height - 1));
  miss.above = std::max(0, item.y - bottom);
  return miss;
}

int shortfall(const NearMiss& miss) { return miss.sideways + miss.tooLow + miss.above; }

// The least shortfall over the states where the player has a choice of
// keys; measure(state, peak) with the feet's highest y from there.
template <typename Measure>
NearMiss nearest(const Game& game, const Reachability& search, Measure measure) {
  const StateGraph* states = search.foundStates();
  NearMiss best;
  if (states == nullptr) return best;
  std::unordered_map<float, float> peaks;  // by y: few floors, and a slow rise is long
  int bestShortfall = INT_MAX;
  for (std::uint32_t n = 0; n < states->size(); ++n) {
    const TickState& state = states->state(n);
    if (!state.has(TickState::hasControl) || state.has(TickState::falling)) continue;
    const bool hangs =
        game.onLadder(search.tickStates().ladder(state.ladder), state.x, state.y);
    auto known = peaks.find(state.y);
    if (known == peaks.end()) known = peaks.emplace(state.y, game.jumpPeak(state.y)).first;
    NearMiss miss = measure(state, hangs ? state.y : known->second);
    miss.found = true;
    miss.onLadder = hangs;
    miss.floorRow = toPixel(state.y) + 1;
    if (shortfall(miss) < bestShortfall) {
      best = miss;
      bestShortfall = shortfall(miss);
    }
  }
  return best;
}

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string sidewaysText(const NearMiss& miss) {
  return std::to_string(miss.sideways) + " px to the " + (miss.leftOfIt ? "left" : "right");
}

std::string standText(const NearMiss& miss) {
  if (miss.onLadder) {
    return "on the ladder with its feet at row " + std::to_string(miss.floorRow - 1);
  }
  return "on the floor at row " + std::to_string(miss.floorRow);
}

// start names the tile or item; lifted says what the highest jump lifts to
// reachRow.
std::string missText(const std::string& start, const NearMiss& miss, const std::string& lifted) {
  if (!miss.found || shortfall(miss) == 0) return {};
  const std::string nearest = start + "the nearest the player gets is ";
  const std::string aside = miss.sideways > 0 ? sidewaysText(miss) + " and " : std::string();
  const std::string jump = "the highest jump from the floor at row " +
                           std::to_string(miss.floorRow) + " " + lifted + " " +
                           std::to_string(miss.reachRow);
  if (miss.tooLow > 0 && miss.onLadder) {
    return nearest + aside + std::to_string(miss.tooLow) + " px below it, " + standText(miss);
  }
  if (miss.tooLow > 0 && miss.sideways == 0) {
    return start + jump + ", " + std::to_string(miss.tooLow) + " px short of it";
  }
  if (miss.tooLow > 0) {
    return nearest + aside + std::to_string(miss.tooLow) + " px below it: " + jump;
  }
  if (miss.above > 0) {
    return nearest + aside + std::to_string(miss.above) + " px above it, " + standText(miss);
  }
  return nearest + sidewaysText(miss) + ", " + standText(miss);
}

}  // namespace

NearMiss nearestApproach(const Game& game, const Reachability& search, int tile) {
  const FootRun run = game.floorManager.standingRun(tile);
  return nearest(game, search, [&](const TickState& state, float peak) {
    return measureTile(state, peak, run);
  });
}

NearMiss nearestItemApproach(const Game& game, const Reachability& search, int item) {
  const Item& placed = game.itemManager.items()[item];
  const int height = game.player.height;
  return nearest(game, search, [&](const TickState& state, float peak) {
    return measureItem(state, peak, placed, height);
  });
}

std::string nearMissText(const Game& game, int tile, const NearMiss& miss) {
  const FloorTile& placed = game.floorManager.tiles()[tile];
  return missText("claimable tile at " + point(placed.x, placed.y) + " is a near miss: ", miss,
                  "reaches row");
}

std::string itemNearMissText(const Game& game, int item, const NearMiss& miss) {
  const Item& placed = game.itemManager.items()[item];
  return missText("item at " + point(placed.x, placed.y) + " is a near miss: ", miss,
                  "lifts the top of the player's frame to row");
}
