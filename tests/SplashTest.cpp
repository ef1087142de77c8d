#include "shell/Splash.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Startup.h"
#include "shell/TickTimer.h"
#include "tests/support/Headless.h"

namespace {

// The ink of one 8-row band of text: its pattern ('#' for any set pixel)
// trimmed to the columns that hold ink, and the first of those columns.
struct Ink {
  int left = -1;
  std::vector<std::string> rows;
};

Ink inkIn(BITMAP* bitmap, int top, int rowCount) {
  Ink ink;
  int right = -1;
  for (int y = top; y < top + rowCount && y < bitmap->h; ++y) {
    for (int x = 0; x < bitmap->w; ++x) {
      if (getpixel(bitmap, x, y) == 0) continue;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      if (x > right) right = x;
    }
  }
  if (ink.left < 0) return ink;
  for (int y = top; y < top + rowCount && y < bitmap->h; ++y) {
    std::string row;
    for (int x = ink.left; x <= right; ++x) row += getpixel(bitmap, x, y) != 0 ? '#' : '.';
    ink.rows.push_back(row);
  }
  return ink;
}

// The text drawn on its own with its box's left edge at column 0.
Ink referenceInk(const char* text) {
  BitmapPtr bitmap(create_bitmap(400, 8));
  clear_bitmap(bitmap.get());
  textout_ex(bitmap.get(), font, text, 0, 0, -1, -1);
  return inkIn(bitmap.get(), 0, 8);
}

struct Line {
  const char* text;
  int top;
};
const Line lines[] = {
    {"Pitwick Engine", 200},
    {"by the Pitwick team", 240},
    {"v0.7 - 20/04/2010", 320},
};

// A card that starts out full of a colour that is neither black nor white,
// so a card that was not cleared shows.
BitmapPtr dirtyCard(int width, int height) {
  BitmapPtr card(create_bitmap(width, height));
  clear_to_color(card.get(), makecol(10, 20, 30));
  return card;
}

TEST(Splash, ThreeWhiteLinesCentredOnABlackCard) {
  ensureHeadlessAllegro();
  struct Case {
    int width;
    int textLeft[3];  // left edge of each line's text box
  };
  const Case cases[] = {
      {640, {264, 244, 252}},
      {641, {264, 244, 252}},  // the middle is cut to a whole pixel
      {800, {344, 324, 332}},
  };
  for (const Case& c : cases) {
    BitmapPtr card = dirtyCard(c.width, 480);
    composeSplash(card.get(), c.width);
    for (int i = 0; i < 3; ++i) {
      const Ink expected = referenceInk(lines[i].text);
      const Ink drawn = inkIn(card.get(), lines[i].top, 8);
      EXPECT_EQ(drawn.rows, expected.rows) << lines[i].text << " on " << c.width;
      EXPECT_EQ(drawn.left - expected.left, c.textLeft[i]) << lines[i].text << " on " << c.width;
    }
    // Ink is white; outside the three lines the card is black.
    for (int y = 0; y < 480; ++y) {
      const bool inLine = (y >= 200 && y < 208) || (y >= 240 && y < 248) || (y >= 320 && y < 328);
      for (int x = 0; x < c.width; ++x) {
        const int pixel = getpixel(card.get(), x, y);
        if (pixel == 0) continue;
        ASSERT_TRUE(inLine) << "stray pixel at " << x << "," << y << " on " << c.width;
        ASSERT_EQ(getr(pixel), 255);
        ASSERT_EQ(getg(pixel), 255);
        ASSERT_EQ(getb(pixel), 255);
      }
    }
  }
}

TEST(Splash, LinesStayAtTheirRowsOnShortScreens) {
  ensureHeadlessAllegro();
  // 324 rows: the version line keeps only its top four rows.
  BitmapPtr cut = dirtyCard(640, 324);
  composeSplash(cut.get(), 640);
  EXPECT_EQ(inkIn(cut.get(), 200, 8).rows, referenceInk("Pitwick Engine").rows);
  BitmapPtr reference(create_bitmap(400, 4));
  clear_bitmap(reference.get());
  textout_ex(reference.get(), font, "v0.7 - 20/04/2010", 0, 0, -1, -1);
  EXPECT_EQ(inkIn(cut.get(), 320, 4).rows, inkIn(reference.get(), 0, 4).rows);

  // 320 rows or fewer: no version line at all, the others unchanged.
  BitmapPtr shortCard = dirtyCard(640, 300);
  composeSplash(shortCard.get(), 640);
  EXPECT_EQ(inkIn(shortCard.get(), 240, 8).rows, referenceInk("by the Pitwick team").rows);
  EXPECT_TRUE(inkIn(shortCard.get(), 248, 52).rows.empty());
}

// Runs waitOnSplash on its own thread and plays the timer from this one.
class SplashWait {
 public:
  explicit SplashWait(int updatesPerSecond) {
    // A value the wait must replace with 0 before it counts.
    tickCounter = 12345;
    waiter_ = std::thread([this, updatesPerSecond] {
      waitOnSplash(updatesPerSecond);
      done_ = true;
    });
    while (tickCounter.load() != 0 && !done_) std::this_thread::yield();
  }
  ~SplashWait() {
    // Never leave the waiting thread behind, whatever the test found.
    while (!done_) {
      onTick();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    waiter_.join();
  }
  void ticks(int count) {
    for (int i = 0; i < count; ++i) onTick();
  }
  // Whether the wait has ended within the given time.
  bool endsWithin(int milliseconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done_ && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done_;
  }

 private:
  std::atomic<bool> done_{false};
  std::thread waiter_;
};

TEST(Splash, WaitsForFourSecondsOfTicks) {
  ensureHeadlessAllegro();
  struct Case {
    int updatesPerSecond;
    int ticks;
  };
  const Case cases[] = {{100, 400}, {25, 100}, {1, 4}};
  for (const Case& c : cases) {
    SplashWait wait(c.updatesPerSecond);
    wait.ticks(c.ticks - 1);
    EXPECT_FALSE(wait.endsWithin(50)) << c.updatesPerSecond;
    wait.ticks(1);
    EXPECT_TRUE(wait.endsWithin(2000)) << c.updatesPerSecond;
  }
  tickCounter = 0;
}

TEST(Splash, NoWaitWhenFourSecondsAreNoTicks) {
  ensureHeadlessAllegro();
  for (int updatesPerSecond : {0, -1}) {
    tickCounter = 99;
    waitOnSplash(updatesPerSecond);
    // Returned without any tick, having restarted the count.
    EXPECT_EQ(tickCounter.load(), 0) << updatesPerSecond;
  }
}

std::atomic<bool> keyWaiting{false};
int keyWaitingHook() { return keyWaiting ? TRUE : FALSE; }

TEST(Splash, AWaitingKeyEndsTheWaitAtOnce) {
  ensureHeadlessAllegro();
  install_keyboard_hooks(keyWaitingHook, nullptr);
  {
    keyWaiting = true;
    SplashWait wait(100);
    EXPECT_TRUE(wait.endsWithin(500));
  }
  {
    keyWaiting = false;
    SplashWait wait(100);
    wait.ticks(10);
    EXPECT_FALSE(wait.endsWithin(50));
    keyWaiting = true;
    EXPECT_TRUE(wait.endsWithin(500));
  }
  keyWaiting = false;
  install_keyboard_hooks(nullptr, nullptr);
  tickCounter = 0;
}

TEST(Splash, AJoystickButtonEndsTheWaitAtOnce) {
  ensureHeadlessAllegro();
  const int joysticks = num_joysticks;
  const JOYSTICK_INFO first = joy[0];
  num_joysticks = 1;
  joy[0].num_buttons = 3;
  for (int b = 0; b < 3; ++b) joy[0].button[b].b = 0;
  {
    SplashWait wait(100);
    wait.ticks(10);
    EXPECT_FALSE(wait.endsWithin(50));
  }
  joy[0].button[2].b = 1;
  {
    SplashWait wait(100);
    EXPECT_TRUE(wait.endsWithin(500));
  }
  num_joysticks = joysticks;
  joy[0] = first;
  tickCounter = 0;
}

// On a real display with the real timer: initialise opens the window, the
// timer runs at 100 ticks a second and the card is asked to stay for four
// seconds at 5 ticks a second, that is 20 ticks or a fifth of a second.
TEST(SplashDeathTest, ShownOnTheScreenUntilTheRealTimerEndsIt) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "needs an X display";
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  EXPECT_EXIT(
      {
        int width = 0;
        int height = 0;
        int updatesPerSecond = 0;
        int started = -1;
        {
          MediaTree tree;
          started = initialise(width, height, updatesPerSecond);
        }
        if (started != 0) std::exit(4);
        startTimer(updatesPerSecond);
        auto before = std::chrono::steady_clock::now();
        int shown = showSplash(width, height, 5);
        auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - before);
        std::fprintf(stderr, "shown %d ticks %d took %s cleared %s\n", shown, tickCounter.load(),
                     took.count() >= 150 && took.count() < 2000 ? "about right" : "wrong",
                     getpixel(screen, 320, 203) == 0 ? "yes" : "no");
        std::exit(3);
      },
      testing::ExitedWithCode(3), "shown 0 ticks 2[0-9] took about right cleared yes");
}

}  // namespace
