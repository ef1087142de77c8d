// The engine's reader of recordings refuses damaged files with a reason
// and leaves the caller's recording as it was; the game refuses to play a
// recording whose level is not one it plays, or whose data has changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/Game.h"
#include "game/ReplayFile.h"
#include "tests/support/GameTree.h"
#include "tests/support/Headless.h"

namespace {

const char head[] = "pwe-replay 1\nlevel level1.inf\n";

TEST(ReplayFile, DamagedRecordingsAreRefusedSayingWhy) {
  const struct {
    const char* text;    // the whole file
    const char* reason;  // part of the message
  } cases[] = {
      {"", "is not a version 1 recording"},
      {"pwe-replay 2\nkeys\n1 -\n", "is not a version 1 recording"},
      {"recording 1\nkeys\n", "is not a version 1 recording"},
      {"pwe-replay 1\nlevel level1.inf\n", "no key section"},
      {"pwe-replay 1\nenemies\n", "unknown field 'enemies'"},
      {"pwe-replay 1\nkeys\n4 R 5 L\n", "unreadable key line"},
      {"pwe-replay 1\nkeys\n0 R\n", "a run of no ticks"},
      {"pwe-replay 1\nkeys\n-3 R\n", "a run of no ticks"},
      {"pwe-replay 1\nkeys\n4 R\nmany L\n", "unreadable key line"},
      {"pwe-replay 1\nkeys\n4\n", "unreadable key line"},
  };
  MediaTree scratch;
  for (const auto& c : cases) {
    scratch.writeText("bad.replay", c.text);
    Replay kept;
    kept.level = "level4.inf";
    kept.append("R");
    std::string error;
    EXPECT_FALSE(readReplay("bad.replay", kept, error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " gave: " << error;
    EXPECT_EQ(error.rfind("bad.replay", 0), 0u) << error;
    EXPECT_EQ(kept.level, "level4.inf") << c.text;
    EXPECT_EQ(kept.tickCount(), 1) << c.text;
  }
  std::string error;
  Replay none;
  EXPECT_FALSE(readReplay("missing.replay", none, error));
  EXPECT_EQ(error, "cannot open missing.replay");
}

TEST(ReplayFile, ARecordingIsPlayedOnlyOnTheDataItWasMadeFor) {
  MediaTree tree;
  tree.writeText("media/level1.inf", "100\n");
  tree.writeText("media/player.inf", "walk_left\n");
  Replay fits;
  fits.level = "level1.inf";
  fits.levelHash = fileHash("media/level1.inf");
  fits.playerHash = fileHash("media/player.inf");
  ASSERT_EQ(replayMismatch(fits), "");

  const struct {
    const char* level;   // the recording's level field
    bool otherLevel;     // its level hash of other bytes
    bool otherPlayer;    // its player hash of other bytes
    const char* reason;  // the whole refusal
  } cases[] = {
      {"level9.inf", false, false,
       "the recording's level 'level9.inf' is none of the levels level1.inf to level4.inf"},
      {"../media/level1.inf", false, false,
       "the recording's level '../media/level1.inf' is none of the levels level1.inf to "
       "level4.inf"},
      {"level1.inf", true, false, "media/level1.inf changed since this recording was made"},
      {"level1.inf", false, true, "media/player.inf changed since this recording was made"},
      {"level1.inf", true, true, "media/level1.inf changed since this recording was made"},
  };
  for (const auto& c : cases) {
    Replay replay = fits;
    replay.level = c.level;
    if (c.otherLevel) replay.levelHash = "0123456789abcdef";
    if (c.otherPlayer) replay.playerHash = "0123456789abcdef";
    EXPECT_EQ(replayMismatch(replay), c.reason) << c.level;
  }
  // A level of the sequence missing from the tree is a changed one.
  Replay absent = fits;
  absent.level = "level2.inf";
  EXPECT_EQ(replayMismatch(absent), "media/level2.inf changed since this recording was made");
}

// Each thing the format gives no meaning to is refused with its own words.
TEST(ReplayFile, KeysAndScoresWithoutAMeaningAreRefusedEachWithItsReason) {
  const struct {
    const char* text;    // after the level line
    const char* reason;  // the whole message after "bad.replay: "
  } cases[] = {
      {"keys\n4 RX\n", "unknown key letter 'X' in 'RX'"},
      {"keys\n4 R0\n", "the digit 0 chooses no teleporter in 'R0'"},
      {"keys\n4 12\n", "two teleporter numbers in '12'"},
      {"keys\n4 #5\n",
       "'#5' in '#5' is no teleporter number: '#' stands before 10 to 99, and 1 to 9 are "
       "written alone"},
      {"keys\n4 #100\n", "teleporter 100 in '#100' has no key: the numbers end at 99"},
      {"keys\n4 #32\n", "teleporter 32 in '#32' is chosen with Escape's key, which ends the game"},
      {"expect-score 99999999999999999999\nkeys\n4 R\n",
       "expect-score is no whole number from -2147483648 to 2147483647"},
      {"keys\n2000000000 R\n2000000000 L\n", "more ticks than a life can count"},
      {"enemies present\nkeys\n4 R\n", "unknown field 'enemies present'"},
      {"keys 4 R\n5 L\n", "'4 R' after 'keys': each run of keys has a line of its own"},
  };
  MediaTree scratch;
  for (const auto& c : cases) {
    scratch.writeText("bad.replay", std::string(head) + c.text);
    Replay kept;
    std::string error;
    EXPECT_FALSE(readReplay("bad.replay", kept, error)) << c.text;
    EXPECT_EQ(error, std::string("bad.replay: ") + c.reason) << c.text;
  }
}

// Every teleporter number a key chooses is written, and played as its own
// key, never as its digits' keys.
TEST(ReplayFile, EveryTeleporterNumberAKeyChoosesReadsBackAndPlays) {
  const struct {
    unsigned bits;
    int digit;
    const char* text;
  } cases[] = {
      {replayRight, 1, "R1"},
      {replayLeft | replayJump, 10, "LJ#10"},
      {replayRight, 12, "R#12"},
      {0, Game::lastDigitNumber, "#99"},
  };
  GameTree tree;
  Game game(640, 480, 100);
  for (const auto& c : cases) {
    const std::string text = replayKeyText(c.bits, c.digit);
    EXPECT_EQ(text, c.text);
    applyKeys(game, text);
    EXPECT_TRUE(game.input.down(Game::firstDigitCode + c.digit)) << text;
    for (int n = 1; n <= 9; ++n) {
      EXPECT_EQ(game.input.down(Game::firstDigitCode + n), n == c.digit) << text << " " << n;
    }
  }
}

// A file that cannot be a recording is refused by its size before it is
// read, and a FIFO is never waited on.
TEST(ReplayFile, WhatCannotBeARecordingIsRefusedUnread) {
  MediaTree scratch;
  scratch.writeText("huge.replay", "");
  std::filesystem::resize_file("huge.replay", 1ull << 30);  // sparse: nothing is written
  scratch.makeFifo("pipe.replay");
  const std::string bound = std::to_string(maxReplayBytes);
  const struct {
    const char* path;
    std::string error;
  } cases[] = {
      {"huge.replay", "huge.replay is longer than " + bound + " bytes, which no recording is"},
      {"pipe.replay", "pipe.replay is not a regular file"},
  };
  for (const auto& c : cases) {
    Replay replay;
    std::string error;
    EXPECT_FALSE(readReplay(c.path, replay, error));
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
