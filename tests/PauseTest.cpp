// Pausing between ticks: the pause key and the lost focus stop the game
// where it stands, due ticks are dropped, the same key resumes, and Escape
// still quits.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "shell/CloseButton.h"
#include "shell/FocusLoss.h"
#include "shell/Log.h"
#include "shell/TickTimer.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

class PauseTest : public testing::Test {
 protected:
  void SetUp() override {
    LevelText level;
    level.tiles = {"96 300 brick brick_clear 1 10", "400 300 brick brick_clear 1 10"};
    // Walking to and fro far from the player: it moves every tick.
    level.enemies = {"300 299 0 200 500 1 0 0 blob 100 50"};
    tree.writeLevel("level1.inf", level.str());
    game = std::make_unique<Game>(640, 480, 100);
    game->inputSource.inputFromDevices = false;  // the test's keys are held in the input record
    game->startLevel("level1.inf");
    game->beginLife();
    shown.reset(create_bitmap(640, 480));
    game->output.display = shown.get();
  }
  void TearDown() override {
    setFocusOut(false);
    tickCounter = 0;
  }

  // One pass of the pacing loop with these ticks due; how many ran.
  int pass(bool pauseDown, bool focusOut, int due) {
    game->input.hold(KEY_P, pauseDown);
    setFocusOut(focusOut);
    tickCounter = due;
    const int before = ticksRun();
    game->pacingStep();
    EXPECT_EQ(tickCounter.load(), 0) << "due ticks left over";
    return ticksRun() - before;
  }
  // Every tick moves the enemy one pixel and counts towards the countdown.
  int ticksRun() const { return game->lifeTicks + 301 * (3000 - game->countdown) / 100; }

  GameTree tree;
  std::unique_ptr<Game> game;
  BitmapPtr shown;
};

TEST_F(PauseTest, PausedPassesRunNoTickAndDropWhatCameDue) {
  struct Pass {
    bool pauseDown;
    bool focusOut;  // at the pass
    int due;
    bool paused;  // after the pass
    int ran;      // ticks run in it
  };
  const Pass passes[] = {
      {false, false, 2, false, 2},
      {true, false, 3, true, 0},    // the press pauses before any due tick
      {true, false, 500, true, 0},  // held: still paused; the countdown would have fallen
      {false, false, 4, true, 0},   // released: still paused
      {true, false, 5, false, 0},   // pressed again: resumes, what came due is dropped
      {true, false, 1, false, 1},   // held after resuming: plays on
      {false, false, 3, false, 3},
      {false, true, 3, false, 3},   // the focus away for a moment (30 ms) is no loss
      {false, false, 1, false, 1},
      {false, true, 20, false, 20}, // away while a quarter of a second is played:
      {false, true, 5, false, 5},   // still a moment
      {false, true, 1, false, 1},   // a tick more: longer than a moment, a loss,
      {false, true, 2, true, 0},    // which pauses at the next look
      {false, true, 2, true, 0},
      {false, false, 2, true, 0},   // getting it back does not resume
      {true, false, 2, false, 0},   // only the key does
      {false, false, 1, false, 1},
  };
  int step = 0;
  for (const Pass& p : passes) {
    const float enemyX = game->enemyManager.enemies()[0].x;
    const int countdown = game->countdown;
    EXPECT_EQ(pass(p.pauseDown, p.focusOut, p.due), p.ran) << "pass " << step;
    EXPECT_EQ(game->pause.paused, p.paused) << "pass " << step;
    if (p.ran == 0) {
      EXPECT_EQ(game->enemyManager.enemies()[0].x, enemyX) << "pass " << step;
      EXPECT_EQ(game->countdown, countdown) << "pass " << step;
    }
    EXPECT_FALSE(game->quit) << "pass " << step;
    ++step;
  }
}

TEST_F(PauseTest, TheCardCoversTheMiddleUntilPlayGoesOn) {
  pass(false, false, 1);
  BitmapPtr frame(create_bitmap(640, 480));
  blit(shown.get(), frame.get(), 0, 0, 0, 0, 640, 480);
  pass(true, false, 1);
  const int white = makecol(255, 255, 255);
  int whiteInMiddle = 0;
  for (int x = 280; x < 360; ++x) whiteInMiddle += getpixel(shown.get(), x, 240) == white;
  EXPECT_GT(whiteInMiddle, 0) << "no card in the middle";
  EXPECT_EQ(getpixel(shown.get(), 20, 240), getpixel(frame.get(), 20, 240));
  pass(false, false, 1);
  pass(true, false, 1);
  pass(false, false, 1);
  for (int y = 0; y < 480; ++y) {
    ASSERT_EQ(std::memcmp(shown->line[y], game->buffer->line[y], 640 * 4), 0)
        << "after resuming, display row " << y << " is not the frame";
  }
}

// [game] pause_on_focus_loss: what a loss of the focus does, pass by pass.
TEST_F(PauseTest, LosingTheFocusDoesWhatTheConfigurationSays) {
  struct Pass {
    bool pauseDown;
    bool focusOut;  // at the pass; 30 ticks due, a loss at the second look
    bool paused;    // after it
  };
  struct Case {
    const char* config;
    std::vector<Pass> passes;
    std::vector<std::string> log;
  };
  const std::vector<Pass> untilKey = {{false, true, false}, {false, true, true},
                                      {false, false, true}, {true, false, false}};
  const Case cases[] = {
      {"", untilKey, {"Paused: the window lost the focus.", "Resumed."}},
      {"[game]\npause_on_focus_loss = 1\n", untilKey,
       {"Paused: the window lost the focus.", "Resumed."}},
      {"[game]\npause_on_focus_loss = 0\n",
       {{false, true, false}, {false, true, false}, {false, true, false}, {true, true, true}},
       {"Paused."}},
      {"[game]\npause_on_focus_loss = 2\n",
       {{false, true, false}, {false, true, true}, {false, true, true}, {false, false, false},
        {true, false, true}, {false, true, true}, {false, false, true}},
       {"Paused: the window lost the focus.", "Resumed: the window has the focus again.",
        "Paused."}},
      {"[game]\npause_on_focus_loss = 3\n", untilKey,
       {"pause_on_focus_loss 3 is not 0, 1 or 2; using 1.", "Paused: the window lost the focus.",
        "Resumed."}},
  };
  for (const Case& c : cases) {
    SetUp();
    std::vector<std::string> log;
    log_capture(&log);
    set_config_data(c.config, static_cast<int>(std::strlen(c.config)));
    game->loadControls();
    int step = 0;
    for (const Pass& p : c.passes) {
      pass(p.pauseDown, p.focusOut, 30);
      EXPECT_EQ(game->pause.paused, p.paused) << c.config << "pass " << step++;
    }
    log_capture(nullptr);
    std::vector<std::string> pauses;  // the player's own lines left out
    for (const std::string& line : log) {
      if (line.rfind("Player", 0) != 0) pauses.push_back(line);
    }
    EXPECT_EQ(pauses, c.log) << c.config;
  }
}

// The words, as Allegro's font draws them white on black, stand somewhere
// in the middle of the picture.
bool showsWords(BITMAP* shown, const std::string& words) {
  BitmapPtr text(create_bitmap(text_length(font, words.c_str()), text_height(font)));
  clear_to_color(text.get(), makecol(0, 0, 0));
  textout_ex(text.get(), font, words.c_str(), 0, 0, makecol(255, 255, 255), -1);
  for (int top = 160; top + text->h <= 320; ++top) {
    for (int left = 0; left + text->w <= shown->w; ++left) {
      bool same = true;
      for (int y = 0; y < text->h && same; ++y) {
        for (int x = 0; x < text->w && same; ++x) {
          same = getpixel(shown, left + x, top + y) == getpixel(text.get(), x, y);
        }
      }
      if (same) return true;
    }
  }
  return false;
}

TEST_F(PauseTest, TheCardSaysWhichKeyGoesOn) {
  struct Case {
    int keyPause;
    const char* words;
  };
  const Case cases[] = {
      {KEY_P, "Paused: P to go on"},
      {KEY_Y, "Paused: Y to go on"},
      {KEY_TAB, "Paused: the pause key goes on"},
  };
  for (const Case& c : cases) {
    SetUp();
    game->pause.keyPause = c.keyPause;
    tickCounter = 1;
    game->pacingStep();
    game->input.hold(c.keyPause);
    tickCounter = 1;
    game->pacingStep();
    game->input.hold(c.keyPause, false);
    ASSERT_TRUE(game->pause.paused) << c.words;
    EXPECT_TRUE(showsWords(shown.get(), c.words)) << c.words;
  }
}

TEST_F(PauseTest, EscapeAndTheCloseButtonStillQuitWhilePaused) {
  for (bool closeButton : {false, true}) {
    game->quit = false;
    game->pause.paused = false;
    pass(true, false, 1);
    ASSERT_TRUE(game->pause.paused);
    game->input.hold(KEY_P, false);
    game->input.hold(KEY_ESC, !closeButton);
    setCloseRequested(closeButton);
    tickCounter = 1;
    EXPECT_TRUE(game->pacingStep()) << (closeButton ? "close button" : "Escape");
    EXPECT_TRUE(game->quit);
    game->input.hold(KEY_ESC, false);
    setCloseRequested(false);
  }
}

}  // namespace
