// Turning a level file into the elements of the six managers at every life
// start, and refusing names that match no graphics.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "shell/Log.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"

namespace {

class PopulationTest : public testing::Test {
 protected:
  std::unique_ptr<Game> play(const LevelText& level) {
    tree.writeLevel("level1.inf", level.str());
    auto game = std::make_unique<Game>(640, 480, 100);
    game->startLevel("level1.inf");
    game->beginLife();
    return game;
  }

  GameTree tree;
};

TEST_F(PopulationTest, PlacesEveryKindInFileOrderWithItsRecordAndImages) {
  LevelText level;
  level.countdown = 1234;
  level.start = "300 199 4";
  level.tiles = {"0 300 brick brick_clear 1 10", "32 300 brick brick_clear 0 20"};
  level.ladders = {"200 100 64 rungs"};
  level.chutes = {"400 100 64 16 0 step"};
  level.items = {"50 280 gem 500", "70 280 gem 600"};
  level.teleporters = {"500 268 pad pad_cool 1", "560 268 pad pad_cool 1"};
  auto game = play(level);

  EXPECT_EQ(game->countdown, 1234);
  EXPECT_EQ(game->ticksSinceItem, 0);
  EXPECT_EQ(game->fallDistance, 0.0f);
  EXPECT_EQ(game->player.x, 300.0f);
  EXPECT_EQ(game->player.y, 199.0f);
  EXPECT_EQ(game->player.sprite.animationIndex(), Player::climb);

  const auto& tiles = game->floorManager.tiles();
  ASSERT_EQ(tiles.size(), 2u);
  EXPECT_EQ(tiles[1].x, 32);
  EXPECT_EQ(tiles[1].y, 300);
  EXPECT_EQ(tiles[1].tile_name, "brick");
  EXPECT_EQ(tiles[1].cleared_name, "brick_clear");
  EXPECT_EQ(tiles[1].claimable, 0);
  EXPECT_EQ(tiles[1].points, 20);
  EXPECT_EQ(tiles[1].image, game->floorManager.image(tiles[1].image_index));
  EXPECT_EQ(tiles[1].cleared_image, game->floorManager.clearedImage(tiles[1].cleared_image_index));
  EXPECT_EQ(tiles[1].width, GameTree::tileWidth);
  EXPECT_EQ(tiles[1].height, GameTree::tileHeight);
  EXPECT_FALSE(tiles[0].cleared);
  EXPECT_EQ(game->floorManager.tilesLeft(), 1);

  const auto& ladders = game->ladderManager->ladders();
  ASSERT_EQ(ladders.size(), 1u);
  EXPECT_EQ(ladders[0].height, 64);
  EXPECT_EQ(ladders[0].name, "rungs");
  EXPECT_EQ(ladders[0].width, GameTree::ladderGraphic) << "its image was built";
  ASSERT_TRUE(ladders[0].image);
  EXPECT_EQ(ladders[0].image->h, 64);

  const auto& chutes = game->chuteManager->chutes();
  ASSERT_EQ(chutes.size(), 1u);
  EXPECT_EQ(chutes[0].x, 400);
  EXPECT_EQ(chutes[0].dx, 16);
  EXPECT_EQ(chutes[0].direction, 0);
  EXPECT_EQ(chutes[0].graphic, game->chuteManager->image(chutes[0].image_index));
  EXPECT_TRUE(chutes[0].image) << "its image was built";

  const auto& items = game->itemManager.items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].points, 500);
  EXPECT_EQ(items[1].x, 70);
  EXPECT_EQ(items[1].type, "gem");
  EXPECT_TRUE(items[1].present);
  EXPECT_EQ(items[1].image, game->itemManager.image(items[1].image_index));
  EXPECT_EQ(items[1].width, GameTree::itemSize);

  // Two pads with the same number are both placed.
  const auto& pads = game->teleporterManager.teleporters();
  ASSERT_EQ(pads.size(), 2u);
  EXPECT_EQ(pads[1].x, 560);
  EXPECT_EQ(pads[1].number, 1);
  EXPECT_EQ(pads[1].cooldown_name, "pad_cool");
  EXPECT_EQ(pads[1].image, game->teleporterManager.image(pads[1].image_index));
  EXPECT_EQ(pads[1].cooldown_image,
            game->teleporterManager.cooldownImage(pads[1].cooldown_image_index));
  EXPECT_EQ(pads[1].width, GameTree::teleporterWidth);
  EXPECT_EQ(pads[1].height, GameTree::teleporterHeight);
}

TEST_F(PopulationTest, EnemiesStartInTheAnimationOfTheirStateAndDirection) {
  struct Case {
    int state;
    int direction;
    int animation;
  } cases[] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 2}, {1, 1, 3}, {0, 2, 3}};
  LevelText level;
  for (const Case& c : cases) {
    level.enemies.push_back("300 299 " + std::to_string(c.direction) + " 0 600 1.5 1 " +
                            std::to_string(c.state) + " blob 100 50");
  }
  auto game = play(level);
  const auto& enemies = game->enemyManager.enemies();
  ASSERT_EQ(enemies.size(), 5u);
  for (size_t i = 0; i < enemies.size(); ++i) {
    EXPECT_EQ(enemies[i].sprite.animationIndex(), cases[i].animation) << i;
    EXPECT_EQ(enemies[i].state, cases[i].state) << i;
    EXPECT_EQ(enemies[i].speed, 1.5f);
    EXPECT_EQ(enemies[i].points, 50);
    EXPECT_EQ(enemies[i].width, GameTree::enemySize);
    // One death sound for them all.
    EXPECT_EQ(enemies[i].death_sample, game->enemyManager.deathSound());
  }
}

// Every life lays the level out afresh: claimed tiles, collected items and
// killed enemies are back.
TEST_F(PopulationTest, EveryLifePlacesEverythingAgain) {
  LevelText level;
  level.tiles = {"96 300 brick brick_clear 1 10", "400 300 brick brick_clear 1 10"};
  level.items = {"100 290 gem 500"};
  level.enemies = {"104 299 0 0 600 0 1 1 blob 100 50"};
  auto game = play(level);
  game->tick();
  ASSERT_EQ(game->floorManager.tilesLeft(), 1);
  ASSERT_FALSE(game->itemManager.items()[0].present);
  ASSERT_FALSE(game->enemyManager.enemies()[0].alive);

  game->beginLife();
  EXPECT_EQ(game->floorManager.tilesLeft(), 2);
  EXPECT_EQ(game->floorManager.tiles().size(), 2u);
  EXPECT_FALSE(game->floorManager.tiles()[0].cleared);
  ASSERT_EQ(game->itemManager.items().size(), 1u);
  EXPECT_TRUE(game->itemManager.items()[0].present);
  ASSERT_EQ(game->enemyManager.enemies().size(), 1u);
  EXPECT_TRUE(game->enemyManager.enemies()[0].alive);
}

TEST_F(PopulationTest, EmptyLevelPlacesOnlyThePlayerAndIsClearedInTheFirstTick) {
  LevelText level;
  level.start = "50 60 0";
  auto game = play(level);
  EXPECT_EQ(game->player.x, 50.0f);
  EXPECT_EQ(game->player.sprite.animationIndex(), Player::walkLeft);
  EXPECT_EQ(game->floorManager.tilesLeft(), 0);
  EXPECT_TRUE(game->tick());
  EXPECT_TRUE(game->levelDone);
}

// A name that its set does not hold (letter case counts) ends the program
// naming it: the message box on standard error, the log with " Exiting".
TEST_F(PopulationTest, NamesWithoutGraphicsEndTheProgram) {
  struct Case {
    std::vector<std::string> LevelText::*list;
    std::string line;
    std::string box;
  } cases[] = {
      {&LevelText::tiles, "0 300 Brick brick_clear 1 10", "No graphics to correspond with name Brick"},
      {&LevelText::tiles, "0 300 brick brick_gone 1 10", "No graphics to correspond with name brick_gone"},
      {&LevelText::ladders, "10 10 40 rope", "No graphics to correspond with name rope"},
      {&LevelText::chutes, "10 10 40 8 0 slide", "No graphics to correspond with name slide"},
      {&LevelText::items, "10 10 ruby 5", "No graphics to correspond with name ruby"},
      {&LevelText::teleporters, "10 10 door pad_cool 1", "No graphics to correspond with name door"},
      {&LevelText::teleporters, "10 10 pad door_cool 1", "No graphics to correspond with name door_cool"},
      {&LevelText::enemies, "10 10 0 0 100 1 0 0 ghost 10 10", "No sprite to correspond with name ghost"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    LevelText level;
    (level.*c.list).push_back(c.line);
    tree.writeLevel("level1.inf", level.str());
    Game game(640, 480, 100);
    game.startLevel("level1.inf");
    std::remove("failure.log");
    EXPECT_EXIT(
        {
          setenv("PWE_LOG", "1", 1);
          log_open("failure.log");
          game.populateLevel(game.level);
        },
        testing::ExitedWithCode(1), c.box);
    EXPECT_EQ(lastLine("failure.log"), c.box + ". Exiting");
  }
}

// The player has five animations; a level asking for another is refused
// instead of reading past them.
TEST_F(PopulationTest, StartAnimationOutsideThePlayersFiveIsRefused) {
  for (int animation : {5, -1}) {
    LevelText level;
    level.start = "100 299 " + std::to_string(animation);
    tree.writeLevel("level1.inf", level.str());
    Game game(640, 480, 100);
    game.startLevel("level1.inf");
    EXPECT_EXIT(game.populateLevel(game.level), testing::ExitedWithCode(1),
                "Start animation " + std::to_string(animation) +
                    " is not a player animation \\(0 to 4\\)\\.");
  }
}

}  // namespace
