// The shipped levels are winnable: each recorded route, fed key by key
// through the real game tick, clears its level without losing a life, and
// the four recordings played in the level order on one Game make a whole
// round that starts again with the first level.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "authoring/TickState.h"
#include "game/Game.h"
#include "shell/LevelSequence.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"
#include "tests/support/RepositoryRoot.h"
#include "tests/support/Replay.h"

namespace {

std::string replayPath(const std::string& level) {
  return "tests/replays/" + level.substr(0, level.find('.')) + ".replay";
}

// Runs in the repository root, where media/ and tests/replays/ are.
class ShippedReplays : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(enterRepositoryRoot());
  }

  // Reads the recording of a level and refuses one made for other data,
  // saying which file changed.
  static Replay load(const std::string& level) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(readReplay(replayPath(level), replay, error)) << error;
    EXPECT_EQ(replay.level, level);
    const std::string stale = staleReplayReason(replay);
    EXPECT_TRUE(stale.empty()) << stale;
    return replay;
  }

  static std::unique_ptr<Game> newGame() { return std::make_unique<Game>(640, 480, 100); }
};

class EachLevel : public ShippedReplays, public testing::WithParamInterface<const char*> {};

// Everything the Game's tick changes, hashed at each route's clearing tick
// (TickStates::hash), by level: a play that diverged anywhere, however
// slightly, ends elsewhere.
const std::map<std::string, std::uint64_t> endHashes = {
    {"level1.inf", 0xcd8092f63c2182dc}, {"level2.inf", 0xfffe53051c8fe2fc},
    {"level3.inf", 0xcae487bf1019bac0}, {"level4.inf", 0xcef2ec4a7bf15929}};

TEST_P(EachLevel, RecordedRouteClearsTheLevelWithTimeToSpare) {
  const std::string level = GetParam();
  const Replay replay = load(level);
  if (HasFailure()) return;
  auto game = newGame();
  game->startLevel(level);
  const ReplayOutcome outcome = playReplay(*game, replay);

  EXPECT_TRUE(outcome.cleared) << game->floorManager.tilesLeft() << " tiles left";
  EXPECT_EQ(outcome.livesLost, 0);
  EXPECT_EQ(outcome.scoreGained, replay.expectScore);
  // The recorder stops at the clearing tick, so the replay must clear on
  // its last tick: clearing earlier or later means the play diverged.
  EXPECT_EQ(outcome.ticks, replay.tickCount());
  EXPECT_EQ(TickStates(*game).hash(), endHashes.at(level)) << std::hex << TickStates(*game).hash();
  EXPECT_EQ(game->floorManager.tilesLeft(), 0);
  // A fair countdown: the route leaves more than half of it unused. The
  // countdown loses 100 every 3 seconds and one tick.
  const int countdownTicks = game->level.countdown_start / 100 * (3 * 100 + 1);
  EXPECT_LT(outcome.ticks * 2, countdownTicks) << "countdown " << game->level.countdown_start;
  EXPECT_GT(game->countdown, game->level.countdown_start / 2);
}

// Tick by tick: a play that diverges is named at the tick it starts at,
// not only at the end.
TEST_P(EachLevel, EveryTickStandsWhereTheKeptTrailSays) {
  const std::string level = GetParam();
  const Replay replay = load(level);
  if (HasFailure()) return;
  auto game = newGame();
  game->startLevel(level);
  ReplayTrace trace;
  trace.hashes = true;
  const ReplayOutcome outcome = playReplay(*game, replay, trace);
  ASSERT_EQ(outcome.hashes.size(), static_cast<std::size_t>(replay.tickCount()));
  EXPECT_EQ(outcome.hashes.back(), endHashes.at(level));
  EXPECT_EQ(hashTrailDivergence(replayPath(level), outcome.hashes), "");
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, EachLevel, testing::ValuesIn(levelFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string("level") + std::to_string(info.index + 1);
                         });

// One Game through the level order and on to the first level again, as the
// level sequence plays them: score accumulates, lives are kept, and each
// level starts afresh whatever the last one left behind.
TEST_F(ShippedReplays, AWholeRoundCarriesScoreAndLivesAndWrapsToTheFirstLevel) {
  auto game = newGame();
  const int lives = game->player.lives;
  int expectedScore = game->player.score;
  for (int n = 0; n <= 4; ++n) {
    const std::string level = levelFiles[n % 4];
    SCOPED_TRACE("round position " + std::to_string(n + 1) + ": " + level);
    const Replay replay = load(level);
    if (HasFailure()) return;
    game->startLevel(level);
    EXPECT_FALSE(game->levelDone);
    const ReplayOutcome outcome = playReplay(*game, replay);
    expectedScore += replay.expectScore;
    EXPECT_TRUE(outcome.cleared);
    EXPECT_TRUE(game->levelDone);
    EXPECT_FALSE(game->quit);
    EXPECT_EQ(outcome.ticks, replay.tickCount());
    EXPECT_EQ(game->player.score, expectedScore);
    EXPECT_EQ(game->player.lives, lives);
  }
}

// One reader and one writer: what the writer makes of a recording the
// reader took in is that recording again, byte for byte.
TEST_P(EachLevel, TheRecordingIsWrittenBackByteForByte) {
  const std::string path = replayPath(GetParam());
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay(path, replay, error)) << error;
  EXPECT_FALSE(replay.enemiesAbsent);
  EXPECT_EQ(replayText(replay), readFile(std::string(std::getenv("PWE_SOURCE_DIR")) + "/" + path));
}

TEST(ReplayFormat, ARecordingWithoutEnemiesSaysSoAndReadsBack) {
  MediaTree scratch;
  Replay replay;
  replay.level = "level3.inf";
  replay.expectScore = 70;
  replay.enemiesAbsent = true;
  replay.append("LJ");
  replay.append("LJ");
  replay.append(replayKeyText(replayRight | replayUp, 0));
  replay.append(replayKeyText(0, 2));
  scratch.writeText("route.replay", replayText(replay));
  EXPECT_NE(readFile("route.replay").find("expect-score 70\nenemies absent\nkeys\n2 LJ\n1 RU\n1 2\n"),
            std::string::npos)
      << readFile("route.replay");
  Replay back;
  std::string error;
  ASSERT_TRUE(readReplay("route.replay", back, error)) << error;
  EXPECT_TRUE(back.enemiesAbsent);
  EXPECT_EQ(back.tickCount(), 4);
  EXPECT_EQ(back.keysAt(3), "2");

  scratch.writeText("odd.replay", "pwe-replay 1\nenemies present\nkeys\n");
  EXPECT_FALSE(readReplay("odd.replay", back, error));
  EXPECT_NE(error.find("unknown field"), std::string::npos) << error;
}

// Every key state the format names, and the digits it has no letter for.
TEST(ReplayFormat, KeyTextNamesHeldKeysInOneOrder) {
  const struct {
    unsigned keys;
    int digit;
    const char* text;
  } cases[] = {
      {0, 0, "-"},
      {replayJump | replayLeft, 0, "LJ"},
      {replayLeft | replayRight | replayDown, 0, "LRD"},
      {replayUp, 9, "U9"},
      {0, 1, "1"},
      {replayRight, Game::lastDigitNumber + 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(replayKeyText(c.keys, c.digit), c.text) << c.keys << " " << c.digit;
  }
}

// The guard that keeps a stale recording from passing for an engine fault.
TEST(ReplayStaleness, NamesTheChangedFileAndHowToRecordAgain) {
  MediaTree tree;
  tree.writeText("media/level2.inf", "100\n");
  tree.writeText("media/player.inf", "walk_left\n");
  Replay replay;
  replay.level = "level2.inf";
  replay.levelHash = fileHash("media/level2.inf");
  replay.playerHash = fileHash("media/player.inf");
  EXPECT_EQ(staleReplayReason(replay), "");

  tree.writeText("media/level2.inf", "200\n");
  const std::string levelChanged = staleReplayReason(replay);
  EXPECT_NE(levelChanged.find("media/level2.inf changed"), std::string::npos) << levelChanged;
  EXPECT_NE(levelChanged.find("tests/replays/README.md"), std::string::npos) << levelChanged;

  replay.levelHash = fileHash("media/level2.inf");
  tree.writeText("media/player.inf", "walk_right\n");
  const std::string playerChanged = staleReplayReason(replay);
  EXPECT_NE(playerChanged.find("media/player.inf changed"), std::string::npos) << playerChanged;

  tree.remove("media/level2.inf");
  EXPECT_NE(staleReplayReason(replay), "");
}

}  // namespace
