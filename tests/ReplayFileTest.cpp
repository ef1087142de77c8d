// The engine's reader of recordings refuses damaged files with a reason
// and leaves the caller's recording as it was; the game refuses to play a
// recording whose level is not one it plays, or whose data has changed.
#include <gtest/gtest.h>

#include <string>

#include "game/ReplayFile.h"
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

}  // namespace
