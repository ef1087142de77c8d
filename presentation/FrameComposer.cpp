// Composing the whole frame off screen: the background and the level's
// elements (kept as composed while they do not change), the enemies and the
// player, then the countdown and score panels; then showing what changed.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/Game.h"
#include "graphics/ImageFile.h"
#include "graphics/Pixel.h"
#include "presentation/Panels.h"
#include "presentation/StaticLayers.h"
#include "shell/Fatal.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"

namespace {

BITMAP* loadPicture(const char* directory, const char* fileName) {
  std::string path = mediaPath(formatText("%s%s", directory, fileName));
  BITMAP* picture = loadImageFile(path);
  if (picture == nullptr) dataFailure(formatText("Error loading \"%s\".", path.c_str()));
  return picture;
}

// PWE_REDRAW_ALL set to anything but nothing or "0".
bool redrawAllRequested() {
  const char* value = std::getenv("PWE_REDRAW_ALL");
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

FONT* loadHudFont(const char* fileName) {
  std::string path = mediaPath(formatText("%s%s", fontDir, fileName));
  FONT* loaded = loadFontFile(path);
  if (loaded == nullptr) dataFailure(formatText("Error loading \"%s\".", path.c_str()));
  return loaded;
}

}  // namespace

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
  output.redrawAll = redrawAllRequested();
}

namespace {

// Claiming a tile changes only that tile's picture: when every entry of
// the key but some tiles' images is as before, and each of those tiles now
// shows the other image of its own pair, the areas those tiles cover are
// all that differ. Anything else is answered by composing afresh.
bool changedTiles(const Game& game, const std::vector<std::intptr_t>& before,
                  const std::vector<std::intptr_t>& now, std::vector<FrameArea>& areas) {
  const std::vector<FloorTile>& tiles = game.floorManager.tiles();
  if (before.size() != now.size() || now.size() < tileKeyValues * tiles.size()) return false;
  const size_t first = now.size() - tileKeyValues * tiles.size();
  if (!std::equal(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(first), before.begin())) {
    return false;
  }
  areas.clear();
  for (size_t i = 0; i < tiles.size(); ++i) {
    const size_t at = first + tileKeyValues * i;
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


// The layers composed again within the claimed tiles' bounding box only:
// the same drawing, clipped, gives the same pixels there for a fraction of
// the cost. One box, because each pass walks every element of the level,
// and the tiles claimed at once all lie under the player's feet. The box
// replaces the areas: it is what the frame got anew.
void recomposeAreas(Game& game, std::vector<FrameArea>& areas, BITMAP* frame) {
  // Wide, and held to the frame: hostile tiles stand near the ends of int.
  long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
  for (const FrameArea& a : areas) {
    if (a.w <= 0 || a.h <= 0) continue;
    left = std::min<long long>(left, a.x);
    top = std::min<long long>(top, a.y);
    right = std::max(right, static_cast<long long>(a.x) + a.w);
    bottom = std::max(bottom, static_cast<long long>(a.y) + a.h);
  }
  areas.clear();
  left = std::max(left, 0LL);
  top = std::max(top, 0LL);
  right = std::min<long long>(right, frame->w);
  bottom = std::min<long long>(bottom, frame->h);
  if (left >= right || top >= bottom) return;
  const FrameArea box{static_cast<int>(left), static_cast<int>(top),
                      static_cast<int>(right - left), static_cast<int>(bottom - top)};
  BITMAP* layers = game.frameCache.staticLayers.get();
  set_clip_rect(layers, box.x, box.y, box.x + box.w - 1, box.y + box.h - 1);
  drawStaticLayers(game, layers);
  set_clip_rect(layers, 0, 0, layers->w - 1, layers->h - 1);
  blit(layers, frame, box.x, box.y, box.x, box.y, box.w, box.h);
  game.output.presenter.touch(box.x, box.y, box.w, box.h);
  areas.push_back(box);
}

// Most ticks change none of the layers under the enemies and the player,
// so they are composed once and kept, and the buffer still holds them from
// the last frame wherever nothing was drawn over them. A background
// smaller than the frame leaves the rest of the buffer as the last frame
// left it; only the direct drawing reproduces that.
// Returns whether the whole frame was drawn again; otherwise the areas of
// the layers composed again are in the scratch's recomposed.
bool refreshStaticLayers(Game& game, BITMAP* frame) {
  std::vector<FrameArea>& recomposed = game.frameCache.frameScratch.recomposed;
  recomposed.clear();
  bool whole = false;
  if (game.background->w < game.width || game.background->h < game.height) {
    drawStaticLayers(game, frame);
    game.frameCache.staticLayersKey.clear();  // the next cached frame starts with a full copy
    whole = true;
  } else {
    std::vector<std::intptr_t>& marks = game.frameCache.frameScratch.layersMarks;
    staticLayersMarks(game, marks);
    if (game.frameCache.staticLayers && marks == game.frameCache.staticLayersMarks) return false;
    game.frameCache.staticLayersMarks.swap(marks);
    std::vector<std::intptr_t>& key = game.frameCache.frameScratch.layersKey;
    staticLayersKey(game, key);
    if (!game.frameCache.staticLayers || key == game.frameCache.staticLayersKey) {
      whole = !game.frameCache.staticLayers;
    } else if (changedTiles(game, game.frameCache.staticLayersKey, key, recomposed)) {
      recomposeAreas(game, recomposed, frame);
    } else {
      whole = true;
    }
    if (whole) {
      if (!game.frameCache.staticLayers) game.frameCache.staticLayers.reset(create_bitmap(game.width, game.height));
      if (!game.frameCache.staticLayers) dataFailure("Error creating main game buffer.");
      drawStaticLayers(game, game.frameCache.staticLayers.get());
      blit(game.frameCache.staticLayers.get(), frame, 0, 0, 0, 0, game.width, game.height);
    }
    game.frameCache.staticLayersKey.swap(key);
  }
  if (whole) game.output.presenter.touchAll();
  return whole;
}

// Each figure placed as Enemy::draw and Player::draw place it. The
// enemies' frames are built afresh at every life start, the player's once
// for the Game. A panel's buffer is composed only when what it shows
// changed.
void framePieces(Game& game, std::vector<FramePiece>& pieces) {
  std::vector<KeptPicture>& figures = game.frameCache.keptFigures;
  const std::vector<Enemy>& enemies = game.enemyManager.enemies();
  const std::uint64_t enemyFrames = game.enemyManager.stamp().value();
  pieces.clear();
  for (size_t i = 0; i < enemies.size(); ++i) {
    const Enemy& e = enemies[i];
    KeptPicture::View view;
    if (e.alive) {
      const FigureCorner corner = figureCorner(e.x, e.y, e.width, e.height);
      view = figureView(e.sprite.currentFrame(), corner, enemyFrames);
    }
    pieces.push_back({FramePiece::enemy, static_cast<int>(i), &figures[i], view});
  }
  const Player& p = game.player;
  const FigureCorner corner = figureCorner(p.x, p.y, p.width, p.height);
  pieces.push_back(
      {FramePiece::player, 0, &figures.back(), figureView(p.sprite.currentFrame(), corner, 0)});
  pieces.push_back({FramePiece::countdown, 0, &game.frameCache.countdownPanel, countdownView(game)});
  pieces.push_back({FramePiece::score, 0, &game.frameCache.scorePanel, scoreView(game)});
}

// A different number of enemies: every figure on the buffer is taken off.
void matchFigureCount(Game& game, std::vector<FrameArea>& restore) {
  const size_t count = game.enemyManager.enemies().size() + 1;
  if (game.frameCache.keptFigures.size() == count) return;
  for (const KeptPicture& figure : game.frameCache.keptFigures) {
    if (figure.onBuffer()) restore.push_back(figure.place());
  }
  game.frameCache.keptFigures.assign(count, KeptPicture());
}

// Which pictures are drawn again, and the areas of the buffer to restore
// for them: where each stood and where it will stand. Anything restored
// or drawn again under or over a picture left standing wipes part of it,
// so it is drawn again too, until no picture left standing meets one.
void choosePieces(std::vector<FramePiece>& pieces, const std::vector<FrameArea>& recomposed,
                  bool whole, std::vector<FrameArea>& restore) {
  auto take = [&restore](FramePiece& piece) {
    if (piece.kept->onBuffer()) restore.push_back(piece.kept->place());
    if (piece.view.shown) restore.push_back(piece.view.place);
    piece.draw = piece.view.shown;
  };
  for (FramePiece& piece : pieces) {
    if (piece.view.shown ? whole || piece.kept->changed(piece.view) : piece.kept->onBuffer()) {
      take(piece);
    }
  }
  for (bool more = true; more;) {
    more = false;
    for (FramePiece& piece : pieces) {
      if (piece.draw || !piece.view.shown) continue;
      if (!overlapsAny(piece.view.place, restore) && !overlapsAny(piece.view.place, recomposed)) {
        continue;
      }
      take(piece);
      more = true;
    }
  }
}

void restoreAreas(Game& game, const std::vector<FrameArea>& areas, BITMAP* frame) {
  for (const FrameArea& a : areas) {
    blit(game.frameCache.staticLayers.get(), frame, a.x, a.y, a.x, a.y, a.w, a.h);
    game.output.presenter.touch(a.x, a.y, a.w, a.h);
  }
}

void drawPiece(Game& game, FramePiece& piece, BITMAP* frame) {
  if (!piece.view.shown) piece.kept->removed();
  if (!piece.draw) return;
  const FrameArea& at = piece.view.place;
  if (piece.kind == FramePiece::enemy) game.enemyManager.enemies()[piece.index].draw(frame);
  if (piece.kind == FramePiece::player) game.player.draw(frame);
  if (piece.kind == FramePiece::countdown || piece.kind == FramePiece::score) {
    if (piece.kept->stale(piece.view)) {
      (piece.kind == FramePiece::countdown ? composeCountdown : composeScore)(game);
    }
    BITMAP* panel = piece.kind == FramePiece::countdown ? game.countdownBuffer.get()
                                                   : game.scoreBuffer.get();
    draw_sprite(frame, panel, at.x, at.y);
  }
  piece.kept->know(piece.view);
  piece.kept->drawn(piece.view);
  game.output.presenter.touch(at.x, at.y, at.w, at.h);
}

// A panel composed for the values shown now and drawn at its place. Its
// buffer may then hold another look than the kept frame last composed
// there, and a kept panel that showed another is drawn again next time.
void drawPanelAfresh(const Game& game, KeptPicture& kept, const KeptPicture::View& view,
                     void (*compose)(const Game&), BITMAP* panel, BITMAP* target) {
  if (!view.shown) return;
  if (kept.stale(view)) kept.forget();
  compose(game);
  draw_sprite(target, panel, view.place.x, view.place.y);
}

// Nothing on the buffer is known any more: the next kept frame is
// composed whole.
void forgetKeptFrame(Game& game) {
  game.frameCache.staticLayers.reset();
  game.frameCache.keptFigures.clear();
  game.frameCache.countdownPanel = KeptPicture();
  game.frameCache.scorePanel = KeptPicture();
}

}  // namespace

void Game::drawWholeFrame(BITMAP* target) {
  drawStaticLayers(*this, target);
  enemyManager.draw(target);
  player.draw(target);
  drawPanelAfresh(*this, frameCache.countdownPanel, countdownView(*this), composeCountdown,
                  countdownBuffer.get(), target);
  drawPanelAfresh(*this, frameCache.scorePanel, scoreView(*this), composeScore, scoreBuffer.get(), target);
}

void Game::drawFrame() {
  BITMAP* frame = buffer.get();
  if (output.redrawAll) {
    drawWholeFrame(frame);
    forgetKeptFrame(*this);
    output.presenter.touchAll();
    if (output.display != nullptr) output.presenter.show(frame, output.display);
    return;
  }
  FrameScratch& scratch = frameCache.frameScratch;
  const bool whole = refreshStaticLayers(*this, frame);
  scratch.restore.clear();
  matchFigureCount(*this, scratch.restore);
  framePieces(*this, scratch.pieces);
  choosePieces(scratch.pieces, scratch.recomposed, whole, scratch.restore);
  if (!whole) restoreAreas(*this, scratch.restore, frame);
  for (FramePiece& piece : scratch.pieces) drawPiece(*this, piece, frame);
  // Headless runs have no screen; they show frames on a bitmap of their own.
  // Only what the restored layers and the pictures drawn again touched can
  // differ from the frame shown last.
  if (output.display != nullptr) output.presenter.show(frame, output.display);
}
