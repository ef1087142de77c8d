// Building and tearing down the Game, level and life starts, the pacing
// loop and the order of work inside one game tick.
#include "game/Game.h"

#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"
#include "shell/Sound.h"
#include "shell/TickTimer.h"

// The player and the floor, enemy, item and teleporter managers are members
// declared in loading order, so they have already loaded their sets here.
Game::Game(int width, int height, int updatesPerSecond) {
  log_message("Creating game instance.");
  this->width = width;
  this->height = height;
  this->updatesPerSecond = updatesPerSecond;
  output.display = screen;

  loadControls();
  loadHud();
  loadSounds();
  // Both managers take tolerances that loadControls has just read.
  chuteManager = std::make_unique<ChuteManager>(chuteTolerance);
  ladderManager =
      std::make_unique<LadderManager>(ladderHorizontalTolerance, ladderVerticalTolerance);

  if (player.load() != 0) {
    const std::string name = refusedName(std::string(mediaDir) + "player.inf", "player.inf");
    dataFailure("Error loading " + name, "Error loading the player data. Exiting.");
  }
  player.loadAnimations();
  player.setAnimation(Player::walkRight);

  quit = false;
  levelDone = false;
  teleportCooldownActive = false;
  walkVoice = 0;
}

// Everything the Game holds is an Allegro resource or owns some; all of it
// must be gone before allegro_exit runs from the exit hook.
Game::~Game() {
  buffer.reset();
  log_message("Game buffer BITMAP freed.");
}

void Game::startLevel(const std::string& fileName) {
  enemyManager.clear();
  floorManager.clear();
  itemManager.clear();
  chuteManager->clear();
  ladderManager->clear();
  levelDone = false;
  if (level.load(fileName) != 0) {
    const std::string name = refusedName(std::string(mediaDir) + fileName, fileName);
    dataFailure(formatText("Error loading \"%s\"", name.c_str()));
  }
}

void Game::beginLife() {
  tickCounter = 0;
  // A new life never inherits a slide, a fall, a climb step or a jump from
  // the life (or level) before it.
  player.standAlive();

  enemyManager.clear();
  floorManager.clear();
  itemManager.clear();
  chuteManager->clear();
  ladderManager->clear();
  teleporterManager.clear();
  populateLevel(level);
  lifeTicks = 0;
}

void Game::runLife() {
  beginLife();
  log_message("Beginning level.");
  if (quit) return;

  for (;;) {
    waitForTick();
    if (pacingStep()) return;
  }
}

void Game::waitForTick() const { waitForDueTick(updatesPerSecond); }

bool Game::pacingStep(const std::function<bool()>& afterTick) {
  switchDisplayOnKey();
  if (updatePause()) return quit;
  while (tickCounter.load() > 0) {
    int due = tickCounter.load();
    const bool over = tick();
    countFocusAway();
    const bool stop = afterTick && afterTick();
    if (over || stop) return true;
    // The decrement is atomic, so an increment that the timer made while
    // the tick ran is kept; seeing one means drawing is falling behind.
    int left = --tickCounter;
    if (left >= due) break;
  }
  drawFrame();
  return quit;
}

bool Game::tick() {
  handleInput();
  playerMotion();
  chuteStep();
  supportCheck();
  cooldownCount();
  itemStep();
  enemyStep();
  // Before the life test: the last tile wins the level even in the tick
  // in which the player is caught, drops too far or runs out of time.
  if (levelCleared()) return true;
  countdownStep();
  return lifeEnded();
}

void Game::playerMotion() {
  if (!player.hasControl) return;
  if (player.climbStep) climbStep();
  fallStep();
  jumpStep();
}

void Game::itemStep() {
  int points = 0;
  if (itemManager.checkPlayer(player.sprite.currentFrame(), player.frameLeft(), player.frameTop(),
                              points)) {
    player.addScore(points);
    playSample(itemSample.get());
    enemyManager.makeVulnerable();
    ticksSinceItem = 0;
  }
}

void Game::enemyStep() {
  enemyManager.endVulnerability(ticksSinceItem);
  ++ticksSinceItem;
  enemyManager.update(floorManager);

  int killPoints = 0;
  if (enemyManager.checkPlayer(player.sprite.currentFrame(), player.frameLeft(),
                               player.frameTop(), killPoints)) {
    player.alive = false;
    playSample(caughtSample.get());
  } else {
    player.addScore(killPoints);
  }
}

bool Game::levelCleared() {
  if (floorManager.tilesLeft() != 0) return false;
  log_message("All tiles on level cleared.");
  levelDone = true;
  return true;
}

void Game::countdownStep() {
  ++lifeTicks;
  if (lifeTicks > 3 * updatesPerSecond) {
    lifeTicks = 0;
    countdown -= 100;
  }
  if (countdown <= 0) player.alive = false;
}

int Game::lifeLength(int countdownStart) const {
  if (countdownStart <= 0) return 1;
  const int steps = (countdownStart + 99) / 100;
  return steps * (3 * updatesPerSecond + 1);
}

bool Game::lifeEnded() {
  if (player.alive) return false;
  player.setLives(player.lives - 1);
  if (player.lives == 0) {
    log_message("Lives = 0");
    quit = true;
  }
  player.setJumpState(Player::notJumping);
  return true;
}
