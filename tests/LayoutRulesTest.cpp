// The layout rules on small levels, one broken way per row, through a real
// Game built from a small tree: what each finding says, about which record,
// and whether it is an error or a warning.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "authoring/LayoutRules.h"
#include "game/Game.h"
#include "tests/support/CaseName.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

// A ground floor at row 300 across the screen and an upper floor at row 236
// from x 160 to 288, joined by a ladder and a chute; an enemy, an item and
// two teleporters on the ground. The tree has no pwe.cfg: the tolerances are
// 14 (chute), 6 and 2 (ladder). The player is 16 x 24 and survives drops of
// 100 rows; tiles are 32 x 8, pads 24 x 32.
LevelText soundLevel() {
  LevelText level;
  for (int x = 0; x < 640; x += 32) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  for (int x = 160; x < 288; x += 32) {
    level.tiles.push_back(std::to_string(x) + " 236 brick brick_clear 1 10");
  }
  level.ladders = {"200 236 64 rungs"};
  level.chutes = {"288 236 64 16 1 step"};
  level.enemies = {"450 299 1 400 520 1.5 1 0 blob 300 50"};
  level.items = {"150 280 gem 25"};
  level.teleporters = {"40 268 pad pad_cool 1", "560 268 pad pad_cool 2"};
  return level;
}

const char* kindOf(const LayoutFinding& finding) {
  switch (finding.element) {
    case LayoutElement::Tiles: return "tiles";
    case LayoutElement::CountdownPanel: return "countdown panel";
    case LayoutElement::ScorePanel: return "score panel";
    case LayoutElement::Start: return "start";
    case LayoutElement::Record: return kindFacts(finding.kind).word;
    case LayoutElement::Level: return "level";
  }
  return "?";
}

// "ladder 0: error: ..." with the index of the record in its list.
std::vector<std::string> findingsOf(GameTree& tree, const LevelText& level) {
  tree.writeLevel("level1.inf", level.str());
  set_config_file("media/pwe.cfg");  // as start-up selects it
  Game game(640, 480, 100);
  game.startLevel("level1.inf");
  game.beginLife();
  std::vector<std::string> lines;
  for (const LayoutFinding& f : LayoutRules(game).check()) {
    lines.push_back(std::string(kindOf(f)) + " " + std::to_string(f.index) + ": " +
                    (f.warning ? "warning: " : "error: ") + f.message +
                    (f.other >= 0 ? " [" + std::to_string(f.other) + "]" : ""));
  }
  // The rules move the player and claim tiles; they leave a fresh life.
  EXPECT_EQ(game.player.x, static_cast<float>(game.level.start_x));
  EXPECT_EQ(game.player.y, static_cast<float>(game.level.start_y));
  EXPECT_EQ(game.player.score, 0);
  for (const FloorTile& tile : game.floorManager.tiles()) EXPECT_FALSE(tile.cleared);
  return lines;
}

struct BrokenLayout {
  const char* name;
  std::function<void(LevelText&, GameTree&)> breakIt;
  std::vector<std::string> expected;
};

// The ground tiles are the first twenty records: tile k covers x 32 k.
void dropGroundTile(LevelText& level, int x) {
  level.tiles.erase(level.tiles.begin() + x / 32);
}

const BrokenLayout brokenLayouts[] = {
    {"sound level", [](LevelText&, GameTree&) {}, {}},
    {"start holding a ladder", [](LevelText& l, GameTree&) { l.start = "208 260 4"; }, {}},
    {"start at a chute's entry", [](LevelText& l, GameTree&) { l.start = "292 235 1"; }, {}},
    {"ladder top in the air", [](LevelText& l, GameTree&) { l.ladders = {"200 226 74 rungs"}; },
     {"ladder 0: error: ladder at 200, 226: its top (row 226) has no floor within 2 rows"}},
    {"ladder foot below the floor",
     [](LevelText& l, GameTree&) { l.ladders = {"200 236 70 rungs"}; },
     {"ladder 0: error: ladder at 200, 236: its foot (row 306) has no floor within 2 rows"}},
    {"ladder tolerance from pwe.cfg",
     [](LevelText& l, GameTree& t) {
       l.ladders = {"200 236 65 rungs", "100 236 66 rungs"};
       l.tiles.push_back("96 236 brick brick_clear 1 10");
       t.writeText("media/pwe.cfg", "[mechanics]\nladder_vert_tol = 1\n");
     },
     {"ladder 1: error: ladder at 100, 236: its foot (row 302) has no floor within 1 row"}},
    {"chute foot over a gap, survived",
     [](LevelText& l, GameTree&) { l.chutes = {"288 236 32 16 1 step"}; },
     {"chute 0: warning: chute at 288, 236: its slide ends at 328, 268 over no floor: the player "
      "drops 31 rows onto the floor at row 300"}},
    {"chute foot over a gap to the bottom",
     [](LevelText& l, GameTree&) { dropGroundTile(l, 352); },
     {"chute 0: error: chute at 288, 236: its slide ends at 360, 300 over no floor: the player "
      "falls out of the screen"}},
    {"chute entry no one reaches",
     [](LevelText& l, GameTree&) { l.chutes = {"400 236 64 16 1 step"}; },
     {"chute 0: warning: chute at 400, 236: no standing player's left foot reaches its entry on "
      "row 235"}},
    {"enemy walks off its floor",
     [](LevelText& l, GameTree&) { l.enemies = {"200 235 1 170 320 1 1 0 blob 300 50"}; },
     {"enemy 0: warning: enemy at 200, 235: its patrol (170 to 320) leaves its floor at 289, 235: "
      "it falls and goes on at row 299"}},
    {"enemy starts in the air",
     [](LevelText& l, GameTree&) { l.enemies = {"450 200 1 400 520 1.5 1 0 blob 300 50"}; },
     {"enemy 0: warning: enemy at 450, 200: there is no floor under its start: it falls and goes "
      "on at row 299"}},
    {"enemy falls out of the screen", [](LevelText& l, GameTree&) { dropGroundTile(l, 480); },
     {"enemy 0: warning: enemy at 450, 299: its patrol (400 to 520) leaves its floor at 481, 299: "
      "it falls out of the screen"}},
    {"enemy that stands still after its fall",
     [](LevelText& l, GameTree&) { l.enemies = {"450 200 1 400 520 0 1 0 blob 300 50"}; },
     {"enemy 0: warning: enemy at 450, 200: there is no floor under its start: it falls and goes "
      "on at row 299"}},
    {"enemy starts outside its patrol",
     [](LevelText& l, GameTree&) { l.enemies = {"350 299 1 400 520 1.5 1 0 blob 300 50"}; },
     {"enemy 0: warning: enemy at 350, 299 starts outside its patrol (400 to 520)"}},
    {"item reached only from the ladder",
     [](LevelText& l, GameTree&) { l.items = {"200 260 gem 25"}; }, {}},
    {"item no one touches", [](LevelText& l, GameTree&) { l.items = {"150 100 gem 25"}; },
     {"item 0: warning: item at 150, 100 ('gem'): no standing or climbing player touches it"}},
    {"teleporter no one is inside",
     [](LevelText& l, GameTree&) { l.teleporters[1] = "300 100 pad pad_cool 2"; },
     {"teleporter 1: error: teleporter 2 at 300, 100: no standing or climbing player is ever "
      "inside it, so no one leaves from it; its arrival point (312, 131) is over no floor: the "
      "player falls 170 rows, more than the 100 it survives"}},
    {"teleporter arrival above the floor",
     [](LevelText& l, GameTree&) { l.teleporters[1] = "560 260 pad pad_cool 2"; },
     {"teleporter 1: warning: teleporter 2 at 560, 260: its arrival point (572, 291) is over no "
      "floor: the player drops 8 rows onto the floor at row 300"}},
    {"start above the floor", [](LevelText& l, GameTree&) { l.start = "100 280 1"; },
     {"start 0: warning: the player start (100, 280) is on no floor, ladder or chute: the player "
      "drops 19 rows onto the floor at row 300"}},
    {"start inside the floor", [](LevelText& l, GameTree&) { l.start = "100 303 1"; },
     {"start 0: warning: the player start (100, 303) is on no floor, ladder or chute: the player "
      "is lifted 4 rows onto the floor at row 300"}},
    {"start too high", [](LevelText& l, GameTree&) { l.start = "100 100 1"; },
     {"start 0: error: the player start (100, 100) is on no floor, ladder or chute: the player "
      "falls 200 rows, more than the 100 it survives"}},
    {"panel over the level", [](LevelText& l, GameTree&) { l.countdownPanel = "10 290 0"; },
     {"countdown panel 0: warning: the countdown panel (100x20 at 10, 290) hides the teleporter 1 "
      "at 40, 268 and 4 more elements"}},
    {"hidden panel", [](LevelText& l, GameTree&) { l.countdownPanel = "10 290 3"; }, {}},
    {"claimable tile wholly covered",
     [](LevelText& l, GameTree&) {
       l.tiles.insert(l.tiles.begin(), "16 300 brick brick_clear 1 5");
     },
     {"tile 0: error: claimable tile at 16, 300 never shows its claim: later tiles hide all of "
      "it, first tile 2 [1]"}},
    {"claimable tiles partly covered",
     [](LevelText& l, GameTree&) { l.tiles.push_back("16 296 brick brick_clear 0 0"); },
     {"tile 0: warning: claimable tile at 0, 300 shows its claim only in part: later tiles hide "
      "64 of its 256 pixels, first tile 25 [24]",
      "tile 1: warning: claimable tile at 32, 300 shows its claim only in part: later tiles hide "
      "64 of its 256 pixels, first tile 25 [24]"}},
    {"no claimable tile",
     [](LevelText& l, GameTree&) {
       for (std::string& tile : l.tiles) tile.replace(tile.size() - 4, 1, "0");
     },
     {"tiles 0: warning: no tile is claimable: the level is cleared at once"}},
    {"every claimable tile under the start",
     [](LevelText& l, GameTree&) {
       for (std::string& tile : l.tiles) {
         tile.replace(tile.size() - 4, 1, tile.rfind("96 300", 0) == 0 ? "1" : "0");
       }
     },
     {"tiles 0: warning: every claimable tile lies under the start: the first tick claims them "
      "all and the level is cleared at once"}},
    {"elements exactly on top of each other",
     [](LevelText& l, GameTree&) {
       l.ladders.push_back(l.ladders[0]);
       l.enemies.push_back(l.enemies[0]);
       l.items.push_back("150 280 gem 99");
     },
     {"ladder 1: error: ladder at 200, 236 is exactly on top of ladder 1 [0]",
      "enemy 1: error: enemy at 450, 299 starts and patrols exactly as enemy 1 [0]",
      "item 1: error: item at 150, 280 is exactly on top of item 1 [0]"}},
};

void PrintTo(const BrokenLayout& row, std::ostream* out) { *out << row.name; }

class LayoutRulesBroken : public testing::TestWithParam<BrokenLayout> {};

TEST_P(LayoutRulesBroken, FindsWhatIsWrongAndWhere) {
  GameTree tree;
  LevelText level = soundLevel();
  GetParam().breakIt(level, tree);
  EXPECT_EQ(findingsOf(tree, level), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutRulesBroken, testing::ValuesIn(brokenLayouts),
                         caseName<BrokenLayout>);

}  // namespace
