// A Game given a TickState back runs on exactly as it ran from the moment
// the state was taken, through walking, climbing, a slide, jumps and a
// teleport: what the reachability search stands on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "authoring/Replay.h"
#include "authoring/TickState.h"
#include "game/Game.h"
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

}  // namespace
