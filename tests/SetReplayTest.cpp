// The second shipped set is winnable and finds itself again: each recorded
// route (written by pwe-check --route, with the enemies) clears its level
// of the set laid over the shipped tree through the real tick, and a
// recording names its set so that it is found from wherever it is played.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "authoring/TickState.h"
#include "game/Game.h"
#include "shell/LevelSet.h"
#include "shell/MediaOverlay.h"
#include "shell/ReplayWatch.h"
#include "tests/support/Headless.h"
#include "tests/support/RepositoryRoot.h"
#include "tests/support/Replay.h"

namespace fs = std::filesystem;

namespace {

constexpr int shippedSetLevels = 4;

// Everything the Game's tick changes, hashed at each route's clearing tick
// (TickStates::hash), by level: a play that diverged ends elsewhere.
const std::uint64_t endHashes[shippedSetLevels] = {0xf23f16a3278b6645, 0x41b10cdab388e0df,
                                                   0x64692f33bba4760e, 0x4c8a13461a332ab6};

std::string recordingOf(const std::string& level) {
  return "tests/replays/moss/" + level.substr(0, level.find('.')) + ".replay";
}

// Runs in the repository root, with the set laid over media/.
class ShippedSet : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(enterRepositoryRoot());
    layMediaSet(fs::absolute("sets/moss").string());
    const std::string problem = readLevelSet(mediaSetDirectory(), set);
    ASSERT_EQ(problem, "");
    ASSERT_EQ(set.levels.size(), static_cast<std::size_t>(shippedSetLevels));
  }
  void TearDown() override { liftMediaSet(); }
  LevelSet set;
};

TEST_P(ShippedSet, RecordedRouteClearsTheLevelWithTheEnemies) {
  const std::string level = set.levels[GetParam()];
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay(recordingOf(level), replay, error)) << error;
  EXPECT_EQ(replay.level, level);
  EXPECT_FALSE(replay.enemiesAbsent);
  const std::string stale = staleReplayReason(replay);
  ASSERT_EQ(stale, "");
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel(level);
  const ReplayOutcome outcome = playReplay(*game, replay);
  EXPECT_TRUE(outcome.cleared) << game->floorManager.tilesLeft() << " tiles left";
  EXPECT_EQ(outcome.livesLost, 0);
  EXPECT_EQ(outcome.scoreGained, replay.expectScore);
  EXPECT_EQ(outcome.ticks, replay.tickCount());
  EXPECT_EQ(TickStates(*game).hash(), endHashes[GetParam()]) << std::hex << TickStates(*game).hash();
  EXPECT_GT(game->countdown, 0);
}

// Tick by tick: a play that diverges is named at the tick it starts at.
TEST_P(ShippedSet, EveryTickStandsWhereTheKeptTrailSays) {
  const std::string level = set.levels[GetParam()];
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay(recordingOf(level), replay, error)) << error;
  ASSERT_EQ(staleReplayReason(replay), "");
  auto game = std::make_unique<Game>(640, 480, 100);
  game->startLevel(level);
  ReplayTrace trace;
  trace.hashes = true;
  const ReplayOutcome outcome = playReplay(*game, replay, trace);
  ASSERT_EQ(outcome.hashes.size(), static_cast<std::size_t>(replay.tickCount()));
  EXPECT_EQ(outcome.hashes.back(), endHashes[GetParam()]);
  EXPECT_EQ(hashTrailDivergence(recordingOf(level), outcome.hashes), "");
}

INSTANTIATE_TEST_SUITE_P(Moss, ShippedSet, testing::Range(0, shippedSetLevels));

// Played from the repository, the recorded folder holds the level; played
// elsewhere (the folder gone), the set of that name beside the tree does;
// a recording kept beside its levels finds them there.
TEST_F(ShippedSet, ARecordingFindsItsSetWhereverItIsPlayed) {
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay(recordingOf(set.levels[0]), replay, error)) << error;
  EXPECT_EQ(fs::canonical(recordedSetFolder(replay, recordingOf(set.levels[0]), "media")),
            fs::canonical("sets/moss"));
  replay.set = "/nowhere/moss";
  EXPECT_EQ(fs::canonical(recordedSetFolder(replay, "elsewhere.replay", "media")),
            fs::canonical("sets/moss"));
  replay.set = "/nowhere/gone";
  EXPECT_EQ(recordedSetFolder(replay, "sets/moss/kept.replay", "media"), "sets/moss");
  EXPECT_EQ(recordedSetFolder(replay, "elsewhere.replay", "media"), "");
}

}  // namespace
