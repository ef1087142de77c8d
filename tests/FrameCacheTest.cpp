// Frames composed with the cached lower layers against frames drawn layer
// by layer, pixel for pixel, tick by tick through every shipped level, and
// at each change that must refresh the cache: an item taken, a tile
// claimed, the teleporter cooldown look, a new life and a new level.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "tests/support/Headless.h"
#include "tests/support/Replay.h"

namespace fs = std::filesystem;

namespace {

const char* const levels[] = {"level1.inf", "level2.inf", "level3.inf", "level4.inf"};

// The shipped media tree, copied into the test's own directory.
class ShippedGame : public ::testing::Test {
 protected:
  void SetUp() override {
    source = tree.copyShippedMedia();
    ASSERT_FALSE(source.empty()) << "PWE_SOURCE_DIR must name the repository root";
    game = std::make_unique<Game>(640, 480, 100);
    shown.reset(create_bitmap(640, 480));
    expected.reset(create_bitmap(640, 480));
    game->output.display = shown.get();
  }
  void TearDown() override {
    if (game) releaseAllKeys(*game);
    game.reset();
  }

  // The panels are drawn after the cached layers whatever happens to them;
  // hiding them lets the whole frame be compared.
  void startLevel(const char* level) {
    game->startLevel(level);
    game->level.countdown_align = 3;
    game->level.score_align = 3;
  }

  // Every layer drawn straight onto the frame, in the game's order.
  void drawDirectly() {
    BITMAP* b = expected.get();
    blit(game->background.get(), b, 0, 0, 0, 0, game->background->w, game->background->h);
    game->ladderManager->draw(b);
    game->chuteManager->draw(b);
    game->itemManager.draw(b);
    game->teleporterManager.draw(b, game->teleportCooldownActive);
    game->floorManager.draw(b);
    game->enemyManager.draw(b);
    game->player.draw(b);
  }

  // First differing pixel as text, or empty when the frames are equal.
  std::string compareFrame() {
    game->drawFrame();
    drawDirectly();
    for (int y = 0; y < 480; ++y) {
      if (std::memcmp(shown->line[y], expected->line[y], 640 * 4) == 0) continue;
      for (int x = 0; x < 640; ++x) {
        if (getpixel(shown.get(), x, y) != getpixel(expected.get(), x, y)) {
          return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") differs";
        }
      }
    }
    return "";
  }

  // Whether two frames differ anywhere inside a rectangle.
  static bool differsIn(BITMAP* a, BITMAP* b, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y) {
      for (int x = x0; x < x0 + w; ++x) {
        if (getpixel(a, x, y) != getpixel(b, x, y)) return true;
      }
    }
    return false;
  }

  BitmapPtr copyOfShown() {
    BitmapPtr copy(create_bitmap(640, 480));
    blit(shown.get(), copy.get(), 0, 0, 0, 0, 640, 480);
    return copy;
  }

  MediaTree tree;
  std::string source;
  std::unique_ptr<Game> game;
  BitmapPtr shown;
  BitmapPtr expected;
};

// The recorded route when there is one for this media tree, otherwise
// walking, jumping and climbing both ways.
std::vector<std::string> inputFor(const std::string& source, const std::string& level) {
  Replay replay;
  std::string error;
  const std::string path = source + "/tests/replays/" + level.substr(0, level.find('.')) + ".replay";
  std::vector<std::string> keys;
  if (readReplay(path, replay, error) && staleReplayReason(replay).empty()) {
    for (int t = 0; t < replay.tickCount(); ++t) keys.push_back(replay.keysAt(t));
    return keys;
  }
  const std::pair<const char*, int> pattern[] = {{"R", 120}, {"RJ", 1}, {"-", 60}, {"U", 50},
                                                 {"L", 160}, {"LJ", 1}, {"-", 60}, {"D", 50},
                                                 {"J", 1},   {"-", 40}, {"R", 200}};
  for (const auto& [held, ticks] : pattern) keys.insert(keys.end(), ticks, held);
  return keys;
}

TEST_F(ShippedGame, EveryFrameOfEveryShippedLevelMatchesLayerByLayerDrawing) {
  for (const char* level : levels) {
    SCOPED_TRACE(level);
    startLevel(level);
    game->beginLife();
    ASSERT_EQ(compareFrame(), "") << "first frame";
    const std::vector<std::string> keys = inputFor(source, level);
    int claims = 0;
    for (size_t t = 0; t < keys.size(); ++t) {
      const int tilesBefore = game->floorManager.tilesLeft();
      applyKeys(*game, keys[t]);
      if (game->tick()) {
        if (game->levelDone) break;
        game->beginLife();
      }
      if (game->floorManager.tilesLeft() != tilesBefore) ++claims;
      ASSERT_EQ(compareFrame(), "") << "tick " << t;
    }
    releaseAllKeys(*game);
    // The walk must have changed the floor, or the cache was never tested.
    EXPECT_GT(claims, 0);
  }
}

// With the panels on show, a frame built on the last one (only the areas
// that figures and panels covered restored) equals one composed afresh.
TEST_F(ShippedGame, FramesBuiltOnTheLastOneEqualFreshFramesWithPanelsShown) {
  for (const char* level : levels) {
    SCOPED_TRACE(level);
    game->startLevel(level);
    ASSERT_TRUE(game->level.countdown_align >= 0 && game->level.countdown_align <= 2);
    game->beginLife();
    game->drawFrame();
    // The first thousand ticks take in walking, jumping, items and claims
    // at half the cost of the whole route.
    const std::vector<std::string> keys = inputFor(source, level);
    for (size_t t = 0; t < keys.size() && t < 1000; ++t) {
      applyKeys(*game, keys[t]);
      if (game->tick()) {
        if (game->levelDone) break;
        game->beginLife();
      }
      game->drawFrame();
      BitmapPtr built = copyOfShown();
      game->frameCache.staticLayers.reset();  // the next frame is composed from scratch
      game->drawFrame();
      for (int y = 0; y < 480; ++y) {
        ASSERT_EQ(std::memcmp(built->line[y], shown->line[y], 640 * 4), 0)
            << "tick " << t << ", row " << y;
      }
    }
    releaseAllKeys(*game);
  }
}

TEST_F(ShippedGame, EachChangeToTheLowerLayersReachesTheNextFrame) {
  startLevel("level3.inf");
  game->beginLife();
  ASSERT_FALSE(game->floorManager.tiles().empty());
  ASSERT_FALSE(game->teleporterManager.teleporters().empty());
  ASSERT_FALSE(game->itemManager.items().empty());
  ASSERT_EQ(compareFrame(), "");

  // A claimed tile shows its cleared look.
  const FloorTile tile = game->floorManager.tiles().front();
  ASSERT_GT(game->floorManager.claimAt(static_cast<float>(tile.x + 1),
                                       static_cast<float>(tile.y - 1)), 0);
  BitmapPtr before = copyOfShown();
  ASSERT_EQ(compareFrame(), "") << "after a claim";
  if (tile.image != tile.cleared_image) {
    EXPECT_TRUE(differsIn(before.get(), shown.get(), tile.x, tile.y, tile.width, tile.height));
  }

  // The teleporters' cooldown look, on and off again.
  const Teleporter pad = game->teleporterManager.teleporters().front();
  for (bool cooldown : {true, false}) {
    before = copyOfShown();
    game->teleportCooldownActive = cooldown;
    ASSERT_EQ(compareFrame(), "") << "cooldown " << cooldown;
    if (pad.image != pad.cooldown_image) {
      EXPECT_TRUE(differsIn(before.get(), shown.get(), pad.x, pad.y, pad.width, pad.height));
    }
  }

  // An item taken by the player disappears.
  const Item item = game->itemManager.items().front();
  game->player.setPosition(static_cast<float>(item.x + item.width / 2),
                           static_cast<float>(item.y + item.height - 1));
  before = copyOfShown();
  game->tick();
  ASSERT_FALSE(game->itemManager.items().front().present);
  ASSERT_EQ(compareFrame(), "") << "after the item";
  EXPECT_TRUE(differsIn(before.get(), shown.get(), item.x, item.y, item.width, item.height));

  // A new life puts the item and the tile back; a new level shows its own.
  game->beginLife();
  ASSERT_EQ(compareFrame(), "") << "new life";
  ASSERT_TRUE(game->itemManager.items().front().present);
  startLevel("level4.inf");
  game->beginLife();
  ASSERT_EQ(compareFrame(), "") << "new level";
}

}  // namespace
