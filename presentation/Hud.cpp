// Composing a frame off screen: background, level elements, player, then
// the countdown and score panels, shown in one piece.
#include <algorithm>
#include <array>
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

// What the rarely changing layers depend on, at a glance: the change stamp
// of every element owner and the few values besides. While these hold,
// nothing in the walk above can differ.
std::array<std::uint64_t, 9> staticLayersMarks(const Game& game) {
  return {reinterpret_cast<std::uintptr_t>(game.background.get()),
          static_cast<std::uint64_t>(game.width),
          static_cast<std::uint64_t>(game.height),
          game.ladderManager->stamp().value(),
          game.chuteManager->stamp().value(),
          game.itemManager.stamp().value(),
          game.teleporterManager.stamp().value(),
          game.floorManager.stamp().value(),
          game.teleportCooldownActive ? 1u : 0u};
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

// Claiming a tile changes only that tile's picture: when every entry of
// the key but some tiles' images is as before, and each of those tiles now
// shows the other image of its own pair, the areas those tiles cover are
// all that differ. Anything else is answered by composing afresh.
bool changedTiles(const Game& game, const std::vector<std::intptr_t>& before,
                  const std::vector<std::intptr_t>& now, std::vector<FrameArea>& areas) {
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

// What this frame draws again under the figures and panels: the whole
// frame, or only these areas.
struct Redrawn {
  bool whole = false;
  std::vector<FrameArea> areas;
};

// The layers composed again within each area only: the same drawing,
// clipped, gives the same pixels there for a fraction of the cost.
void recomposeAreas(Game& game, const std::vector<FrameArea>& areas, BITMAP* frame) {
  BITMAP* layers = game.staticLayers.get();
  for (const FrameArea& area : areas) {
    if (area.w <= 0 || area.h <= 0) continue;
    set_clip_rect(layers, area.x, area.y, area.x + area.w - 1, area.y + area.h - 1);
    drawStaticLayers(game, layers);
    set_clip_rect(layers, 0, 0, layers->w - 1, layers->h - 1);
    blit(layers, frame, area.x, area.y, area.x, area.y, area.w, area.h);
    game.presenter.touch(area.x, area.y, area.w, area.h);
  }
}

// Most ticks change none of the layers under the enemies and the player,
// so they are composed once and kept, and the buffer still holds them from
// the last frame wherever nothing was drawn over them. A background
// smaller than the frame leaves the rest of the buffer as the last frame
// left it; only the direct drawing reproduces that.
Redrawn refreshStaticLayers(Game& game, BITMAP* frame) {
  Redrawn redrawn;
  if (game.background->w < game.width || game.background->h < game.height) {
    drawStaticLayers(game, frame);
    game.staticLayersKey.clear();  // the next cached frame starts with a full copy
    redrawn.whole = true;
  } else {
    const std::array<std::uint64_t, 9> marks = staticLayersMarks(game);
    if (game.staticLayers && marks == game.staticLayersMarks) return redrawn;
    game.staticLayersMarks = marks;
    std::vector<std::intptr_t> key;
    key.reserve(game.staticLayersKey.size());
    staticLayersState(game, key);
    if (!game.staticLayers || key == game.staticLayersKey) {
      redrawn.whole = !game.staticLayers;
    } else if (changedTiles(game, game.staticLayersKey, key, redrawn.areas)) {
      recomposeAreas(game, redrawn.areas, frame);
    } else {
      redrawn.whole = true;
    }
    if (redrawn.whole) {
      if (!game.staticLayers) game.staticLayers.reset(create_bitmap(game.width, game.height));
      if (!game.staticLayers) dataFailure("Error creating main game buffer.");
      drawStaticLayers(game, game.staticLayers.get());
      blit(game.staticLayers.get(), frame, 0, 0, 0, 0, game.width, game.height);
    }
    game.staticLayersKey.swap(key);
  }
  if (redrawn.whole) game.presenter.touchAll();
  return redrawn;
}

// Where each figure lands, as Enemy::draw and Player::draw place it.
std::vector<FrameArea> figureAreas(const Game& game) {
  std::vector<FrameArea> areas;
  auto cover = [&areas](BITMAP* image, int x, int y) {
    if (image != nullptr) areas.push_back({x, y, image->w, image->h});
  };
  for (const Enemy& enemy : game.enemyManager.enemies()) {
    if (!enemy.alive) continue;
    cover(enemy.sprite.currentFrame(), toPixel(enemy.x) - enemy.width / 2,
          toPixel(enemy.y) - enemy.height + 1);
  }
  const Player& player = game.player;
  cover(player.sprite.currentFrame(), toPixel(player.x) - player.width / 2,
        toPixel(player.y) - player.height + 1);
  return areas;
}

// One panel's part in a frame: what it is to show, and whether it is drawn.
struct PanelStep {
  PanelCache& cache;
  PanelCache::View view;
  void (*compose)(const Game&);
  BITMAP* picture;
  bool draw = false;
};

// Which panels are drawn again, and the areas of the buffer to restore
// for them: where a drawn panel stood and where it will stand. Restoring
// one panel's area can wipe part of another, which is then drawn too.
std::vector<FrameArea> choosePanels(std::vector<PanelStep>& panels,
                                    const std::vector<FrameArea>& drawnUnder, bool whole) {
  std::vector<FrameArea> restore;
  auto take = [&restore](PanelStep& panel) {
    if (panel.cache.onBuffer()) restore.push_back(panel.cache.place());
    if (panel.view.shown) restore.push_back(panel.view.place);
    panel.draw = panel.view.shown;
  };
  for (PanelStep& panel : panels) {
    const bool drawn = panel.view.shown && (whole || panel.cache.mustDraw(panel.view, drawnUnder));
    if (drawn || (!panel.view.shown && panel.cache.onBuffer())) take(panel);
  }
  for (bool more = true; more;) {
    more = false;
    for (PanelStep& panel : panels) {
      if (panel.draw || !panel.view.shown || !overlapsAny(panel.view.place, restore)) continue;
      take(panel);
      more = true;
    }
  }
  return restore;
}

void restoreAreas(Game& game, const std::vector<FrameArea>& areas, BITMAP* frame) {
  for (const FrameArea& a : areas) {
    blit(game.staticLayers.get(), frame, a.x, a.y, a.x, a.y, a.w, a.h);
    game.presenter.touch(a.x, a.y, a.w, a.h);
  }
}

// A panel composed only when what it shows changed, drawn over the frame.
void drawPanel(Game& game, PanelStep& panel, BITMAP* frame) {
  if (!panel.view.shown) panel.cache.removed();
  if (!panel.draw) return;
  if (panel.cache.stale(panel.view)) {
    panel.compose(game);
    panel.cache.composed(panel.view);
  }
  const FrameArea& at = panel.view.place;
  draw_sprite(frame, panel.picture, at.x, at.y);
  game.presenter.touch(at.x, at.y, at.w, at.h);
  panel.cache.drawn(panel.view);
}

}  // namespace

void Game::drawFrame() {
  BITMAP* frame = buffer.get();
  const Redrawn redrawn = refreshStaticLayers(*this, frame);
  const std::vector<FrameArea> figures = figureAreas(*this);
  // Under a panel, anything drawn again this frame or the last one makes
  // its pixels on the buffer out of date.
  std::vector<FrameArea> drawnUnder = redrawn.areas;
  drawnUnder.insert(drawnUnder.end(), coveredAreas.begin(), coveredAreas.end());
  drawnUnder.insert(drawnUnder.end(), figures.begin(), figures.end());
  std::vector<PanelStep> panels = {
      {countdownPanel, countdownView(*this), composeCountdown, countdownBuffer.get()},
      {scorePanel, scoreView(*this), composeScore, scoreBuffer.get()}};
  const std::vector<FrameArea> panelAreas = choosePanels(panels, drawnUnder, redrawn.whole);
  if (!redrawn.whole) {
    restoreAreas(*this, coveredAreas, frame);
    restoreAreas(*this, panelAreas, frame);
  }
  for (const FrameArea& a : figures) presenter.touch(a.x, a.y, a.w, a.h);
  coveredAreas = figures;
  // The enemies and then the player on top, then the panels.
  enemyManager.draw(frame);
  player.draw(frame);
  for (PanelStep& panel : panels) drawPanel(*this, panel, frame);
  // Headless runs have no screen; they show frames on a bitmap of their own.
  // Only what the restored layers, figures and panels touched can differ
  // from the frame shown last.
  if (display != nullptr) presenter.show(frame, display);
}
