// The level writer: what it writes reads back as the same level, and the
// shipped levels are already written in its layout.
#include "game/LevelFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "game/LevelData.h"
#include "shell/Log.h"
#include "tests/support/FileText.h"

namespace {

LevelData levelFrom(const std::string& text) {
  std::istringstream in(text);
  LevelData level;
  EXPECT_EQ(level.read(in), 0) << text;
  return level;
}

TEST(LevelFormat, ShippedLevelsAreWrittenInTheWritersLayout) {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  for (int n = 1; n <= 4; ++n) {
    const std::string path = std::string(source) + "/media/level" + std::to_string(n) + ".inf";
    const std::string text = readFile(path);
    ASSERT_FALSE(text.empty()) << path;
    EXPECT_EQ(writeLevel(levelFrom(text)), text) << path;
  }
}

TEST(LevelFormat, RealsAreWrittenShortestAndReadBackExactly) {
  struct Case {
    float value;
    const char* text;
  } cases[] = {
      {0.4f, "0.4"},   {2.0f, "2"},        {-1.5f, "-1.5"},           {0.1f, "0.1"},
      {0.0f, "0"},     {1e-7f, "1e-07"},   {1.0f / 3.0f, "0.33333334"}, {123456.7f, "123456.7"},
      {1000000.0f, "1000000"}, {-0.0f, "-0"}, {-3.0f, "-3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(levelReal(c.value), c.text) << c.value;
    EXPECT_EQ(std::strtof(levelReal(c.value).c_str(), nullptr), c.value) << c.value;
  }
}

// Levels whose texts are laid out any way the loader accepts; writing each
// and reading it back gives the same level, and writing that again gives
// the same text.
TEST(LevelFormat, WhatIsWrittenReadsBackAsTheSameLevel) {
  const char* texts[] = {
      "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
      "-5 7 8 3 -1 2 9 4 5 -320 200 4\n"
      "2 1 2 a b 0 -3 4 5 c d 7 1000000\n1 9 8 -7 rope\n"
      "1 1 2 32 -8 5 slide\n"
      "2 1 2 1 0 9 0.30000001 1 0 blob 600 100  5 6 7 -8 9 -2.75 0 3 beetle -1 -100\n"
      "1 4 5 gem 0\n3 1 2 p q 1 3 4 p q 99 5 6 r s -2",
  };
  for (const char* text : texts) {
    const LevelData first = levelFrom(text);
    const std::string written = writeLevel(first);
    const LevelData second = levelFrom(written);
    EXPECT_EQ(writeLevel(second), written) << text;
    ASSERT_EQ(second.enemies.size(), first.enemies.size());
    for (size_t i = 0; i < first.enemies.size(); ++i) {
      EXPECT_EQ(second.enemies[i].speed, first.enemies[i].speed) << text;
      EXPECT_EQ(second.enemies[i].name, first.enemies[i].name) << text;
    }
    EXPECT_EQ(second.tiles.size(), first.tiles.size()) << text;
    EXPECT_EQ(second.teleporters.size(), first.teleporters.size()) << text;
    EXPECT_EQ(second.start_x, first.start_x) << text;
  }
}

}  // namespace
