#include <allegro.h>

#include <string>

#include "game/Game.h"
#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/SoundFile.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"

void Game::loadSounds() {
  walkSample.reset(loadSample("walk.wav"));
  jumpSample.reset(loadSample("jump.wav"));
  fallDeathSample.reset(loadSample("player_death_fall.wav"));
  caughtSample.reset(loadSample("player_death_enemy.wav"));
  itemSample.reset(loadSample("item.wav"));
  enemyKilledSample.reset(loadSample("enemy_death.wav"));
}

SAMPLE* Game::loadSample(const std::string& fileName) {
  std::string path = mediaPath(std::string(audioDir) + fileName);
  log_message("%s", path.c_str());
  SAMPLE* sample = loadSoundFile(path);
  if (sample == nullptr) dataFailure(formatText("Error loading %s.", path.c_str()));
  return sample;
}
