#include "tools/edit/LookCatalog.h"

#include "game/Game.h"

namespace {

void addSet(std::vector<std::string>& names, std::vector<BITMAP*>* images, const ImageSet& set) {
  for (int i = 0; i < set.imageCount(); ++i) {
    names.push_back(set.imageName(i));
    if (images != nullptr) images->push_back(set.image(i));
  }
}

}  // namespace

std::string pairedName(const std::vector<std::string>& second, const std::string& name) {
  for (const std::string& candidate : second) {
    if (candidate == name) return name;
  }
  return second.empty() ? std::string() : second.front();
}

LookCatalog::LookCatalog(const Game& game) {
  Looks& tiles = looks_[toolIndex(EditTool::Tile)];
  addSet(tiles.names, &tiles.images, game.floorManager.normalImages());
  addSet(clearedNames_, nullptr, game.floorManager.clearedImages());
  Looks& ladders = looks_[toolIndex(EditTool::Ladder)];
  addSet(ladders.names, &ladders.images, game.ladderManager->images());
  Looks& chutes = looks_[toolIndex(EditTool::Chute)];
  addSet(chutes.names, &chutes.images, game.chuteManager->images());
  Looks& items = looks_[toolIndex(EditTool::Item)];
  addSet(items.names, &items.images, game.itemManager.images());
  Looks& teleporters = looks_[toolIndex(EditTool::Teleporter)];
  addSet(teleporters.names, &teleporters.images, game.teleporterManager.normalImages());
  addSet(cooldownNames_, nullptr, game.teleporterManager.cooldownImages());

  Looks& enemies = looks_[toolIndex(EditTool::Enemy)];
  for (int i = 0; i < game.enemyManager.definitionCount(); ++i) {
    enemies.names.push_back(game.enemyManager.definitionName(i));
    enemies.images.push_back(game.enemyManager.definitionSprite(i).animation(0).frame(0));
  }
  Looks& start = looks_[toolIndex(EditTool::Start)];
  start.names.push_back("");
  start.images.push_back(game.player.sprite.currentFrame());
  playerAnimations_ = game.player.sprite.animationCount();
}

int LookCatalog::count(EditTool tool) const { return static_cast<int>(of(tool).names.size()); }

const std::string& LookCatalog::name(EditTool tool, int look) const {
  return of(tool).names[look];
}

int LookCatalog::find(EditTool tool, const std::string& name) const {
  const std::vector<std::string>& names = of(tool).names;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

BITMAP* LookCatalog::image(EditTool tool, int look) const { return of(tool).images[look]; }
