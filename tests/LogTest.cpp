#include "shell/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "shell/Fatal.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace {

TEST(Log, IsOffByDefaultAndCreatesNoFile) {
  MediaTree tree;
  unsetenv("PWE_LOG");
  log_open("pwe.log");
  log_message("Loading %s", "x");
  log_close();
  EXPECT_FALSE(std::ifstream("pwe.log").good());
}

TEST(Log, WritesOneFlushedLinePerMessageWhenRequested) {
  MediaTree tree;
  setenv("PWE_LOG", "1", 1);
  log_open("pwe.log");
  log_message("Player @ %.3f, %.3f now falling.", 1.5f, 2.0f);
  // Flushed at once: readable before the log is closed.
  EXPECT_EQ(readFile("pwe.log"), "Player @ 1.500, 2.000 now falling.\n");
  log_message("%d tiles", 3);
  log_close();
  unsetenv("PWE_LOG");
  EXPECT_EQ(readFile("pwe.log"), "Player @ 1.500, 2.000 now falling.\n3 tiles\n");
}

TEST(Log, CaptureSeesFormattedMessagesWithTheFileLogOff) {
  unsetenv("PWE_LOG");
  std::vector<std::string> lines;
  log_capture(&lines);
  log_message("Frame %d loaded.", 7);
  log_capture(nullptr);
  log_message("not captured");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Frame 7 loaded.");
}

TEST(FatalDeathTest, DataFailureExitsWithStatusOneAndShowsItsText) {
  ensureHeadlessAllegro();
  EXPECT_EXIT(dataFailure("Error loading \"media/x.png\"."), testing::ExitedWithCode(1),
              "Error loading \"media/x.png\"\\.");
}

TEST(FatalDeathTest, LogGetsTheLongerText) {
  MediaTree tree;
  EXPECT_EXIT(
      {
        setenv("PWE_LOG", "1", 1);
        log_open("pwe.log");
        dataFailure("No .nme files located!", "No .nme files located. Exiting.");
      },
      testing::ExitedWithCode(1), "No .nme files located!");
  EXPECT_EQ(readFile("pwe.log"), "No .nme files located. Exiting.\n");
}

}  // namespace
