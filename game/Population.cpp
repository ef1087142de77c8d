// Placing a level's elements afresh at every life start. This is the one
// place where the graphics names of a level file meet the loaded sets.
#include "game/Game.h"

#include "shell/Fatal.h"
#include "shell/Log.h"

namespace {

[[noreturn]] void missingGraphics(const std::string& name) {
  dataFailure(formatText("No graphics to correspond with name %s", name.c_str()),
              formatText("No graphics to correspond with name %s. Exiting", name.c_str()));
}

[[noreturn]] void missingSprite(const std::string& name) {
  dataFailure(formatText("No sprite to correspond with name %s", name.c_str()),
              formatText("No sprite to correspond with name %s. Exiting", name.c_str()));
}

void placeTiles(FloorManager& floors, const std::vector<TileSpec>& specs) {
  log_message("Adding floor tiles to floor manager.");
  for (size_t i = 0; i < specs.size(); ++i) {
    const TileSpec& spec = specs[i];
    int imageIndex = floors.findImage(spec.tile_name);
    if (imageIndex == -1) missingGraphics(spec.tile_name);
    int clearedIndex = floors.findClearedImage(spec.cleared_name);
    if (clearedIndex == -1) missingGraphics(spec.cleared_name);
    FloorTile tile;
    tile.x = spec.x;
    tile.y = spec.y;
    tile.tile_name = spec.tile_name;
    tile.cleared_name = spec.cleared_name;
    tile.claimable = spec.claimable;
    tile.points = spec.points;
    tile.image_index = imageIndex;
    tile.cleared_image_index = clearedIndex;
    tile.image = floors.image(imageIndex);
    tile.cleared_image = floors.clearedImage(clearedIndex);
    tile.width = tile.image->w;
    tile.height = tile.image->h;
    tile.cleared = false;
    floors.add(tile);
    log_message("Floor tile %d added to floor manager.", static_cast<int>(i));
  }
}

int placeLadders(LadderManager& ladders, const std::vector<LadderSpec>& specs) {
  log_message("Adding ladders to ladder manager.");
  for (const LadderSpec& spec : specs) {
    int imageIndex = ladders.findImage(spec.name);
    if (imageIndex == -1) missingGraphics(spec.name);
    Ladder ladder;
    ladder.x = spec.x;
    ladder.y = spec.y;
    ladder.height = spec.height;
    ladder.name = spec.name;
    ladder.image_index = imageIndex;
    ladders.add(ladder);
  }
  return ladders.createImages();
}

int placeChutes(ChuteManager& chutes, const std::vector<ChuteSpec>& specs) {
  log_message("Adding chutes to chute manager.");
  for (const ChuteSpec& spec : specs) {
    int imageIndex = chutes.findImage(spec.name);
    if (imageIndex == -1) missingGraphics(spec.name);
    Chute chute;
    chute.x = spec.x;
    chute.y = spec.y;
    chute.height = spec.height;
    chute.dx = spec.dx;
    chute.direction = spec.direction;
    chute.name = spec.name;
    chute.image_index = imageIndex;
    chute.graphic = chutes.image(imageIndex);
    chutes.add(chute);
  }
  return chutes.createImages();
}

void placeEnemies(EnemyManager& enemies, const std::vector<EnemySpec>& specs) {
  log_message("Adding enemies to enemy manager.");
  for (size_t i = 0; i < specs.size(); ++i) {
    const EnemySpec& spec = specs[i];
    Enemy enemy(spec.x, spec.y, spec.direction, spec.min_x, spec.max_x, spec.speed, spec.changes,
                spec.state, spec.safe_time, spec.points, enemies.deathSound());
    int definition = enemies.findDefinition(spec.name);
    if (definition == -1) missingSprite(spec.name);
    enemy.sprite = enemies.definitionSprite(definition);
    enemy.selectStartAnimation();
    enemies.add(enemy);
    log_message("Enemy %d added to enemy manager.", static_cast<int>(i));
  }
}

void placeItems(ItemManager& items, const std::vector<ItemSpec>& specs) {
  log_message("Adding items to item manager.");
  for (size_t i = 0; i < specs.size(); ++i) {
    const ItemSpec& spec = specs[i];
    int imageIndex = items.findImage(spec.type);
    if (imageIndex == -1) missingGraphics(spec.type);
    Item item;
    item.x = spec.x;
    item.y = spec.y;
    item.type = spec.type;
    item.points = spec.points;
    item.present = true;
    item.image_index = imageIndex;
    item.image = items.image(imageIndex);
    item.width = item.image->w;
    item.height = item.image->h;
    items.add(item);
    log_message("Item %d added to item manager.", static_cast<int>(i));
  }
}

void placeTeleporters(TeleporterManager& teleporters, const std::vector<TeleporterSpec>& specs) {
  log_message("Adding teleporters to teleporter manager.");
  for (size_t i = 0; i < specs.size(); ++i) {
    const TeleporterSpec& spec = specs[i];
    int imageIndex = teleporters.findImage(spec.name);
    if (imageIndex == -1) missingGraphics(spec.name);
    int cooldownIndex = teleporters.findCooldownImage(spec.cooldown_name);
    if (cooldownIndex == -1) missingGraphics(spec.cooldown_name);
    Teleporter teleporter;
    teleporter.x = spec.x;
    teleporter.y = spec.y;
    teleporter.name = spec.name;
    teleporter.cooldown_name = spec.cooldown_name;
    teleporter.number = spec.number;
    teleporter.image_index = imageIndex;
    teleporter.cooldown_image_index = cooldownIndex;
    teleporter.image = teleporters.image(imageIndex);
    teleporter.cooldown_image = teleporters.cooldownImage(cooldownIndex);
    teleporter.width = teleporter.image->w;
    teleporter.height = teleporter.image->h;
    teleporters.add(teleporter);
    log_message("Teleporter %d added to teleporter manager.", static_cast<int>(i));
  }
}

}  // namespace

int Game::populateLevel(LevelData data) {
  countdown = data.countdown_start;
  fallDistance = 0.0f;
  ticksSinceItem = 0;
  player.setPosition(static_cast<float>(data.start_x), static_cast<float>(data.start_y));
  // The player has exactly five animations; any other index would read
  // past them.
  if (data.start_animation < 0 || data.start_animation >= Player::animationCount) {
    dataFailure(
        formatText("Start animation %d is not a player animation (0 to 4).", data.start_animation));
  }
  player.setAnimation(data.start_animation);

  placeTiles(floorManager, data.tiles);
  // A ladder or chute image that cannot be built leaves the later kinds
  // unplaced; the builder has already said why.
  if (placeLadders(*ladderManager, data.ladders) != 0) return -1;
  if (placeChutes(*chuteManager, data.chutes) != 0) return -1;
  placeEnemies(enemyManager, data.enemies);
  placeItems(itemManager, data.items);
  placeTeleporters(teleporterManager, data.teleporters);
  return 0;
}
