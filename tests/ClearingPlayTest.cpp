// A life played with its enemies and taken back: a snapshot restored runs
// on exactly as the life ran from there, enemies, items, countdown and
// score included, whichever way the life went in between.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "authoring/ClearingPlay.h"
#include "authoring/Reachability.h"
#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace {

// Two patrols, one harmless for a while once the gem is taken, and a
// countdown that steps down within the stretch played.
LevelText patrolledFloor() {
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.countdown = 500;
  level.start = "40 299 1";
  level.enemies = {"400 299 0 300 600 1.5 1 0 blob 120 50", "500 299 1 450 620 0.7 0 0 blob 0 20"};
  level.items = {"20 290 gem 25"};
  return level;
}

// What a tick can tell of the life, everything the snapshot keeps.
struct Seen {
  std::vector<float> enemies;  // x, y, direction, state, alive, frame on show
  std::vector<bool> items;
  int countdown, score, tiles;
  float x, y;
  bool operator==(const Seen& o) const {
    return enemies == o.enemies && items == o.items && countdown == o.countdown &&
           score == o.score && tiles == o.tiles && x == o.x && y == o.y;
  }
};

Seen see(const Game& game, const LivePlay& live) {
  Seen seen{{}, {}, game.countdown, game.player.score, live.tilesClaimed(), game.player.x,
            game.player.y};
  for (const Enemy& e : game.enemyManager.enemies()) {
    const Animation& shown = e.sprite.animation(e.sprite.animationIndex());
    seen.enemies.insert(seen.enemies.end(),
                        {e.x, e.y, float(e.direction), float(e.state), float(e.alive),
                         float(shown.frameIndex() * 1000 + shown.frameTicks())});
  }
  for (const Item& item : game.itemManager.items()) seen.items.push_back(item.present);
  return seen;
}

// The first edges the search found from the start leading left, where the
// gem lies: walking there takes the gem.
std::vector<std::uint32_t> edgesLeft(const Reachability& search, int steps) {
  const StateGraph& g = *search.foundStates();
  std::vector<std::uint32_t> path;
  std::uint32_t at = 0;
  for (int i = 0; i < steps; ++i) {
    std::uint32_t chosen = UINT32_MAX;
    for (std::uint32_t e = g.firstEdge(at); e < g.endEdge(at); ++e) {
      if (g.edge(e).input.keys == 1u && g.edge(e).to != at) chosen = e;  // left alone
    }
    if (chosen == UINT32_MAX) break;
    path.push_back(chosen);
    at = g.edge(chosen).to;
  }
  return path;
}

TEST(ClearingPlay, ARestoredSnapshotRunsOnAsTheLifeDid) {
  GameTree tree;
  tree.writeLevel("level1.inf", patrolledFloor().str());
  releaseAllKeys();
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  game->beginLife();
  Reachability search(*game);
  search.run();
  LivePlay live(*game, search);
  const std::vector<std::uint32_t> left = edgesLeft(search, 12);
  ASSERT_GE(left.size(), 10u);

  struct Case {
    const char* what;
    int waitBefore;  // ticks stood still before the snapshot
    bool walkLeft;   // then the walk to the gem, after the snapshot
  };
  for (const Case& c : {Case{"standing", 40, false}, Case{"taking the gem", 10, true},
                        Case{"over a countdown step", 290, false}}) {
    SCOPED_TRACE(c.what);
    live.restore(live.snapshot());
    ASSERT_TRUE(live.wait(c.waitBefore));
    const PlaySnapshot taken = live.snapshot();
    auto playOn = [&]() {
      bool going = true;
      if (c.walkLeft) {
        for (std::uint32_t e : left) going = going && live.playEdge(e);
      }
      going = going && live.wait(60);
      EXPECT_TRUE(going);
      return see(*game, live);
    };
    const Seen first = playOn();
    if (c.walkLeft) {
      EXPECT_FALSE(first.items[0]) << "the walk takes the gem";
    }
    // Another way in between: the snapshot still gives back the life.
    live.restore(taken);
    live.wait(25);
    live.restore(taken);
    const Seen again = playOn();
    EXPECT_TRUE(first == again);
    EXPECT_EQ(first.enemies, again.enemies);
    EXPECT_EQ(first.countdown, again.countdown);
    live.restore(taken);
  }
}

}  // namespace
