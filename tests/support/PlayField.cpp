#include "tests/support/PlayField.h"

#include <algorithm>
#include <sstream>

#include "player/KeyRelease.h"
#include "shell/Log.h"
#include "shell/Sound.h"

LevelLayout& LevelLayout::floor(int x0, int x1, int y) {
  for (int x = x0; x < x1; x += GameTree::tileWidth) {
    tiles.push_back(std::to_string(x) + " " + std::to_string(y) + " brick brick_clear 1 10");
  }
  return *this;
}

std::string LevelLayout::text() const {
  std::ostringstream out;
  out << "3000\n10 10 0\n400 10 0\n10 5\n"
      << startX << " " << startY << " " << startAnimation << "\n";
  // A claimable tile nobody reaches keeps the level from being cleared.
  out << tiles.size() + 1 << "\n";
  for (const std::string& tile : tiles) out << tile << "\n";
  out << "600 470 brick brick_clear 1 10\n";
  out << ladders.size() << "\n";
  for (const std::string& ladder : ladders) out << ladder << "\n";
  out << chutes.size() << "\n";
  for (const std::string& chute : chutes) out << chute << "\n";
  out << "0\n0\n";  // enemies, items
  out << teleporters.size() << "\n";
  for (const std::string& teleporter : teleporters) out << teleporter << "\n";
  return out.str();
}

PlayField::PlayField(const LevelLayout& layout, const std::function<void(GameTree&)>& prepare) {
  releaseAllKeys();
  tree.writeLevel("level1.inf", layout.text());
  if (prepare) prepare(tree);
  game = std::make_unique<Game>(640, 480, 100);
  game->inputSource.inputFromDevices = false;
  game->startLevel("level1.inf");
  game->beginLife();
  log_capture(&log);
  observePlayedSamples(&played);
}

PlayField::~PlayField() {
  releaseAllKeys();
  log_capture(nullptr);
  observePlayedSamples(nullptr);
  overrideVoiceQuery(nullptr);
  set_config_file("no-such-file.cfg");
}

// The keys are held in the Game's input record for this one tick; the
// joystick is read as Allegro shows it, so a pad test sets joy[0] as a
// user's hands would. Then nothing is held again.
bool PlayField::tickHolding(const std::vector<int>& codes) {
  Game& g = *game;
  g.input.releaseAll();
  for (int code : codes) g.input.hold(code);
  g.input.pad = Gamepad::poll(g.inputSource.gamepad.settings);
  const bool ended = tick();
  g.input.releaseAll();
  g.input.pad = 0;
  return ended;
}

void PlayField::holdBackHeld(const std::vector<int>& codes) {
  Game& g = *game;
  g.input.releaseAll();
  for (int code : codes) g.input.hold(code);
  g.input.pad = Gamepad::poll(g.inputSource.gamepad.settings);
  g.holdBackHeldKeys();
}

void PlayField::clearRecords() {
  log.clear();
  played.clear();
}

bool PlayField::logged(const std::string& line) const {
  return std::find(log.begin(), log.end(), line) != log.end();
}

void releaseAllKeys() {
  // Allegro's keyboard at rest too, for a test that plays with the devices.
  for (int code = 0; code < KEY_MAX; ++code) key[code] = 0;
  resetKeyReleases();
}
