// The screen another program started the game's way asks for: a window at
// one pixel a game pixel with rows of its own below, as the editor asks.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "shell/Startup.h"

namespace {

StartupOptions windowWithRows(int rows) {
  StartupOptions options;
  options.windowOnly = true;
  options.rowsBelow = rows;
  return options;
}

TEST(StartupOptions, TheScreenAskedForFollowsTheOptions) {
  struct Case {
    const char* name;
    StartupOptions options;
    const char* mode;
    int width;
    int height;
    int scale;
    int planWidth;  // the plan on a 1024 x 768 desktop
    int planHeight;
    bool windowed;
    std::string problem;
  };
  const Case cases[] = {
      {"the game's window", StartupOptions(), "windowed", 640, 480, 1, 640, 480, true, ""},
      {"the game's full screen", StartupOptions(), "fullscreen", 640, 480, 1, 640, 480, false, ""},
      {"rows below a window whatever mode and scale say", windowWithRows(44), "fullscreen", 640,
       480, 3, 640, 524, true, ""},
      {"rows that take the window past the desktop", windowWithRows(44), "windowed", 640, 740, 1,
       640, 784, true, "a 640 x 784 window does not fit the 1024 x 768 desktop"},
      {"rows under a screen with no pixels", windowWithRows(44), "windowed", 640, 0, 1, 640, 0,
       true, "a 640 x 0 window has no pixels"},
      {"rows under a screen beyond any display", windowWithRows(44), "windowed", 640, INT_MAX, 1,
       640, INT_MAX, true,
       "a 640 x 2147483647 window is beyond 32767 pixels a side, the most a display can show"},
  };
  for (const Case& c : cases) {
    StartupSettings settings;
    settings.mode = c.mode;
    settings.windowed = settings.mode == "windowed";
    settings.width = c.width;
    settings.height = c.height;
    settings.scale = c.scale;
    const StartupSettings request = screenRequest(settings, c.options);
    const ScreenPlan plan = planScreen(request, 1024, 768);
    EXPECT_EQ(request.windowed, c.windowed) << c.name;
    EXPECT_EQ(plan.width, c.planWidth) << c.name;
    EXPECT_EQ(plan.height, c.planHeight) << c.name;
    EXPECT_EQ(plan.problem, c.problem) << c.name;
  }
}

}  // namespace
