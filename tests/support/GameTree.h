#pragma once
// A complete, small media tree from which a real Game can be built without
// a display: player, one enemy kind, every image directory, HUD pictures,
// fonts, sounds and four simple levels. Tests replace what they need.
#include <string>

#include "tests/support/Headless.h"

class GameTree : public MediaTree {
 public:
  GameTree();  // writes the whole tree

  // Sizes of what the tree holds, for tests that reason about geometry.
  static constexpr int playerWidth = 16;     // frames of every player animation
  static constexpr int playerHeight = 24;    // player.inf height and frame height
  static constexpr int tileWidth = 32;       // "brick" / "brick_clear"
  static constexpr int tileHeight = 8;
  static constexpr int ladderGraphic = 16;   // "rungs", 16 x 16
  static constexpr int chuteGraphic = 16;    // "step", 16 x 16
  static constexpr int itemSize = 8;         // "gem", 8 x 8
  static constexpr int teleporterWidth = 24; // "pad" / "pad_cool"
  static constexpr int teleporterHeight = 32;
  static constexpr int enemySize = 12;       // every "blob" frame, 12 x 12

  // One floor of claimable "brick" tiles at row 300 from x 0 to 608, the
  // player standing on it at (100, 299), no other elements.
  static std::string simpleLevel(int countdownStart = 3000);

  void writeLevel(const std::string& fileName, const std::string& text) {
    writeText("media/" + fileName, text);
  }
  // player.inf with the standard names and the given numbers.
  void writePlayerInf(const std::string& numbers);
  // A 32-bit colour font with every glyph 32..126 glyphWidth x glyphHeight.
  void writeFont(const std::string& path, int glyphWidth, int glyphHeight);

 private:
  void writeAnimation(const std::string& dir, const std::string& name, int frames, int width,
                      int height, int r, int g, int b);
};
