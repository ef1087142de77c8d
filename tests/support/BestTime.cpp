#include "tests/support/BestTime.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "authoring/TickState.h"
#include "game/Game.h"

namespace {

struct Node {
  TickState state;
  std::uint64_t claimed = 0;  // bit n: the n-th claimable tile
};

template <typename T>
void addBytes(std::string& key, const T& value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  key.append(bytes, sizeof(T));
}

// Field by field: the struct's padding is no part of a state. Where each
// animation stands is left out: with every frame one width and no enemy
// to touch, the pictures never change what a tick does.
std::string keyOf(const Node& node) {
  const TickState& s = node.state;
  std::string key;
  for (float f : {s.x, s.y, s.fallDistance, s.jumpApexY}) addBytes(key, f);
  for (std::int32_t n : {s.width, s.slideDx, s.slideDy, s.slideTop, s.slideLength,
                         s.cooldownTicks, s.ladder}) {
    addBytes(key, n);
  }
  for (std::int8_t n : {s.jumpState, s.facing, s.climbDirection}) addBytes(key, n);
  addBytes(key, s.flags);
  addBytes(key, s.pendingKeys[0]);
  addBytes(key, s.pendingKeys[1]);
  addBytes(key, node.claimed);
  return key;
}

class Breadth {
 public:
  explicit Breadth(Game& game) : game_(game), states_(game) {
    const std::vector<FloorTile>& tiles = game.floorManager.tiles();
    for (std::size_t t = 0; t < tiles.size(); ++t) {
      if (tiles[t].claimable != 0) claimable_.push_back(static_cast<int>(t));
    }
    const int left = game.keyLeft, right = game.keyRight, up = game.keyUp,
              down = game.keyDown, jump = game.keyJump;
    // A walk and a climb, or both walks, in one tick are told apart too;
    // a jump with a climb key is the jump or the climb alone, and both
    // climb keys one of them.
    inputs_ = {{},          {left},          {right},        {up},           {down},
               {jump},      {jump, left},    {jump, right},  {up, left},     {up, right},
               {down, left}, {down, right},  {left, right},  {jump, left, right}};
    // A digit teleports when it is let go, from where the player stands,
    // so it is pressed standing or walking; the tick after lets it go.
    for (int digit : states_.teleportCodes()) {
      for (const std::vector<int>& with : {std::vector<int>{}, {left}, {right}}) {
        inputs_.push_back(with);
        inputs_.back().push_back(digit);
      }
    }
    start_ = {states_.capture(), claimedNow()};
  }

  bool fits() const { return claimable_.size() <= 64; }

  // The game as the life began: all a tick reads (the teleport cooldown
  // among it), which the life's start alone does not set again.
  void putBackTheStart() { restore(start_); }

  int run(int maxTicks, std::size_t maxStates) {
    std::vector<Node> layer = {start_};
    seen_.insert(keyOf(layer[0]));
    for (int tick = 1; tick <= maxTicks && !layer.empty(); ++tick) {
      std::vector<Node> next;
      for (const Node& node : layer) {
        for (const std::vector<int>& codes : inputs_) {
          Node after;
          if (!play(node, codes, after)) continue;
          if (cleared(after)) return tick;
          if (seen_.insert(keyOf(after)).second) next.push_back(after);
          if (seen_.size() > maxStates) return -1;
        }
      }
      layer = std::move(next);
    }
    return -1;
  }

 private:
  std::uint64_t claimedNow() const {
    const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
    std::uint64_t bits = 0;
    for (std::size_t n = 0; n < claimable_.size(); ++n) {
      if (tiles[claimable_[n]].cleared) bits |= std::uint64_t{1} << n;
    }
    return bits;
  }

  bool cleared(const Node& node) const {
    const std::size_t n = claimable_.size();
    return node.claimed == (n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1);
  }

  // The claims of a node, made again where the game makes them: at a
  // column of the tile's own, on its row.
  void restore(const Node& node) {
    game_.floorManager.undoClaims(0);
    const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
    for (std::size_t n = 0; n < claimable_.size(); ++n) {
      if ((node.claimed >> n & 1) == 0) continue;
      const FloorTile& tile = tiles[claimable_[n]];
      game_.floorManager.claimAt(static_cast<float>(tile.x + tile.width / 2),
                                 static_cast<float>(tile.y - 1));
    }
    states_.restore(node.state);
    game_.countdown = game_.level.countdown_start;
    game_.lifeTicks = 0;
    game_.levelDone = false;
  }

  // False when the player died.
  bool play(const Node& from, const std::vector<int>& codes, Node& after) {
    restore(from);
    game_.input.releaseAll();
    for (int code : codes) game_.input.hold(code);
    game_.tick();
    if (!game_.player.alive) return false;
    after = {states_.capture(), claimedNow()};
    return true;
  }

  Game& game_;
  TickStates states_;
  std::vector<int> claimable_;
  std::vector<std::vector<int>> inputs_;
  Node start_;
  std::unordered_set<std::string> seen_;
};

}  // namespace

int bestClearingTicks(Game& game, int maxTicks, std::size_t maxStates) {
  game.beginLife();
  game.enemyManager.clear();
  game.inputSource.inputFromDevices = false;
  Breadth breadth(game);
  const int best = breadth.fits() ? breadth.run(maxTicks, maxStates) : -1;
  breadth.putBackTheStart();
  game.beginLife();
  return best;
}
