// Determinism you can see: the proof's own play of the route it found and
// the game's replay of that route hash alike tick by tick, and a play
// changed at one tick, in any part of what a tick changes, parts from the
// proof's at that tick and no sooner.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "authoring/ClearingSearch.h"
#include "authoring/Reachability.h"
#include "authoring/Replay.h"
#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace {

// Ten tiles to claim and a gem on the floor below, a patrol on a ledge
// above out of reach: a short route with every kind of state moving.
LevelText claimsBelowAPatrol() {
  LevelText level;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  for (int x = 400; x < 600; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 150 brick brick_clear 0 0");
  }
  level.start = "40 299 1";
  level.enemies = {"450 149 1 410 580 1.0 0 0 blob 0 20"};
  level.items = {"200 290 gem 25"};
  return level;
}

// The enemy's animation on show a tick further into its frame.
void nudgeAnimation(Enemy& enemy) {
  Sprite& sprite = enemy.sprite;
  const int shown = sprite.animationIndex();
  const Animation& animation = sprite.animation(shown);
  sprite.seek(shown, animation.frameIndex(), animation.frameTicks() + 1);
}

Replay asReplay(const std::vector<TickInput>& route) {
  Replay replay;
  replay.level = "level1.inf";
  for (const TickInput& tick : route) replay.append(replayKeyText(tick.keys, tick.digit));
  return replay;
}

class TickHashes : public testing::Test {
 protected:
  void SetUp() override {
    tree.writeLevel("level1.inf", claimsBelowAPatrol().str());
    releaseAllKeys();
  }
  static std::unique_ptr<Game> startedGame() {
    auto game = std::make_unique<Game>(640, 480, 100);
    game->startLevel("level1.inf");
    return game;
  }
  GameTree tree;
};

TEST_F(TickHashes, AReplayChangedAtOneTickPartsFromTheProofsPlayAtThatTick) {
  auto game = startedGame();
  game->beginLife();
  Reachability search(*game);
  search.run();
  const ClearingResult clear = clearWithEnemies(*game, search);
  ASSERT_EQ(clear.end, ClearingResult::End::Cleared);
  ASSERT_EQ(clear.hashes.size(), clear.route.size());
  const int last = static_cast<int>(clear.route.size()) - 1;
  ASSERT_GT(last, 60);

  const struct Case {
    const char* what;
    int tick;  // changed after this tick; -1 for none
    std::function<void(Game&)> change;
  } cases[] = {
      {"nothing", -1, [](Game&) {}},
      {"the player a hair to the right", 5, [](Game& g) { g.player.x += 0.25f; }},
      {"the player's fall", 9, [](Game& g) { g.fallDistance += 1.0f; }},
      {"the enemy a pixel on", 12, [](Game& g) { g.enemyManager.enemies()[0].x += 1.0f; }},
      {"the enemy's animation", 30, [](Game& g) { nudgeAnimation(g.enemyManager.enemies()[0]); }},
      {"the gem gone", 2, [](Game& g) { g.itemManager.setPresent(0, false); }},
      {"the countdown a step down", 20, [](Game& g) { g.countdown -= 100; }},
      {"the score", 7, [](Game& g) { g.player.score += 5; }},
      {"the teleport cooldown", 40, [](Game& g) { g.teleportCooldownTicks += 1; }},
      {"the last tick", last, [](Game& g) { g.player.y -= 1.0f; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto played = startedGame();
    ReplayTrace trace;
    trace.hashes = true;
    trace.afterTick = [&](Game& g, int tick) {
      if (tick == c.tick) c.change(g);
    };
    const ReplayOutcome outcome = playReplay(*played, asReplay(clear.route), trace);
    EXPECT_EQ(firstDivergence(clear.hashes, outcome.hashes), c.tick);
  }
}

// Where one trail ends before the other, the plays part at the first tick
// only one of them has.
TEST(TickHashDivergence, NamesTheFirstTickTheTrailsDoNotShare) {
  const struct {
    HashTrail expected, played;
    int tick;
  } cases[] = {
      {{1, 2, 3}, {1, 2, 3}, -1}, {{1, 2, 3}, {1, 5, 3}, 1}, {{1, 2, 3}, {1, 2}, 2},
      {{1, 2}, {1, 2, 3}, 2},     {{}, {}, -1},              {{}, {4}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(firstDivergence(c.expected, c.played), c.tick);
}

}  // namespace
