// A figure or panel left standing on the buffer from the last frame must
// look exactly as one drawn afresh would, whatever changed: its value, its
// picture, its place, a figure, panel or tile under or over it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "game/Game.h"
#include "graphics/Pixel.h"
#include "presentation/Panels.h"
#include "tests/support/Headless.h"

namespace {

class KeptPictureTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_FALSE(tree.copyShippedMedia().empty()) << "PWE_SOURCE_DIR must name the repository root";
    shown.reset(create_bitmap(640, 480));
  }

  void startGame() {
    game.reset();
    game = std::make_unique<Game>(640, 480, 100);
    game->output.display = shown.get();
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
    game->frameCache.staticLayers.reset();
    game->frameCache.keptFigures.clear();
    game->frameCache.countdownPanel = KeptPicture();
    game->frameCache.scorePanel = KeptPicture();
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

  Enemy& enemy() { return game->enemyManager.enemies().front(); }
  FrameArea enemyArea() {
    const Enemy& e = enemy();
    const FigureCorner at = figureCorner(e.x, e.y, e.width, e.height);
    return figureView(e.sprite.currentFrame(), at, game->enemyManager.stamp().value()).place;
  }

  // Animates the enemy until it shows another picture.
  void nextEnemyPicture() {
    const BITMAP* before = enemy().sprite.currentFrame();
    for (int t = 0; t < 1000 && enemy().sprite.currentFrame() == before; ++t) {
      enemy().sprite.advance();
    }
    ASSERT_NE(enemy().sprite.currentFrame(), before);
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

TEST_F(KeptPictureTest, APictureKeptFromTheLastFrameEqualsOneDrawnAfresh) {
  struct Case {
    const char* what;
    std::function<void(KeptPictureTest&)> before;  // then two frames
    std::function<void(KeptPictureTest&)> change;  // then the frame compared
  };
  const auto nothing = [](KeptPictureTest&) {};
  const Case cases[] = {
      {"nothing changes", nothing, nothing},
      {"the player steps into the countdown panel", nothing,
       [](KeptPictureTest& t) { t.standIn(t.countdownArea()); }},
      {"the player leaves the score panel", [](KeptPictureTest& t) { t.standIn(t.scoreArea()); },
       [](KeptPictureTest& t) { t.game->player.setPosition(320.0f, 300.0f); }},
      {"the player walks onto an enemy", nothing,
       [](KeptPictureTest& t) { t.standIn(t.enemyArea()); }},
      {"the player leaves an enemy", [](KeptPictureTest& t) { t.standIn(t.enemyArea()); },
       [](KeptPictureTest& t) { t.game->player.setPosition(320.0f, 300.0f); }},
      {"an enemy moves a pixel", nothing, [](KeptPictureTest& t) { t.enemy().x += 1.0f; }},
      {"an enemy shows its next picture", nothing,
       [](KeptPictureTest& t) { t.nextEnemyPicture(); }},
      {"an enemy under the player shows its next picture",
       [](KeptPictureTest& t) { t.standIn(t.enemyArea()); },
       [](KeptPictureTest& t) { t.nextEnemyPicture(); }},
      {"an enemy dies", nothing, [](KeptPictureTest& t) { t.enemy().alive = false; }},
      {"an enemy walks under the score panel", nothing,
       [](KeptPictureTest& t) {
         const FrameArea panel = t.scoreArea();
         t.enemy().x = static_cast<float>(panel.x + panel.w / 2);
         t.enemy().y = static_cast<float>(panel.y + panel.h / 2);
       }},
      {"the countdown goes down", nothing, [](KeptPictureTest& t) { t.game->countdown -= 100; }},
      {"the score goes up", nothing, [](KeptPictureTest& t) { t.game->player.score += 50; }},
      {"a life is lost", nothing, [](KeptPictureTest& t) { t.game->player.lives -= 1; }},
      {"the pips are centred", nothing, [](KeptPictureTest& t) { t.game->level.score_align = 2; }},
      {"the countdown panel moves", nothing,
       [](KeptPictureTest& t) { t.game->level.countdown_x += 30; }},
      {"the score panel is hidden", nothing, [](KeptPictureTest& t) { t.game->level.score_align = 3; }},
      {"the score panel is shown again", [](KeptPictureTest& t) { t.game->level.score_align = 3; },
       [](KeptPictureTest& t) { t.game->level.score_align = 0; }},
      {"under overlapping panels the countdown changes",
       [](KeptPictureTest& t) { t.overlapPanels(); },
       [](KeptPictureTest& t) { t.game->countdown -= 100; }},
      {"over overlapping panels the score changes", [](KeptPictureTest& t) { t.overlapPanels(); },
       [](KeptPictureTest& t) { t.game->player.score += 50; }},
      {"a tile under the countdown panel is claimed",
       [](KeptPictureTest& t) { t.panelOverFirstTile(); },
       [](KeptPictureTest& t) {
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
    ASSERT_FALSE(game->enemyManager.enemies().empty());
    c.before(*this);
    game->drawFrame();
    game->drawFrame();
    c.change(*this);
    EXPECT_EQ(compareWithFreshFrame(), "");
  }
}

}  // namespace
