// How hard each moment of a route is, on levels made for it: a jump with
// room to spare and one that works from one place only, an enemy the
// route passes close by and one it never comes near.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/ClearingRoute.h"
#include "authoring/ClearingSearch.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/RouteMoments.h"
#include "game/Game.h"
#include "tests/support/GameTree.h"
#include "tests/support/LedgeLevel.h"
#include "tests/support/LevelText.h"
#include "tests/support/PlacedLevel.h"

namespace {

struct Measured {
  RouteMoments moments;
  std::vector<LayoutFinding> warnings;
  std::string note;
};

Measured measure(const LevelText& text) {
  PlacedLevel level(text);
  Reachability search(level.game);
  search.run();
  const ClearingResult clear = clearWithEnemies(level.game, search);
  Measured m;
  if (clear.end != ClearingResult::End::Cleared) return m;
  RouteLimits limits{ClearingLimits{}};
  m.moments = routeMoments(level.game, search, clear.route, limits);
  m.warnings = momentWarnings(m.moments, level.game);
  m.note = momentsText(m.moments, level.game);
  // What a report carries of them tells the same.
  EXPECT_EQ(momentsText(hardMoments(m.moments), level.game), m.note);
  return m;
}

// Across 40 px the jump has room to spare from the first tick; across 74
// it works from the ledge's last few places; across 77 only from its end.
TEST(RouteMoments, APressWindowIsTheRunOfShiftsThatStillHold) {
  const struct {
    int gap;
    bool floorBeneath;  // a jump short of the tile lands on it, alive and off the route
    int least, most;    // of the window's ticks
    bool open;          // measured as far as it was tried
    int from;           // the least column the player presses from, the ledge's end 160
  } cases[] = {
      {40, false, windowReach + 1, windowReach + 1, true, 140},  // pressed first: nothing sooner
      {74, false, 2, tightWindow - 1, false, 150},
      {77, false, 1, 1, false, 156},
      // Short of the tile, the floor beneath still reaches it: every shift holds.
      {77, true, 2 * windowReach + 1, 2 * windowReach + 1, true, 156},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.gap << (c.floorBeneath ? " over a floor" : ""));
    const Measured m = measure(ledgeLevel(c.gap, c.floorBeneath));
    ASSERT_EQ(m.moments.presses, 1u);
    ASSERT_EQ(m.moments.windows.size(), 1u);
    const PressWindow& w = m.moments.windows[0];
    EXPECT_GE(w.ticks(), c.least);
    EXPECT_LE(w.ticks(), c.most);
    EXPECT_EQ(w.open, c.open);
    // Where the player stood to press: on the ledge, near its end for a wide gap.
    EXPECT_EQ(w.y, 299);
    EXPECT_GE(w.x, c.from);
    EXPECT_LE(w.x, 160);
    EXPECT_NE(m.note.find("the tightest press is the jump at "), std::string::npos) << m.note;
    const bool tight = c.most < tightWindow;
    ASSERT_EQ(m.warnings.size(), tight ? 1u : 0u) << m.note;
    if (tight) {
      EXPECT_EQ(m.warnings[0].element, LayoutElement::Level);
      EXPECT_NE(m.warnings[0].message.find("hard for ordinary players"), std::string::npos);
    }
  }
}

// Still enemies beside the jump: one behind the player's back as it sets
// off, one on a floor far above.
TEST(RouteMoments, AnEnemyPassingCloseIsAWarningAtItsRecord) {
  const struct {
    const char* enemy;
    const char* named;  // in the note
    bool close;
  } cases[] = {
      {"128 299 0 128 128 0 0 0 blob 300 50", "the blob placed at 128, 299 passes ", true},
      {"16 99 0 16 16 0 0 0 blob 300 50", "the blob placed at 16, 99 passes ", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.enemy);
    LevelText level = ledgeLevel(40);
    level.tiles.push_back("0 100 brick brick_clear 0 0");
    level.enemies = {c.enemy};
    const Measured m = measure(level);
    ASSERT_TRUE(m.moments.passesMeasured);
    ASSERT_EQ(m.moments.passes.size(), 1u);
    EXPECT_EQ(m.moments.passes[0].enemy, 0);
    EXPECT_EQ(m.moments.passes[0].pixels < nearPassPixels, c.close);
    // Where the player was as it passed: beside the blob behind it, or below the one above.
    const EnemyPass& pass = m.moments.passes[0];
    EXPECT_EQ(pass.x >= 128 && pass.x <= 160 && pass.y >= 279 && pass.y <= 299, c.close)
        << pass.x << ", " << pass.y;
    EXPECT_NE(m.note.find(c.named), std::string::npos) << m.note;
    std::vector<std::string> atEnemy;
    for (const LayoutFinding& f : m.warnings) {
      if (f.element == LayoutElement::Record && f.kind == ElementKind::Enemy && f.index == 0) {
        atEnemy.push_back(f.message);
      }
    }
    EXPECT_EQ(atEnemy.size(), c.close ? 1u : 0u) << m.note;
  }
}

// Past the limits nothing is claimed: the note says what was left.
TEST(RouteMoments, PastItsLimitsNothingIsMeasured) {
  PlacedLevel level(ledgeLevel(40));
  Reachability search(level.game);
  search.run();
  const ClearingResult clear = clearWithEnemies(level.game, search);
  ASSERT_EQ(clear.end, ClearingResult::End::Cleared);
  ClearingLimits none;
  none.maxSeconds = 0.0;
  RouteLimits limits(none);
  const RouteMoments moments = routeMoments(level.game, search, clear.route, limits);
  EXPECT_EQ(moments.presses, 1u);
  EXPECT_TRUE(moments.windows.empty());
  EXPECT_FALSE(moments.passesMeasured);
  EXPECT_NE(momentsText(moments, level.game).find("for the first 0 of 1 presses"),
            std::string::npos);
  EXPECT_TRUE(momentWarnings(moments, level.game).empty());
}

}  // namespace

namespace {

RouteMoments windowsOf(const std::vector<int>& widths) {
  RouteMoments moments;
  for (int width : widths) {
    PressWindow w;
    w.tick = static_cast<int>(moments.windows.size());
    w.later = width - 1;
    moments.windows.push_back(w);
  }
  moments.presses = moments.measured = widths.size() + 1;
  moments.passes = {EnemyPass{0, 9, 40, 1, 2}, EnemyPass{1, 1, 50, 3, 4}};
  moments.passesMeasured = true;
  return moments;
}

// What a report carries: each tight window, the tightest however wide,
// every pass, and the counts the note tells.
TEST(RouteMoments, AReportCarriesTheTightWindowsAndTheTightest) {
  std::vector<int> many(maxHardWindows + 5, tightWindow - 1);
  many.push_back(1);  // the tightest, past the bound
  std::vector<int> keptOfMany(maxHardWindows);
  for (std::size_t i = 0; i < maxHardWindows; ++i) keptOfMany[i] = static_cast<int>(i);
  keptOfMany.push_back(static_cast<int>(many.size()) - 1);
  const struct {
    const char* what;
    std::vector<int> widths;
    std::vector<int> kept;  // ticks of the windows carried
  } cases[] = {
      {"none", {}, {}},
      {"the tight ones", {7, tightWindow - 1, 7, 1, tightWindow}, {1, 3}},
      {"the tightest of wide ones", {7, tightWindow + 1, tightWindow, 6}, {2}},
      {"the first of equals", {5, tightWindow, tightWindow}, {1}},
      {"the bound and the tightest", many, keptOfMany},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const RouteMoments all = windowsOf(c.widths);
    const RouteMoments hard = hardMoments(all);
    std::vector<int> kept;
    for (const PressWindow& w : hard.windows) kept.push_back(w.tick);
    EXPECT_EQ(kept, c.kept);
    EXPECT_EQ(hard.presses, all.presses);
    EXPECT_EQ(hard.measured, all.measured);
    EXPECT_EQ(hard.passes.size(), all.passes.size());
    EXPECT_TRUE(hard.passesMeasured);
  }
}

}  // namespace
