#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/Log.h"
#include "tests/support/Headless.h"

namespace {

TEST(Startup, UnusableTickRatesFallBackToOneHundredAndSaySo) {
  struct Case {
    int configured;
    int used;
    const char* logLine;  // nullptr: nothing logged
  };
  const Case cases[] = {
      {0, 100, "updates_per_second 0 unusable; using 100."},
      {-5, 100, "updates_per_second -5 unusable; using 100."},
      {1, 1, nullptr},
      {100, 100, nullptr},
      {1193181, 1193181, nullptr},
      {1193182, 100, "updates_per_second 1193182 unusable; using 100."},
      {2000000, 100, "updates_per_second 2000000 unusable; using 100."},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    log_capture(&lines);
    int used = usableUpdatesPerSecond(c.configured);
    log_capture(nullptr);
    EXPECT_EQ(used, c.used) << c.configured;
    if (c.logLine == nullptr) {
      EXPECT_TRUE(lines.empty()) << c.configured;
    } else {
      EXPECT_EQ(lines, std::vector<std::string>{c.logLine}) << c.configured;
    }
  }
}

TEST(Startup, VolumesOutsideTheRangeKeepFullVolumeAndSaySo) {
  const struct {
    int configured;
    int used;
    const char* logLine;  // nullptr: nothing logged
  } cases[] = {
      {0, 0, nullptr},
      {128, 128, nullptr},
      {255, 255, nullptr},
      {256, 255, "Sound volume 256 is outside 0 to 255; using 255."},
      {-1, 255, "Sound volume -1 is outside 0 to 255; using 255."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    log_capture(&lines);
    EXPECT_EQ(usableVolume(c.configured), c.used) << c.configured;
    log_capture(nullptr);
    EXPECT_EQ(lines, c.logLine == nullptr ? std::vector<std::string>{}
                                          : std::vector<std::string>{c.logLine})
        << c.configured;
  }
}

// Reads the settings from a pwe.cfg with the given text, or from no file
// at all when the text is null.
StartupSettings settingsFrom(const char* configText) {
  MediaTree tree;
  if (configText != nullptr) tree.writeText("media/pwe.cfg", configText);
  set_config_file("media/pwe.cfg");
  return readStartupSettings();
}

TEST(Startup, MissingConfigurationGivesA640By480WindowAt100Ticks) {
  StartupSettings settings = settingsFrom(nullptr);
  EXPECT_EQ(settings.mode, "windowed");
  EXPECT_TRUE(settings.windowed);
  EXPECT_EQ(settings.width, 640);
  EXPECT_EQ(settings.height, 480);
  EXPECT_EQ(settings.updatesPerSecond, 100);
}

TEST(Startup, ReadsSizeAndTickRateFromTheirSections) {
  StartupSettings settings = settingsFrom(
      "[display]\nmode = windowed\nwidth = 800\nheight = 600\n"
      "[mechanics]\nupdates_per_second = 60\n");
  EXPECT_TRUE(settings.windowed);
  EXPECT_EQ(settings.width, 800);
  EXPECT_EQ(settings.height, 600);
  EXPECT_EQ(settings.updatesPerSecond, 60);

  // The keys count only in their own sections.
  settings = settingsFrom("[mechanics]\nwidth = 800\n[display]\nupdates_per_second = 60\n");
  EXPECT_EQ(settings.width, 640);
  EXPECT_EQ(settings.updatesPerSecond, 100);
}

TEST(Startup, ConfiguredZeroTickRateIsReplacedByTheDefault) {
  EXPECT_EQ(settingsFrom("[mechanics]\nupdates_per_second = 0\n").updatesPerSecond, 100);
}

TEST(Startup, OnlyTheExactWordWindowedSelectsAWindow) {
  struct Case {
    const char* mode;
    bool windowed;
  };
  const Case cases[] = {
      {"windowed", true}, {"Windowed", false}, {"WINDOWED", false},
      {"fullscreen", false}, {"1", false}, {"window", false},
  };
  for (const Case& c : cases) {
    StartupSettings settings = settingsFrom((std::string("[display]\nmode = ") + c.mode + "\n").c_str());
    EXPECT_EQ(settings.mode, c.mode);
    EXPECT_EQ(settings.windowed, c.windowed) << c.mode;
  }
}

TEST(Startup, ScreenSizeMustBePositiveAndAWindowMustFitTheDesktop) {
  struct Case {
    bool windowed;
    int width, height;
    int desktopWidth, desktopHeight;
    int depth;  // bits a pixel
    bool usable;
  };
  const Case cases[] = {
      {true, 640, 480, 1024, 768, 32, true},
      {true, 1024, 768, 1024, 768, 32, true},
      {true, 1025, 768, 1024, 768, 32, false},
      {true, 1024, 769, 1024, 768, 32, false},
      {true, 0, 480, 1024, 768, 32, false},
      {true, 640, -1, 1024, 768, 32, false},
      {false, 0, 480, 1024, 768, 32, false},
      // Full screen may change the desktop's size, so only the mode decides.
      {false, 1280, 1024, 1024, 768, 32, true},
      // A desktop that could not be measured is not held against the window.
      {true, 2000, 2000, 0, 0, 32, true},
      // No display shows a side beyond 32767 pixels, in either mode.
      {false, 32767, 480, 1024, 768, 32, true},
      {false, 480, 32767, 1024, 768, 32, true},
      {false, 32768, 480, 1024, 768, 32, false},
      {false, 480, 32768, 1024, 768, 32, false},
      {false, 65536, 480, 1024, 768, 32, false},
      {false, 100000, 100000, 1024, 768, 32, false},
      {true, 40000, 480, 0, 0, 32, false},
      // The screen's pixel memory must be one Allegro can size at the depth.
      {false, 23170, 23170, 1024, 768, 32, true},
      {false, 23171, 23171, 1024, 768, 32, false},
      {false, 23171, 23171, 1024, 768, 16, true},
      {false, 32767, 32767, 1024, 768, 16, true},
      {false, 32767, 32767, 1024, 768, 24, false},
  };
  for (const Case& c : cases) {
    StartupSettings settings;
    settings.windowed = c.windowed;
    settings.width = c.width;
    settings.height = c.height;
    EXPECT_EQ(screenSizeUsable(settings, c.desktopWidth, c.desktopHeight, c.depth), c.usable)
        << (c.windowed ? "window " : "full screen ") << c.width << "x" << c.height << " at "
        << c.depth << " bits on " << c.desktopWidth << "x" << c.desktopHeight;
  }
}

TEST(Startup, AnUnusableScreenSizeSaysWhy) {
  struct Case {
    bool windowed;
    int width, height;
    const char* problem;
  };
  const Case cases[] = {
      {true, 0, 480, "a 0 x 480 window has no pixels"},
      {false, 100000, 100000,
       "a 100000 x 100000 full screen is beyond 32767 pixels a side, the most a display can "
       "show"},
      {false, 30000, 30000,
       "a 30000 x 30000 full screen at 32 bits a pixel needs more memory than Allegro can size"},
      {true, 1025, 768, "a 1025 x 768 window does not fit the 1024 x 768 desktop"},
      {true, 1024, 768, ""},
  };
  for (const Case& c : cases) {
    StartupSettings settings;
    settings.windowed = c.windowed;
    settings.width = c.width;
    settings.height = c.height;
    EXPECT_EQ(screenSizeProblem(settings, 1024, 768, 32), c.problem);
  }
}

TEST(Startup, ScaleSetsTheModeAndWhereTheFrameGoes) {
  struct Case {
    bool windowed;
    int scale;
    int desktopWidth, desktopHeight;
    int modeWidth, modeHeight;
    PictureLayout layout;
    const char* problem;
  };
  const Case cases[] = {
      {true, 1, 1920, 1080, 640, 480, {1, 0, 0}, ""},
      {true, 2, 1920, 1080, 1280, 960, {2, 0, 0}, ""},
      {true, 0, 1920, 1080, 1280, 960, {2, 0, 0}, ""},
      {true, 0, 3840, 2160, 2560, 1920, {4, 0, 0}, ""},
      {true, 0, 1024, 768, 640, 480, {1, 0, 0}, ""},
      // A desktop that could not be measured holds no larger window.
      {true, 0, 0, 0, 640, 480, {1, 0, 0}, ""},
      {true, 3, 0, 0, 1920, 1440, {3, 0, 0}, ""},
      {true, 3, 1920, 1080, 1920, 1440, {3, 0, 0},
       "a 1920 x 1440 window does not fit the 1920 x 1080 desktop (scale 3)"},
      {true, 52, 0, 0, 0, 0, {52, 0, 0},
       "a 640 x 480 window at scale 52 is beyond 32767 pixels a side, the most a display can "
       "show"},
      {true, 2000000000, 0, 0, 0, 0, {2000000000, 0, 0},
       "a 640 x 480 window at scale 2000000000 is beyond 32767 pixels a side, the most a "
       "display can show"},
      // A full screen at scale 1 is the game's own mode, as it always was.
      {false, 1, 1920, 1080, 640, 480, {1, 0, 0}, ""},
      // At any other scale it is the desktop's, the frame centred.
      {false, 0, 1920, 1080, 1920, 1080, {2, 320, 60}, ""},
      {false, 2, 1920, 1200, 1920, 1200, {2, 320, 120}, ""},
      {false, 5, 1920, 1080, 1920, 1080, {2, 320, 60}, ""},
      {false, 0, 800, 600, 800, 600, {1, 80, 60}, ""},
      {false, 3, 600, 400, 640, 480, {1, 0, 0}, ""},
      {false, 3, 0, 0, 640, 480, {1, 0, 0}, ""},
  };
  for (const Case& c : cases) {
    StartupSettings settings;
    settings.windowed = c.windowed;
    settings.scale = c.scale;
    const ScreenPlan plan = planScreen(settings, c.desktopWidth, c.desktopHeight);
    const std::string name = std::string(c.windowed ? "window" : "full screen") + " scale " +
                             std::to_string(c.scale) + " on " + std::to_string(c.desktopWidth) +
                             "x" + std::to_string(c.desktopHeight);
    EXPECT_EQ(plan.problem, c.problem) << name;
    if (!plan.problem.empty()) continue;
    EXPECT_EQ(plan.width, c.modeWidth) << name;
    EXPECT_EQ(plan.height, c.modeHeight) << name;
    EXPECT_EQ(plan.layout.scale, c.layout.scale) << name;
    EXPECT_EQ(plan.layout.left, c.layout.left) << name;
    EXPECT_EQ(plan.layout.top, c.layout.top) << name;
  }
}

TEST(Startup, ANegativeScaleKeepsOnePixelAndSaysSo) {
  std::vector<std::string> lines;
  log_capture(&lines);
  const StartupSettings settings = settingsFrom("[display]\nscale = -2\n");
  log_capture(nullptr);
  EXPECT_EQ(settings.scale, 1);
  EXPECT_EQ(lines, std::vector<std::string>{"Display scale -2 is below 0; using 1."});
  EXPECT_EQ(settingsFrom(nullptr).scale, 1);
  EXPECT_EQ(settingsFrom("[display]\nscale = 0\n").scale, 0);
}

TEST(Startup, DesktopWithoutAKnownDepthGets32Bits) {
  // The system without a display cannot tell the desktop's depth.
  ensureHeadlessAllegro();
  ASSERT_EQ(desktop_color_depth(), 0);
  EXPECT_EQ(startupColourDepth(), 32);
}

// initialise brings up the real Allegro system, which can happen once per
// process: each run is a child process of its own, started afresh.
class StartupDeathTest : public testing::Test {
 protected:
  void SetUp() override { testing::GTEST_FLAG(death_test_style) = "threadsafe"; }
};

// Runs initialise in a media tree holding the given pwe.cfg (none when
// null), prints its log lines, result and outputs on standard error and
// exits with 3.
[[noreturn]] void initialiseAndReport(const char* configText) {
  std::vector<std::string> lines;
  log_capture(&lines);
  int result = 0;
  int width = 0;
  int height = 0;
  int updatesPerSecond = 0;
  {
    MediaTree tree;
    if (configText != nullptr) tree.writeText("media/pwe.cfg", configText);
    result = initialise(width, height, updatesPerSecond);
  }
  log_capture(nullptr);
  for (const std::string& line : lines) std::fprintf(stderr, "log: %s\n", line.c_str());
  std::fprintf(stderr, "result %d size %dx%d ups %d\n", result, width, height, updatesPerSecond);
  std::exit(3);
}

TEST_F(StartupDeathTest, WithoutADisplayInitialiseFailsInsteadOfCrashing) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        int width = 0;
        int height = 0;
        int updatesPerSecond = 0;
        std::exit(initialise(width, height, updatesPerSecond) == -1 ? 3 : 4);
      },
      testing::ExitedWithCode(3), "pwe: Allegro initialization failure\\.");
}

bool haveDisplay() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

TEST_F(StartupDeathTest, WithoutConfigurationOpensThe640By480Window) {
  if (!haveDisplay()) GTEST_SKIP() << "needs an X display";
  EXPECT_EXIT(initialiseAndReport(nullptr), testing::ExitedWithCode(3),
              "log: Initializing Allegro\nlog: Keyboard initialized\\.\n"
              "result 0 size 640x480 ups 100");
}

TEST_F(StartupDeathTest, OutputsHoldTheUsableTickRate) {
  if (!haveDisplay()) GTEST_SKIP() << "needs an X display";
  EXPECT_EXIT(initialiseAndReport("[display]\nwidth = 320\nheight = 200\n"
                                  "[mechanics]\nupdates_per_second = -3\n"),
              testing::ExitedWithCode(3),
              "log: updates_per_second -3 unusable; using 100\\.\nresult 0 size 320x200 ups 100");
}

TEST_F(StartupDeathTest, SizesThatCannotBeShownFailWithTheReason) {
  if (!haveDisplay()) GTEST_SKIP() << "needs an X display";
  struct Case {
    const char* config;
    const char* reason;
  };
  // Each full screen here once ended in an X error or a heap abort.
  const Case cases[] = {
      {"[display]\nwidth = 0\n", "a 0 x 480 window has no pixels"},
      {"[display]\nheight = -480\n", "a 640 x -480 window has no pixels"},
      {"[display]\nmode = windowed\nwidth = 20000\nheight = 20000\n",
       "a 20000 x 20000 window does not fit the [0-9]+ x [0-9]+ desktop"},
      {"[display]\nscale = 40\n",
       "a 25600 x 19200 window does not fit the [0-9]+ x [0-9]+ desktop \\(scale 40\\)"},
      {"[display]\nmode = fullscreen\nwidth = 100000\nheight = 100000\n",
       "a 100000 x 100000 full screen is beyond 32767 pixels a side"},
      {"[display]\nmode = fullscreen\nwidth = 65536\nheight = 480\n",
       "a 65536 x 480 full screen is beyond 32767 pixels a side"},
      {"[display]\nmode = fullscreen\nwidth = 32768\nheight = 32768\n",
       "a 32768 x 32768 full screen is beyond 32767 pixels a side"},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(initialiseAndReport(c.config), testing::ExitedWithCode(3),
                std::string("pwe: ") + c.reason + "(.|\n)*pwe: Couldn't set graphics mode!\n(.|\n)*"
                "log: Couldn't set graphics mode!\nresult -1")
        << c.config;
  }
}

TEST_F(StartupDeathTest, FullScreensUpToTheLargestSideOpen) {
  if (!haveDisplay()) GTEST_SKIP() << "needs an X display";
  const char* configs[] = {
      "[display]\nmode = fullscreen\nwidth = 640\nheight = 480\n",
      "[display]\nmode = fullscreen\nwidth = 32767\nheight = 200\n",
      "[display]\nmode = fullscreen\nwidth = 200\nheight = 32767\n",
  };
  for (const char* config : configs) {
    EXPECT_EXIT(initialiseAndReport(config), testing::ExitedWithCode(3), "\nresult 0 size ")
        << config;
  }
}

}  // namespace
