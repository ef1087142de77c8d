#include "game/LevelData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "game/LevelFields.h"
#include "shell/Log.h"
#include "tests/support/Headless.h"

namespace {

// Every field of a LevelData in one text, so whole loads can be compared
// and a failing comparison shows what differs.
std::string describe(const LevelData& d) {
  std::ostringstream out;
  out << "header " << d.countdown_start << ' ' << d.countdown_x << ' ' << d.countdown_y << ' '
      << d.countdown_align << ' ' << d.score_x << ' ' << d.score_y << ' ' << d.score_align << ' '
      << d.pip_offset << ' ' << d.pip_spacing << ' ' << d.start_x << ' ' << d.start_y << ' '
      << d.start_animation << '\n';
  out << "counts " << d.tileCount << ' ' << d.ladderCount << ' ' << d.chuteCount << ' '
      << d.enemyCount << ' ' << d.itemCount << ' ' << d.teleporterCount << '\n';
  for (const TileSpec& t : d.tiles) {
    out << "tile " << t.x << ' ' << t.y << " [" << t.tile_name << "] [" << t.cleared_name << "] "
        << t.claimable << ' ' << t.points << '\n';
  }
  for (const LadderSpec& l : d.ladders) {
    out << "ladder " << l.x << ' ' << l.y << ' ' << l.height << " [" << l.name << "]\n";
  }
  for (const ChuteSpec& c : d.chutes) {
    out << "chute " << c.x << ' ' << c.y << ' ' << c.height << ' ' << c.dx << ' ' << c.direction
        << " [" << c.name << "]\n";
  }
  for (const EnemySpec& e : d.enemies) {
    out << "enemy " << e.x << ' ' << e.y << ' ' << e.direction << ' ' << e.min_x << ' ' << e.max_x
        << ' ' << e.speed << ' ' << e.changes << ' ' << e.state << " [" << e.name << "] "
        << e.safe_time << ' ' << e.points << '\n';
  }
  for (const ItemSpec& i : d.items) {
    out << "item " << i.x << ' ' << i.y << " [" << i.type << "] " << i.points << '\n';
  }
  for (const TeleporterSpec& t : d.teleporters) {
    out << "teleporter " << t.x << ' ' << t.y << " [" << t.name << "] [" << t.cooldown_name
        << "] " << t.number << '\n';
  }
  return out.str();
}

// One record of every kind, laid out one record per line.
const char* fullLevel =
    "5000 10 20 1\n"
    "600 20 2\n"
    "8 12\n"
    "320 400 3\n"
    "2\n"
    "100 416 brick brick_done 1 10\n"
    "132 416 stone stone 0 0\n"
    "1\n"
    "200 300 116 rope\n"
    "1\n"
    "400 200 64 8 1 slide\n"
    "1\n"
    "300 416 1 250 500 1.5 1 0 blob 300 200\n"
    "1\n"
    "50 380 gem 75\n"
    "2\n"
    "10 100 pad pad_cool 1\n"
    "600 100 pad pad_cool 2\n";

const char* fullLevelDescription =
    "header 5000 10 20 1 600 20 2 8 12 320 400 3\n"
    "counts 2 1 1 1 1 2\n"
    "tile 100 416 [brick] [brick_done] 1 10\n"
    "tile 132 416 [stone] [stone] 0 0\n"
    "ladder 200 300 116 [rope]\n"
    "chute 400 200 64 8 1 [slide]\n"
    "enemy 300 416 1 250 500 1.5 1 0 [blob] 300 200\n"
    "item 50 380 [gem] 75\n"
    "teleporter 10 100 [pad] [pad_cool] 1\n"
    "teleporter 600 100 [pad] [pad_cool] 2\n";

int loadText(LevelData& data, const std::string& text) {
  MediaTree tree;
  tree.writeText("media/level.inf", text);
  return data.load("level.inf");
}

TEST(LevelDataLoad, ReadsEveryFieldOfEveryKind) {
  LevelData data;
  ASSERT_EQ(loadText(data, fullLevel), 0);
  EXPECT_EQ(describe(data), fullLevelDescription);
}

TEST(LevelDataLoad, LogsEveryStepWithItsValues) {
  std::vector<std::string> lines;
  log_capture(&lines);
  LevelData data;
  int result = loadText(data, fullLevel);
  log_capture(nullptr);
  ASSERT_EQ(result, 0);
  const std::vector<std::string> expected = {
      "Loading level data from media/level.inf",
      "Reading countdown information",
      "Reading score information",
      "Reading life pip information",
      "Reading player starting position",
      "Reading number of tiles in level.",
      "There are 2 tiles.",
      "Reading and setting data for tile 0.",
      "Reading and setting data for tile 1.",
      "Reading number of ladders in level.",
      "There are 1 ladders.",
      "Reading and setting data for ladder 0.",
      "x = 200, y = 300, height = 116, name = rope.",
      "Reading number of chutes in level.",
      "There are 1 chutes.",
      "Reading and setting data for chute 0.",
      "x = 400, y = 200, height = 64, dx = 8, direction = 1, name = slide.",
      "Reading number of enemies in level.",
      "There are 1 enemies.",
      "Reading and setting data for enemy 0.",
      "x = 300, y = 416, direction = 1, min_x = 250, max_x = 500, speed = 1.500, changes = 1, "
      "state = 0, name = blob, safe_time = 300.",
      "Reading number of items in level.",
      "There are 1 items.",
      "Reading and setting data for item 0.",
      "x = 50, y = 380, type = gem, points = 75.",
      "Reading number of teleporters in level.",
      "There are 2 teleporters.",
      "Reading and setting data for teleporter 0.",
      "x = 10, y = 100, name = pad, number = 1.",
      "Reading and setting data for teleporter 1.",
      "x = 600, y = 100, name = pad, number = 2.",
  };
  EXPECT_EQ(lines, expected);
}

TEST(LevelDataLoad, LayoutOfTokensDoesNotMatter) {
  // The same tokens packed onto one line, and spread one per line with tabs.
  std::string packed = fullLevel;
  for (char& c : packed) {
    if (c == '\n') c = ' ';
  }
  std::string spread;
  for (char c : std::string(fullLevel)) spread += (c == ' ') ? std::string("\n\t ") : std::string(1, c);

  for (const std::string& text : {packed, spread}) {
    LevelData data;
    ASSERT_EQ(loadText(data, text), 0);
    EXPECT_EQ(describe(data), fullLevelDescription);
  }
}

TEST(LevelDataLoad, ZeroCountGivesEmptyListAndNextTokenIsNextCount) {
  LevelData data;
  ASSERT_EQ(loadText(data, "1 2 3 4 5 6 7 8 9 10 11 12  0  0  1 5 6 7 8 1 slide  0 0 0 0"), 0);
  EXPECT_EQ(describe(data),
            "header 1 2 3 4 5 6 7 8 9 10 11 12\n"
            "counts 0 0 1 0 0 0\n"
            "chute 5 6 7 8 1 [slide]\n");
}

struct SpeedCase {
  const char* token;
  float speed;
};

TEST(LevelDataLoad, SpeedAcceptsFractionsAndWholeNumbers) {
  const SpeedCase cases[] = {{"1.5", 1.5f}, {"2", 2.0f}, {"0.75", 0.75f}};
  for (const SpeedCase& c : cases) {
    LevelData data;
    std::string text = std::string("0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 10 20 0 5 50 ") + c.token +
                       " 1 0 blob 30 40 0 0";
    ASSERT_EQ(loadText(data, text), 0) << c.token;
    ASSERT_EQ(data.enemies.size(), 1u) << c.token;
    EXPECT_EQ(data.enemies[0].speed, c.speed) << c.token;
    // The fields after the speed are read from the right tokens.
    EXPECT_EQ(data.enemies[0].changes, 1) << c.token;
    EXPECT_EQ(data.enemies[0].name, "blob") << c.token;
    EXPECT_EQ(data.enemies[0].points, 40) << c.token;
  }
}

TEST(LevelDataLoad, FractionInIntegerFieldLeavesTheRestForAFollowingName) {
  LevelData data;
  ASSERT_EQ(loadText(data, "0 0 0 0 0 0 0 0 0 0 0 0  0  1 200 300 2.5 rope  0 0 0 0"), 0);
  ASSERT_EQ(data.ladders.size(), 1u);
  EXPECT_EQ(data.ladders[0].height, 2);
  EXPECT_EQ(data.ladders[0].name, ".5");
  // "rope" is then taken as the chute count and fails: the counts after it
  // keep their zeros.
  EXPECT_EQ(data.chuteCount, 0);
  EXPECT_TRUE(data.chutes.empty());
}

TEST(LevelDataLoad, FractionBeforeAnIntegerFailsThatReadAndEveryLaterOne) {
  LevelData data;
  ASSERT_EQ(loadText(data, fullLevel), 0);
  // countdown_start reads 2; ".5" cannot start countdown_x, and from then on
  // nothing is read: the previous level's header and counts stay, and every
  // list holds default records.
  ASSERT_EQ(loadText(data, "2.5 70 80 0 1 2 3 4 5 6 7 8 0 0 0 0 0 0"), 0);
  EXPECT_EQ(describe(data),
            "header 2 10 20 1 600 20 2 8 12 320 400 3\n"
            "counts 2 1 1 1 1 2\n"
            "tile 0 0 [] [] 0 0\n"
            "tile 0 0 [] [] 0 0\n"
            "ladder 0 0 0 []\n"
            "chute 0 0 0 0 0 []\n"
            "enemy 0 0 0 0 0 0 0 0 [] 0 0\n"
            "item 0 0 [] 0\n"
            "teleporter 0 0 [] [] 0\n"
            "teleporter 0 0 [] [] 0\n");
}

TEST(LevelDataLoad, FileEndingAfterStartPositionKeepsCountsWithDefaultRecords) {
  const char* truncated = "9 8 7 6 5 4 3 2 1 11 22 33";

  LevelData fresh;
  ASSERT_EQ(loadText(fresh, truncated), 0);
  EXPECT_EQ(describe(fresh), "header 9 8 7 6 5 4 3 2 1 11 22 33\ncounts 0 0 0 0 0 0\n");

  LevelData reloaded;
  ASSERT_EQ(loadText(reloaded, fullLevel), 0);
  ASSERT_EQ(loadText(reloaded, truncated), 0);
  EXPECT_EQ(describe(reloaded),
            "header 9 8 7 6 5 4 3 2 1 11 22 33\n"
            "counts 2 1 1 1 1 2\n"
            "tile 0 0 [] [] 0 0\n"
            "tile 0 0 [] [] 0 0\n"
            "ladder 0 0 0 []\n"
            "chute 0 0 0 0 0 []\n"
            "enemy 0 0 0 0 0 0 0 0 [] 0 0\n"
            "item 0 0 [] 0\n"
            "teleporter 0 0 [] [] 0\n"
            "teleporter 0 0 [] [] 0\n");
}

TEST(LevelDataLoad, ImpossibleCountsRejectTheFileAndChangeNothing) {
  // The bad count sits in the enemy position, after a header and lists that
  // would otherwise have been read.
  const char* badCounts[] = {"-1", "-2147483648", "10001", "1000000000"};
  for (const char* count : badCounts) {
    LevelData data;
    ASSERT_EQ(loadText(data, fullLevel), 0);
    std::vector<std::string> lines;
    log_capture(&lines);
    int result = loadText(data, std::string("1 1 1 1 1 1 1 1 1 1 1 1 0 0 0 ") + count + " 0 0");
    log_capture(nullptr);
    EXPECT_EQ(result, -1) << count;
    EXPECT_EQ(describe(data), fullLevelDescription) << count;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(),
              std::string("Level rejected: ") + count + " enemies is outside 0 to 10000.");
  }
}

TEST(LevelDataLoad, CountAtTheBoundIsAccepted) {
  LevelData data;
  ASSERT_EQ(loadText(data, "0 0 0 0 0 0 0 0 0 0 0 0 10000"), 0);
  EXPECT_EQ(data.tileCount, 10000);
  EXPECT_EQ(data.tiles.size(), 10000u);
}

// fullLevel with its token at index `token` (counting from 0) replaced.
std::string fullLevelWith(size_t token, const std::string& value) {
  std::istringstream in(fullLevel);
  std::string text;
  std::string word;
  for (size_t i = 0; in >> word; ++i) text += (i == token ? value : word) + " ";
  return text;
}

// Numbers only ever compared load at any value; those positions, sizes and
// scores are computed from are held within a million either way.
TEST(LevelDataLoad, OnlyNumbersThatEnterArithmeticAreBounded) {
  struct Case {
    const char* field;
    size_t token;        // index of the token in fullLevel
    const char* value;
    const char* result;  // a line of the loaded level, or the log line refusing it
  };
  const Case cases[] = {
      {"countdown_align", 3, "2000000", "header 5000 10 20 2000000 600 20 2 8 12 320 400 3"},
      {"score_align", 6, "-2147483648", "header 5000 10 20 1 600 20 -2147483648 8 12 320 400 3"},
      {"start_animation", 11, "2000000", "header 5000 10 20 1 600 20 2 8 12 320 400 2000000"},
      {"claimable", 17, "2147483647", "tile 100 416 [brick] [brick_done] 2147483647 10"},
      {"chute direction", 35, "-2000000", "chute 400 200 64 8 -2000000 [slide]"},
      {"enemy direction", 40, "2000000", "enemy 300 416 2000000 250 500 1.5 1 0 [blob] 300 200"},
      {"changes", 44, "2000000", "enemy 300 416 1 250 500 1.5 2000000 0 [blob] 300 200"},
      {"state", 45, "-2000000", "enemy 300 416 1 250 500 1.5 1 -2000000 [blob] 300 200"},
      {"safe_time", 47, "2147483647", "enemy 300 416 1 250 500 1.5 1 0 [blob] 2147483647 200"},
      {"teleporter number", 59, "2000000", "teleporter 10 100 [pad] [pad_cool] 2000000"},
      {"enemy x at the bound", 38, "1000000", "enemy 1000000 416 1 250 500 1.5 1 0 [blob] 300 200"},
      {"speed at the bound", 43, "1000000", "enemy 300 416 1 250 500 1e+06 1 0 [blob] 300 200"},
      {"speed at the other bound", 43, "-1e6", "enemy 300 416 1 250 500 -1e+06 1 0 [blob] 300 200"},
      {"countdown_start", 0, "1000001",
       "Level rejected: header value 1000001 is outside -1000000 to 1000000."},
      {"pip_offset", 7, "-1000001",
       "Level rejected: header value -1000001 is outside -1000000 to 1000000."},
      {"tile points", 18, "2000000",
       "Level rejected: tile value 2000000 of element 0 is outside -1000000 to 1000000."},
      {"ladder height", 28, "1000001",
       "Level rejected: ladder value 1000001 of element 0 is outside -1000000 to 1000000."},
      {"chute dx", 34, "-2000000",
       "Level rejected: chute value -2000000 of element 0 is outside -1000000 to 1000000."},
      {"enemy max_x", 42, "1000001",
       "Level rejected: enemy value 1000001 of element 0 is outside -1000000 to 1000000."},
      {"speed", 43, "1000000.5",
       "Level rejected: enemy value 1000000.500 of element 0 is outside -1000000 to 1000000."},
      {"speed", 43, "-1e7",
       "Level rejected: enemy value -10000000.000 of element 0 is outside -1000000 to 1000000."},
      {"enemy points", 48, "1000001",
       "Level rejected: enemy value 1000001 of element 0 is outside -1000000 to 1000000."},
      {"item points", 53, "-1000001",
       "Level rejected: item value -1000001 of element 0 is outside -1000000 to 1000000."},
      {"second teleporter y", 61, "1000001",
       "Level rejected: teleporter value 1000001 of element 1 is outside -1000000 to 1000000."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.value);
    LevelData data;
    ASSERT_EQ(loadText(data, fullLevel), 0);
    std::vector<std::string> lines;
    log_capture(&lines);
    const int result = loadText(data, fullLevelWith(c.token, c.value));
    log_capture(nullptr);
    const std::string expected = c.result;
    if (expected.rfind("Level rejected:", 0) == 0) {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(describe(data), fullLevelDescription);
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines.back(), expected);
    } else {
      EXPECT_EQ(result, 0);
      // The level as before but for the one line holding the value.
      std::istringstream before(fullLevelDescription);
      std::istringstream after(describe(data));
      std::vector<std::string> changed;
      for (std::string was, is; std::getline(before, was) && std::getline(after, is);) {
        if (is != was) changed.push_back(is);
      }
      EXPECT_EQ(changed, std::vector<std::string>{expected});
    }
  }
}

TEST(LevelBound, HoldsNumbersWithinAMillionEitherWayAndNoNaNOrInfinity) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    float value;
    bool within;
  };
  const Case cases[] = {{1.0e6f, true},   {-1.0e6f, true},  {1000000.0625f, false},
                        {-1.0e7f, false}, {std::nanf(""), false}, {inf, false},
                        {-inf, false}};
  for (const Case& c : cases) EXPECT_EQ(withinLevelBound(c.value), c.within) << c.value;
}

TEST(LevelDataLoad, MissingFileReturnsMinusOneAndChangesNothing) {
  LevelData data;
  ASSERT_EQ(loadText(data, fullLevel), 0);
  MediaTree empty;
  std::vector<std::string> lines;
  log_capture(&lines);
  EXPECT_EQ(data.load("level9.inf"), -1);
  log_capture(nullptr);
  EXPECT_EQ(describe(data), fullLevelDescription);
  EXPECT_EQ(lines, std::vector<std::string>{"Loading level data from media/level9.inf"});
}

}  // namespace
