// A panel left standing on the buffer from the last frame must look
// exactly as one composed and drawn afresh would, whatever changed: its
// value, its place, a figure or tile under it, or the other panel.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "game/Game.h"
#include "tests/support/Headless.h"

namespace {

class PanelCacheTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_FALSE(tree.copyShippedMedia().empty()) << "PWE_SOURCE_DIR must name the repository root";
    shown.reset(create_bitmap(640, 480));
  }

  void startGame() {
    game.reset();
    game = std::make_unique<Game>(640, 480, 100);
    game->display = shown.get();
    game->startLevel("level3.inf");
    game->beginLife();
  }

  // The frame built on the last one against one built from nothing.
  std::string compareWithFreshFrame() {
    game->drawFrame();
    BitmapPtr built(create_bitmap(640, 480));
    blit(game->buffer.get(), built.get(), 0, 0, 0, 0, 640, 480);
    for (int y = 0; y < 480; ++y) {
      if (std::memcmp(built->line[y], shown->line[y], 640 * 4) != 0) {
        return "the display differs from the buffer in row " + std::to_string(y);
      }
    }
    game->staticLayers.reset();
    game->countdownPanel = PanelCache();
    game->scorePanel = PanelCache();
    game->drawFrame();
    for (int y = 0; y < 480; ++y) {
      if (std::memcmp(built->line[y], game->buffer->line[y], 640 * 4) != 0) {
        return "row " + std::to_string(y) + " differs from a fresh frame";
      }
    }
    return "";
  }

  FrameArea countdownArea() const { return countdownView(*game).place; }
  FrameArea scoreArea() const { return scoreView(*game).place; }

  // The player's feet put where its picture covers the middle of an area.
  void standIn(const FrameArea& area) {
    game->player.setPosition(static_cast<float>(area.x + area.w / 2),
                             static_cast<float>(area.y + area.h / 2 + game->player.height / 2));
  }

  // The countdown panel laid over part of the score panel.
  void overlapPanels() {
    const FrameArea score = scoreArea();
    game->level.countdown_x = score.x + 10;
    game->level.countdown_y = score.y + 5;
  }

  // The countdown panel over the first floor tile.
  const FloorTile& panelOverFirstTile() {
    const FloorTile& tile = game->floorManager.tiles().front();
    game->level.countdown_x = tile.x - 4;
    game->level.countdown_y = tile.y - 10;
    return tile;
  }

  MediaTree tree;
  std::unique_ptr<Game> game;
  BitmapPtr shown;
};

TEST_F(PanelCacheTest, APanelKeptFromTheLastFrameEqualsOneDrawnAfresh) {
  struct Case {
    const char* what;
    std::function<void(PanelCacheTest&)> before;  // then two frames
    std::function<void(PanelCacheTest&)> change;  // then the frame compared
  };
  const auto nothing = [](PanelCacheTest&) {};
  const Case cases[] = {
      {"nothing changes", nothing, nothing},
      {"the player steps into the countdown panel", nothing,
       [](PanelCacheTest& t) { t.standIn(t.countdownArea()); }},
      {"the player leaves the score panel", [](PanelCacheTest& t) { t.standIn(t.scoreArea()); },
       [](PanelCacheTest& t) { t.game->player.setPosition(320.0f, 300.0f); }},
      {"the countdown goes down", nothing, [](PanelCacheTest& t) { t.game->countdown -= 100; }},
      {"the score goes up", nothing, [](PanelCacheTest& t) { t.game->player.score += 50; }},
      {"a life is lost", nothing, [](PanelCacheTest& t) { t.game->player.lives -= 1; }},
      {"the pips are centred", nothing, [](PanelCacheTest& t) { t.game->level.score_align = 2; }},
      {"the countdown panel moves", nothing,
       [](PanelCacheTest& t) { t.game->level.countdown_x += 30; }},
      {"the score panel is hidden", nothing, [](PanelCacheTest& t) { t.game->level.score_align = 3; }},
      {"the score panel is shown again", [](PanelCacheTest& t) { t.game->level.score_align = 3; },
       [](PanelCacheTest& t) { t.game->level.score_align = 0; }},
      {"under overlapping panels the countdown changes",
       [](PanelCacheTest& t) { t.overlapPanels(); },
       [](PanelCacheTest& t) { t.game->countdown -= 100; }},
      {"over overlapping panels the score changes", [](PanelCacheTest& t) { t.overlapPanels(); },
       [](PanelCacheTest& t) { t.game->player.score += 50; }},
      {"a tile under the countdown panel is claimed",
       [](PanelCacheTest& t) { t.panelOverFirstTile(); },
       [](PanelCacheTest& t) {
         const FloorTile& tile = t.game->floorManager.tiles().front();
         ASSERT_GT(t.game->floorManager.claimAt(static_cast<float>(tile.x + 1),
                                                static_cast<float>(tile.y - 1)), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startGame();
    ASSERT_TRUE(Game::panelShown(game->level.countdown_align));
    ASSERT_TRUE(Game::panelShown(game->level.score_align));
    c.before(*this);
    game->drawFrame();
    game->drawFrame();
    c.change(*this);
    EXPECT_EQ(compareWithFreshFrame(), "");
  }
}

}  // namespace
