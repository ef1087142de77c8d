#include "presentation/StaticLayers.h"

#include <type_traits>

#include "game/Game.h"

namespace {

// The values a layer's pixels are told apart by, written one after
// another into a list kept from frame to frame.
class LayerValues {
 public:
  explicit LayerValues(std::vector<std::intptr_t>& values) : values_(values) {}
  template <typename Value>
  void add(Value value) {
    if constexpr (std::is_pointer_v<Value>) {
      values_.push_back(reinterpret_cast<std::intptr_t>(value));
    } else {
      values_.push_back(static_cast<std::intptr_t>(value));
    }
  }

 private:
  std::vector<std::intptr_t>& values_;
};

// One of the rarely changing layers under the moving figures. Its marks
// are what it depends on at a glance: its owner's change stamp and the few
// values besides; while they hold, nothing in its key can differ. Its key
// is everything its pixels depend on: where each element stands and which
// image it shows. Built images (ladders, chutes) are identified by their
// pointer together with what they were built from, so an address that a
// rebuilt image happens to reuse still tells a different image apart.
struct StaticLayer {
  void (*marks)(const Game&, LayerValues&);
  void (*key)(const Game&, LayerValues&);
  void (*draw)(const Game&, BITMAP*);
};

void backgroundValues(const Game& game, LayerValues& v) {
  v.add(game.background.get());
  v.add(game.width);
  v.add(game.height);
}

// The layers in drawing order: floors over the structures, items and
// teleporters. The floor tiles come last, so that a claimed tile is found
// at the end of the key (changedTiles).
constexpr StaticLayer staticLayerList[] = {
    {backgroundValues, backgroundValues,
     [](const Game& game, BITMAP* target) {
       BITMAP* back = game.background.get();
       blit(back, target, 0, 0, 0, 0, back->w, back->h);
     }},
    {[](const Game& game, LayerValues& v) { v.add(game.ladderManager->stamp().value()); },
     [](const Game& game, LayerValues& v) {
       v.add(game.ladderManager->ladders().size());
       for (const Ladder& ladder : game.ladderManager->ladders()) {
         v.add(ladder.x);
         v.add(ladder.y);
         v.add(ladder.height);
         v.add(ladder.image_index);
         v.add(ladder.image.get());
       }
     },
     [](const Game& game, BITMAP* target) { game.ladderManager->draw(target); }},
    {[](const Game& game, LayerValues& v) { v.add(game.chuteManager->stamp().value()); },
     [](const Game& game, LayerValues& v) {
       v.add(game.chuteManager->chutes().size());
       for (const Chute& chute : game.chuteManager->chutes()) {
         v.add(chute.x);
         v.add(chute.y);
         v.add(chute.width);
         v.add(chute.height);
         v.add(chute.dx);
         v.add(chute.direction);
         v.add(chute.image_index);
         v.add(chute.image.get());
       }
     },
     [](const Game& game, BITMAP* target) { game.chuteManager->draw(target); }},
    {[](const Game& game, LayerValues& v) { v.add(game.itemManager.stamp().value()); },
     [](const Game& game, LayerValues& v) {
       v.add(game.itemManager.items().size());
       for (const Item& item : game.itemManager.items()) {
         v.add(item.x);
         v.add(item.y);
         v.add(item.present);
         v.add(item.image);
       }
     },
     [](const Game& game, BITMAP* target) { game.itemManager.draw(target); }},
    {[](const Game& game, LayerValues& v) {
       v.add(game.teleporterManager.stamp().value());
       v.add(game.teleportCooldownActive);
     },
     [](const Game& game, LayerValues& v) {
       v.add(game.teleporterManager.teleporters().size());
       for (const Teleporter& teleporter : game.teleporterManager.teleporters()) {
         v.add(teleporter.x);
         v.add(teleporter.y);
         v.add(game.teleportCooldownActive ? teleporter.cooldown_image : teleporter.image);
       }
     },
     [](const Game& game, BITMAP* target) {
       game.teleporterManager.draw(target, game.teleportCooldownActive);
     }},
    {[](const Game& game, LayerValues& v) { v.add(game.floorManager.stamp().value()); },
     [](const Game& game, LayerValues& v) {
       v.add(game.floorManager.tiles().size());
       for (const FloorTile& tile : game.floorManager.tiles()) {  // tileKeyValues each
         v.add(tile.x);
         v.add(tile.y);
         v.add(tile.cleared ? tile.cleared_image : tile.image);
       }
     },
     [](const Game& game, BITMAP* target) { game.floorManager.draw(target); }},
};

}  // namespace

void staticLayersMarks(const Game& game, std::vector<std::intptr_t>& marks) {
  marks.clear();
  LayerValues values(marks);
  for (const StaticLayer& layer : staticLayerList) layer.marks(game, values);
}

void staticLayersKey(const Game& game, std::vector<std::intptr_t>& key) {
  key.clear();
  LayerValues values(key);
  for (const StaticLayer& layer : staticLayerList) layer.key(game, values);
}

void drawStaticLayers(const Game& game, BITMAP* target) {
  for (const StaticLayer& layer : staticLayerList) layer.draw(game, target);
}
