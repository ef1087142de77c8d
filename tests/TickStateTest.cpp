// A Game given a TickState back runs on exactly as it ran from the moment
// the state was taken, through walking, climbing, a slide, jumps and a
// teleport: what the reachability search stands on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "authoring/Replay.h"
#include "authoring/TickState.h"
#include "game/Game.h"
#include "player/KeyRelease.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlayField.h"

namespace {

std::string describe(const TickState& s) {
  return std::to_string(s.x) + ", " + std::to_string(s.y) + " jump " +
         std::to_string(s.jumpState) + " flags " + std::to_string(s.flags) + " animation " +
         std::to_string(s.animation) + " ladder " + std::to_string(s.ladder);
}

TEST(TickStates, ARestoredStateRunsOnAsTheStraightRunDid) {
  releaseAllKeys();
  GameTree tree;
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  for (int x = 192; x < 320; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 236 brick brick_clear 1 10");
  }
  level.ladders.push_back("200 236 64 rungs");
  level.chutes.push_back("300 236 64 16 1 step");
  level.teleporters = {"40 268 pad pad_cool 1", "500 268 pad pad_cool 2"};
  tree.writeLevel("level1.inf", level.str());
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  game->beginLife();

  // Walk to the ladder, climb it, walk into the chute, jump, walk back to
  // the first pad, teleport and jump again.
  const std::vector<std::pair<int, std::string>> runs = {
      {54, "R"}, {40, "U"}, {60, "R"}, {40, "-"}, {30, "L"}, {1, "RJ"}, {45, "-"},
      {200, "L"}, {18, "R"}, {1, "2"}, {5, "-"}, {20, "R"}, {1, "J"}, {30, "-"}};
  std::vector<std::string> keys;
  for (const auto& run : runs) keys.insert(keys.end(), run.first, run.second);

  TickStates states(*game);
  std::vector<TickState> straight{states.capture()};
  bool climbed = false, slid = false, jumped = false, teleported = false, pressed = false;
  for (const std::string& held : keys) {
    applyKeys(*game, held);
    game->tick();
    const TickState s = states.capture();
    climbed = climbed || s.animation == Player::climb;
    slid = slid || s.has(TickState::onChute);
    jumped = jumped || s.jumpState != Player::notJumping;
    teleported = teleported || s.has(TickState::cooldownActive);
    pressed = pressed || s.pendingKeys[0] != 0;
    straight.push_back(s);
  }
  ASSERT_TRUE(climbed && slid && jumped && teleported && pressed)
      << climbed << slid << jumped << teleported << pressed;

  // From every seventh tick on, with the Game left wherever the last run
  // ended, the states follow the straight run bit for bit. The countdown
  // is no part of a state; it is set back so that it never ends a life.
  for (size_t from = 0; from < keys.size(); from += 7) {
    game->countdown = game->level.countdown_start;
    game->lifeTicks = 0;
    states.restore(straight[from]);
    for (size_t t = from; t < keys.size(); ++t) {
      applyKeys(*game, keys[t]);
      game->tick();
      const TickState now = states.capture();
      ASSERT_TRUE(now == straight[t + 1])
          << "restored at tick " << from << ", tick " << t + 1 << ": " << describe(now)
          << " instead of " << describe(straight[t + 1]);
    }
  }
  releaseAllKeys(*game);
}

// Everything TickStates takes of a Game.
struct Taken {
  TickState tick;
  std::vector<EnemyState> enemies;
  WorldState world;
  bool operator==(const Taken& o) const {
    return tick == o.tick && enemies == o.enemies && world == o.world;
  }
};

Taken take(const TickStates& states, const Game& game) {
  Taken taken{states.capture(), {}, states.captureWorld()};
  for (const Enemy& enemy : game.enemyManager.enemies()) {
    taken.enemies.push_back(TickStates::captureEnemy(enemy));
  }
  return taken;
}

void giveBack(const TickStates& states, Game& game, const Taken& taken) {
  states.restore(taken.tick);
  for (size_t i = 0; i < taken.enemies.size(); ++i) {
    TickStates::restoreEnemy(game.enemyManager.enemies()[i], taken.enemies[i]);
  }
  states.restoreWorld(taken.world);
}

// Each captured field changed on its own: the capture sees the change and
// the restore undoes it, so no field is taken without being given back.
TEST(TickStates, GiveBackEveryFieldTheyTake) {
  releaseAllKeys();
  GameTree tree;
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.ladders.push_back("200 236 64 rungs");
  level.enemies = {"400 299 0 300 600 1.5 1 0 blob 120 50"};
  level.items = {"20 290 gem 25"};
  level.teleporters = {"40 268 pad pad_cool 1", "500 268 pad pad_cool 2"};
  tree.writeLevel("level1.inf", level.str());
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel("level1.inf");
  game->beginLife();
  const TickStates states(*game);
  Player& p = game->player;
  Enemy& enemy = game->enemyManager.enemies()[0];

  const std::vector<std::pair<std::string, std::function<void(Game&)>>> changes = {
      {"x", [&](Game&) { p.setPosition(p.x + 3, p.y); }},
      {"y", [&](Game&) { p.setPosition(p.x, p.y - 5); }},
      {"width", [&](Game&) { p.width += 2; }},
      {"slide", [&](Game&) { p.setSlideVector(2, 1); }},
      {"facing", [&](Game&) { p.setFacing(1 - p.facing); }},
      {"climb direction", [&](Game&) { p.setClimbDirection(1); }},
      {"jump state", [&](Game&) { p.setJumpState(Player::risingLeft); }},
      {"falling", [&](Game&) { p.falling = !p.falling; }},
      {"climb step", [&](Game&) { p.climbStep = !p.climbStep; }},
      {"on chute", [&](Game&) { p.onChute = !p.onChute; }},
      {"control", [&](Game&) { p.hasControl = !p.hasControl; }},
      {"animation", [&](Game&) { p.sprite.setAnimation(Player::climb); }},
      {"animation point", [&](Game&) { p.sprite.seek(Player::walkLeft, 2, 1); }},
      {"ladder", [&](Game& g) { p.currentLadder = g.ladderManager->ladders()[0]; }},
      {"fall distance", [](Game& g) { g.fallDistance += 4; }},
      {"jump apex", [](Game& g) { g.jumpApexY -= 6; }},
      {"slide top", [](Game& g) { g.slideTop += 7; }},
      {"slide length", [](Game& g) { g.slideLength += 8; }},
      {"cooldown ticks", [](Game& g) { g.teleportCooldownTicks += 9; }},
      {"cooldown", [](Game& g) { g.teleportCooldownActive = !g.teleportCooldownActive; }},
      {"key release", [](Game&) { setKeyReleasePending(Game::firstDigitCode + 1, true); }},
      {"enemy alive", [&](Game&) { enemy.alive = false; }},
      {"enemy falling", [&](Game&) { enemy.falling = true; }},
      {"enemy x", [&](Game&) { enemy.x += 1.5f; }},
      {"enemy y", [&](Game&) { enemy.y -= 2; }},
      {"enemy direction", [&](Game&) { enemy.direction = 1 - enemy.direction; }},
      {"enemy state", [&](Game&) { enemy.state = 1; }},
      {"enemy animation", [&](Game&) { enemy.setAnimation(3); }},
      {"enemy animation point", [&](Game&) { enemy.sprite.seek(1, 1, 2); }},
      {"item", [](Game& g) { g.itemManager.setPresent(0, false); }},
      {"countdown", [](Game& g) { g.countdown -= 11; }},
      {"life ticks", [](Game& g) { g.lifeTicks += 12; }},
      {"ticks since item", [](Game& g) { g.ticksSinceItem += 13; }},
      {"score", [&](Game&) { p.score += 14; }},
      {"lives", [&](Game&) { p.setLives(p.lives + 1); }},
      {"claims", [](Game& g) { g.floorManager.claimAt(330, 299); }},
  };
  for (const auto& [name, change] : changes) {
    const Taken before = take(states, *game);
    change(*game);
    EXPECT_FALSE(take(states, *game) == before) << name << " is not captured";
    giveBack(states, *game, before);
    EXPECT_TRUE(take(states, *game) == before) << name << " is not given back";
  }
  const Taken before = take(states, *game);
  for (const auto& change : changes) change.second(*game);
  giveBack(states, *game, before);
  EXPECT_TRUE(take(states, *game) == before) << "all at once";
  releaseAllKeys(*game);
}

}  // namespace
