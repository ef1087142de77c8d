// player.inf: the loader, the five animations it names, each selected and
// drawn; then a little play on the first level with the file's numbers.
#include <allegro.h>

#include "fuzz/FuzzMedia.h"
#include "game/Game.h"
#include "graphics/Resources.h"
#include "player/Player.h"
#include "shell/Fatal.h"

namespace {

// The motion numbers and size of the loaded file, onto the Game's player
// (whose animations stay the shipped ones).
void takeNumbers(Player& into, const Player& from) {
  into.walkSpeed = from.walkSpeed;
  into.fallSpeed = from.fallSpeed;
  into.climbSpeed = from.climbSpeed;
  into.jumpSpeed = from.jumpSpeed;
  into.jumpStride = from.jumpStride;
  into.slideFactor = from.slideFactor;
  into.jumpHeight = from.jumpHeight;
  into.maxDrop = from.maxDrop;
  into.height = from.height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Game& game = fuzzGame();
  static const Player shipped = game.player;
  static BitmapPtr target(create_bitmap(128, 128));
  writeInput("media/player.inf", data, size);
  Player player;
  if (player.load() != 0) return 0;
  try {
    DataFailureGuard guard;
    player.loadAnimations();
    player.setPosition(64.0f, 100.0f);
    for (int index = 0; index < Player::animationCount; ++index) {
      player.setAnimation(index);
      player.draw(target.get());
    }
  } catch (const DataFailure&) {
    return 0;
  }
  takeNumbers(game.player, player);
  playBriefly(game, 60);
  takeNumbers(game.player, shipped);
  return 0;
}
