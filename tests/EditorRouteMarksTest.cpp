// After the proof, F7's drawn route marks its tight presses and near
// passes where the player was at their ticks, and the status line gives
// the par and the tightest moment; a ring for a press, a cross for a pass.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

#include "authoring/Replay.h"
#include "graphics/Pixel.h"
#include "tests/support/CaseName.h"
#include "tests/support/LedgeLevel.h"
#include "tests/support/EditorFixture.h"
#include "tools/edit/LiveChecks.h"
#include "tools/edit/RouteMarks.h"

namespace {

// A ledge ending at column 160, the player setting off from 140, and a
// claimable tile across a gap: 40 px leaves the jump room to spare, 77
// only the ledge's end.
// With a floor far above, as the editor's tests place one.
LevelText gapLevel(int gap) {
  LevelText level = ledgeLevel(gap);
  level.tiles.push_back("0 100 brick brick_clear 0 0");
  return level;
}

// Polls as the session does between frames until the proof has answered.
void waitForProof(LiveChecks& checks) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (checks.running() && std::chrono::steady_clock::now() < until) {
    if (!checks.poll()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_FALSE(checks.running());
}

struct Place {
  int x = 0;  // the player's bottom centre, screen pixels, as the path keeps it
  int y = 0;
};

// Where the player stands before the route's first tick and after each,
// as the game plays the route the checks found.
std::vector<Place> routePlaces(Game& game, const Replay& route) {
  std::vector<Place> places{{toPixel(game.player.x), toPixel(game.player.y)}};
  ReplayTrace trace;
  trace.afterTick = [&](Game& g, int) {
    places.push_back({toPixel(g.player.x), toPixel(g.player.y)});
  };
  playReplay(game, route, trace);
  return places;
}

struct MarkRow {
  const char* name;
  int gap;
  const char* enemy;      // the level's one enemy, or none
  const char* pressed;    // the press's label
  bool tight;             // the press is marked a hard one
  int passes;             // marks of passes: the nearest's
  bool near;              // and it is a hard one
};

void PrintTo(const MarkRow& row, std::ostream* out) { *out << row.name; }

class RouteMarks : public testing::TestWithParam<MarkRow> {};

TEST_P(RouteMarks, StandOnTheRoutesPathWhereTheProofFoundThem) {
  const MarkRow& row = GetParam();
  EditorFixture fixture;
  LevelText level = gapLevel(row.gap);
  if (row.enemy != nullptr) level.enemies = {row.enemy};
  fixture.startWith(level);
  LiveChecks checks(640, 480, 100);
  checks.start(fixture.editor->level(), 1);
  waitForProof(checks);
  ASSERT_GT(checks.clearedTicks(), 0) << "the proof cleared the level";

  const std::vector<RouteMark> marks = routeMarks(checks.moments());
  ASSERT_EQ(marks.size(), 1u + row.passes);
  const RouteMark& press = marks[0];
  EXPECT_EQ(press.kind, RouteMark::Press);
  EXPECT_EQ(press.label, row.pressed);
  EXPECT_EQ(press.hard, row.tight);
  EXPECT_EQ(press.y, 299) << "pressed standing on the ledge";
  EXPECT_LE(press.x, 160);
  for (std::size_t i = 1; i < marks.size(); ++i) {
    EXPECT_EQ(marks[i].kind, RouteMark::Pass);
    EXPECT_EQ(marks[i].hard, row.near);
    EXPECT_NE(marks[i].label.find(" px"), std::string::npos);
  }
  // Each mark lies on the path the route draws as the game plays it.
  const std::vector<Place> places = routePlaces(*fixture.game, checks.route());
  for (const RouteMark& mark : marks) {
    const bool onPath = std::any_of(places.begin(), places.end(), [&](const Place& p) {
      return p.x == mark.x && p.y == mark.y;
    });
    EXPECT_TRUE(onPath) << mark.label << " at " << mark.x << ", " << mark.y;
  }
  fixture.editor->restoreGame();
  const std::string line = routeMomentsLine(checks.clearedTicks(), checks.parTicks(),
                                            checks.moments(), *fixture.game);
  EXPECT_EQ(line.rfind("par ", 0), 0u) << line;
  EXPECT_NE(line.find("; tightest: the jump at "), std::string::npos) << line;
  EXPECT_EQ(line.find("; nearest: the blob placed at ") != std::string::npos, row.passes > 0)
      << line;
  // Worded as the proof's note words the par, the press and the pass.
  std::istringstream parts(line);
  for (std::string part; std::getline(parts, part, ';');) {
    part.erase(0, part.find_first_not_of(' '));
    for (const char* lead : {"tightest: ", "nearest: "}) {
      if (part.rfind(lead, 0) == 0) part.erase(0, std::string(lead).size());
    }
    EXPECT_NE(checks.clearedNote().find(part), std::string::npos)
        << part << " in " << checks.clearedNote();
  }
}

const MarkRow markRows[] = {
    {"a jump from the ledge's end past a blob", 77, "128 299 0 128 128 0 0 0 blob 300 50",
     "1 tick", true, 1, true},
    {"a jump with room to spare", 40, nullptr, "7+ ticks", false, 0, false},
    {"a blob far above", 40, "16 99 0 16 16 0 0 0 blob 300 50", "7+ ticks", false, 1, false},
};

INSTANTIATE_TEST_SUITE_P(Editor, RouteMarks, testing::ValuesIn(markRows), caseName<MarkRow>);

int inkedAround(BITMAP* map, int x, int y, int reach) {
  int inked = 0;
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) inked += getpixel(map, x + dx, y + dy) != 0;
  }
  return inked;
}

// A ring is hollow and a cross is not, so the two read apart; nothing is
// drawn far from either.
TEST(RouteMarksDrawing, ARingForAPressACrossForAPass) {
  EditorFixture fixture;
  std::unique_ptr<BITMAP, void (*)(BITMAP*)> map(create_bitmap(640, 480), destroy_bitmap);
  clear_to_color(map.get(), 0);
  const std::vector<RouteMark> marks = {{RouteMark::Press, 100, 300, true, "1 tick"},
                                        {RouteMark::Pass, 400, 200, false, "9 px"}};
  drawRouteMarks(map.get(), marks);
  EXPECT_EQ(inkedAround(map.get(), 100, 300, 1), 0) << "the ring's middle";
  EXPECT_GT(inkedAround(map.get(), 100, 300, 6), 8) << "the ring";
  EXPECT_GT(inkedAround(map.get(), 400, 200, 1), 0) << "the cross's middle";
  EXPECT_GT(inkedAround(map.get(), 400, 200, 6), 8) << "the cross";
  EXPECT_NE(getpixel(map.get(), 100 + 5, 300), getpixel(map.get(), 400 + 5, 200 + 5))
      << "a hard mark and another in different colours";
  EXPECT_EQ(inkedAround(map.get(), 250, 400, 40), 0) << "far from both";
}

}  // namespace
