// Composing a frame off screen: background, level elements, player, then
// the countdown and score panels, shown in one piece.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Game.h"
#include "graphics/ImageFile.h"
#include "graphics/Pixel.h"
#include "shell/Fatal.h"
#include "shell/MediaPaths.h"

namespace {

BITMAP* loadPicture(const char* directory, const char* fileName) {
  std::string path = formatText("%s%s", directory, fileName);
  BITMAP* picture = loadImageFile(path);
  if (picture == nullptr) dataFailure(formatText("Error loading \"%s\".", path.c_str()));
  return picture;
}

FONT* loadHudFont(const char* fileName) {
  std::string path = formatText("%s%s", fontDir, fileName);
  FONT* loaded = loadFontFile(path);
  if (loaded == nullptr) dataFailure(formatText("Error loading \"%s\".", path.c_str()));
  return loaded;
}

// Everything the pixels of the rarely changing layers depend on: where
// each element stands and which image it shows. Built images (ladders,
// chutes) are identified by their pointer together with what they were
// built from, so an address that a rebuilt image happens to reuse still
// tells a different image apart.
void staticLayersState(const Game& game, std::vector<std::intptr_t>& key) {
  auto add = [&key](auto value) { key.push_back(static_cast<std::intptr_t>(value)); };
  auto addPointer = [&key](const void* p) { key.push_back(reinterpret_cast<std::intptr_t>(p)); };
  key.clear();
  addPointer(game.background.get());
  add(game.width);
  add(game.height);
  add(game.ladderManager->ladders().size());
  for (const Ladder& ladder : game.ladderManager->ladders()) {
    add(ladder.x);
    add(ladder.y);
    add(ladder.height);
    add(ladder.image_index);
    addPointer(ladder.image.get());
  }
  add(game.chuteManager->chutes().size());
  for (const Chute& chute : game.chuteManager->chutes()) {
    add(chute.x);
    add(chute.y);
    add(chute.width);
    add(chute.height);
    add(chute.dx);
    add(chute.direction);
    add(chute.image_index);
    addPointer(chute.image.get());
  }
  add(game.itemManager.items().size());
  for (const Item& item : game.itemManager.items()) {
    add(item.x);
    add(item.y);
    add(item.present);
    addPointer(item.image);
  }
  add(game.teleporterManager.teleporters().size());
  for (const Teleporter& teleporter : game.teleporterManager.teleporters()) {
    add(teleporter.x);
    add(teleporter.y);
    addPointer(game.teleportCooldownActive ? teleporter.cooldown_image : teleporter.image);
  }
  add(game.floorManager.tiles().size());
  for (const FloorTile& tile : game.floorManager.tiles()) {
    add(tile.x);
    add(tile.y);
    addPointer(tile.cleared ? tile.cleared_image : tile.image);
  }
}

// Background and the layers under the moving figures, in drawing order:
// floors over the structures, items and teleporters.
void drawStaticLayers(const Game& game, BITMAP* target) {
  BITMAP* back = game.background.get();
  blit(back, target, 0, 0, 0, 0, back->w, back->h);
  game.ladderManager->draw(target);
  game.chuteManager->draw(target);
  game.itemManager.draw(target);
  game.teleporterManager.draw(target, game.teleportCooldownActive);
  game.floorManager.draw(target);
}

// The countdown on its panel, aligned as the level asks. Numbers are
// formatted first and printed as plain text, never used as a format.
void drawCountdownPanel(const Game& game, BITMAP* frame) {
  const LevelData& level = game.level;
  BITMAP* panel = game.countdownBuffer.get();
  FONT* panelFont = game.countdownFont.get();
  std::string text = formatText("%d", game.countdown);
  blit(game.countdownBackground.get(), panel, 0, 0, 0, 0, panel->w, panel->h);
  int textLength = text_length(panelFont, text.c_str());
  int textY = (panel->h - text_height(panelFont)) / 2;
  int textX = 0;
  if (level.countdown_align == 1) textX = panel->w - textLength;
  if (level.countdown_align == 2) textX = (panel->w - textLength) / 2;
  textprintf_ex(panel, panelFont, textX, textY, 0, -1, "%s", text.c_str());
  draw_sprite(frame, panel, level.countdown_x, level.countdown_y);
}

// The score and one pip per spare life on their panel.
void drawScorePanel(const Game& game, BITMAP* frame) {
  const LevelData& level = game.level;
  BITMAP* panel = game.scoreBuffer.get();
  FONT* panelFont = game.scoreFont.get();
  BITMAP* pip = game.lifePip.get();
  std::string text = formatText("%d", game.player.score);
  blit(game.scoreBackground.get(), panel, 0, 0, 0, 0, panel->w, panel->h);

  const int lives = game.player.lives;
  const int pips = lives > 1 ? lives - 1 : 0;  // spare lives only
  const int stride = pip->w + level.pip_spacing;
  const int textLength = text_length(panelFont, text.c_str());
  const int panelWidth = panel->w;
  const int pipY = (panel->h - pip->h) / 2;

  // Left: text, gap and pips from the left edge. Right: pips end one
  // spacing short of the right edge, the text a gap before them. Centred:
  // the same block in the middle.
  int textX = 0;
  const int block = stride * pips + textLength + level.pip_offset;
  if (level.score_align == 1) textX = panelWidth - block;
  if (level.score_align == 2) textX = (panelWidth - block) / 2;
  textprintf_ex(panel, panelFont, textX, (panel->h - text_height(panelFont)) / 2, 0, -1, "%s",
                text.c_str());

  for (int k = 1; k <= pips; ++k) {
    if (level.score_align == 0) {
      draw_sprite(panel, pip, textLength + level.pip_offset + stride * (k - 1), pipY);
    } else if (level.score_align == 1) {
      draw_sprite(panel, pip, panelWidth - stride * k, pipY);
    } else {
      // The centred layout blends its pips through their own alpha.
      draw_trans_sprite(panel, pip, panelWidth - textX - stride * lives + stride * k, pipY);
    }
  }
  draw_sprite(frame, panel, level.score_x, level.score_y);
}

}  // namespace

bool Game::panelShown(int align) { return align >= 0 && align <= 2; }

void Game::loadHud() {
  buffer.reset(create_bitmap(width, height));
  if (!buffer) dataFailure("Error creating main game buffer.");
  background.reset(loadPicture(staticGfxDir, "back.png"));
  countdownBackground.reset(loadPicture(staticGfxDir, "countdown_back.png"));
  countdownBuffer.reset(create_bitmap(countdownBackground->w, countdownBackground->h));
  if (!countdownBuffer) {
    dataFailure("Error creating countdown buffer.", "Error creating countown buffer.");
  }
  scoreBackground.reset(loadPicture(staticGfxDir, "score_back.png"));
  scoreBuffer.reset(create_bitmap(scoreBackground->w, scoreBackground->h));
  if (!scoreBuffer) dataFailure("Error creating score buffer.");
  lifePip.reset(loadPicture(staticGfxDir, "life_pip.png"));
  countdownFont.reset(loadHudFont("countdown_fnt.png"));
  scoreFont.reset(loadHudFont("score_fnt.png"));
}

namespace {

struct Area {
  int x, y, w, h;
};

// Claiming a tile changes only that tile's picture: when every entry of
// the key but some tiles' images is as before, and each of those tiles now
// shows the other image of its own pair, the areas those tiles cover are
// all that differ. Anything else is answered by composing afresh.
bool changedTiles(const Game& game, const std::vector<std::intptr_t>& before,
                  const std::vector<std::intptr_t>& now, std::vector<Area>& areas) {
  const std::vector<FloorTile>& tiles = game.floorManager.tiles();
  if (before.size() != now.size() || now.size() < 3 * tiles.size()) return false;
  const size_t first = now.size() - 3 * tiles.size();
  if (!std::equal(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(first), before.begin())) {
    return false;
  }
  areas.clear();
  for (size_t i = 0; i < tiles.size(); ++i) {
    const size_t at = first + 3 * i;
    if (before[at + 2] == now[at + 2]) continue;
    const FloorTile& tile = tiles[i];
    const auto shown = [&](std::intptr_t p) {
      return p == reinterpret_cast<std::intptr_t>(tile.image) ||
             p == reinterpret_cast<std::intptr_t>(tile.cleared_image);
    };
    if (before[at] != now[at] || before[at + 1] != now[at + 1] || !shown(before[at + 2])) {
      return false;
    }
    int w = 0;
    int h = 0;
    for (BITMAP* image : {tile.image, tile.cleared_image}) {
      if (image == nullptr) continue;
      w = std::max(w, image->w);
      h = std::max(h, image->h);
    }
    areas.push_back({static_cast<int>(now[at]), static_cast<int>(now[at + 1]), w, h});
  }
  return true;
}

// The layers composed again within each area only: the same drawing,
// clipped, gives the same pixels there for a fraction of the cost.
void recomposeAreas(Game& game, const std::vector<Area>& areas, BITMAP* frame) {
  BITMAP* layers = game.staticLayers.get();
  for (const Area& area : areas) {
    if (area.w <= 0 || area.h <= 0) continue;
    set_clip_rect(layers, area.x, area.y, area.x + area.w - 1, area.y + area.h - 1);
    drawStaticLayers(game, layers);
    set_clip_rect(layers, 0, 0, layers->w - 1, layers->h - 1);
    blit(layers, frame, area.x, area.y, area.x, area.y, area.w, area.h);
    game.presenter.touch(area.x, area.y, area.w, area.h);
  }
}

// Most ticks change none of the layers under the enemies and the player,
// so they are composed once and kept. The buffer then still holds them
// from the last frame except where figures and panels covered them, and
// only those areas are restored. A background smaller than the frame
// leaves the rest of the buffer as the last frame left it; only the
// direct drawing reproduces that.
void restoreStaticLayers(Game& game, BITMAP* frame) {
  if (game.background->w < game.width || game.background->h < game.height) {
    drawStaticLayers(game, frame);
    game.staticLayersKey.clear();  // the next cached frame starts with a full copy
    game.presenter.touchAll();
    return;
  }
  std::vector<std::intptr_t> key;
  key.reserve(game.staticLayersKey.size());
  staticLayersState(game, key);
  std::vector<Area> claimed;
  if (game.staticLayers && key != game.staticLayersKey &&
      changedTiles(game, game.staticLayersKey, key, claimed)) {
    recomposeAreas(game, claimed, frame);
    game.staticLayersKey.swap(key);
  } else if (!game.staticLayers || key != game.staticLayersKey) {
    if (!game.staticLayers) game.staticLayers.reset(create_bitmap(game.width, game.height));
    if (!game.staticLayers) dataFailure("Error creating main game buffer.");
    drawStaticLayers(game, game.staticLayers.get());
    game.staticLayersKey.swap(key);
    blit(game.staticLayers.get(), frame, 0, 0, 0, 0, game.width, game.height);
    game.presenter.touchAll();
    return;
  }
  const std::vector<int>& areas = game.coveredAreas;
  for (size_t i = 0; i + 3 < areas.size(); i += 4) {
    blit(game.staticLayers.get(), frame, areas[i], areas[i + 1], areas[i], areas[i + 1],
         areas[i + 2], areas[i + 3]);
    game.presenter.touch(areas[i], areas[i + 1], areas[i + 2], areas[i + 3]);
  }
}

// Where each figure and panel lands, as Enemy::draw, Player::draw and the
// panel code place them.
void recordCoveredAreas(Game& game) {
  std::vector<int>& areas = game.coveredAreas;
  areas.clear();
  auto cover = [&areas, &game](BITMAP* image, int x, int y) {
    if (image == nullptr) return;
    areas.insert(areas.end(), {x, y, image->w, image->h});
    game.presenter.touch(x, y, image->w, image->h);
  };
  for (const Enemy& enemy : game.enemyManager.enemies()) {
    if (!enemy.alive) continue;
    cover(enemy.sprite.currentFrame(), toPixel(enemy.x) - enemy.width / 2,
          toPixel(enemy.y) - enemy.height + 1);
  }
  const Player& player = game.player;
  cover(player.sprite.currentFrame(), toPixel(player.x) - player.width / 2,
        toPixel(player.y) - player.height + 1);
  const LevelData& level = game.level;
  if (Game::panelShown(level.countdown_align)) {
    cover(game.countdownBuffer.get(), level.countdown_x, level.countdown_y);
  }
  if (Game::panelShown(level.score_align)) {
    cover(game.scoreBuffer.get(), level.score_x, level.score_y);
  }
}

}  // namespace

void Game::drawFrame() {
  BITMAP* frame = buffer.get();
  restoreStaticLayers(*this, frame);
  recordCoveredAreas(*this);
  // The enemies and then the player on top, then the panels.
  enemyManager.draw(frame);
  player.draw(frame);
  if (panelShown(level.countdown_align)) drawCountdownPanel(*this, frame);
  if (panelShown(level.score_align)) drawScorePanel(*this, frame);
  // Headless runs have no screen; they show frames on a bitmap of their own.
  // Only what the restored layers, figures and panels touched can differ
  // from the frame shown last.
  if (display != nullptr) presenter.show(frame, display);
}
