#pragma once
// The one object of a run: player, HUD resources, sounds, the current
// level's data and the six element managers. Its operations are spread over
// the subsystem folders: construction and play in game/, population in
// game/, movement and structure use in player/, drawing in presentation/.
#include <allegro.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "actors/EnemyManager.h"
#include "actors/ItemManager.h"
#include "actors/TeleporterManager.h"
#include "game/GameParts.h"
#include "game/LevelData.h"
#include "graphics/Resources.h"
#include "player/InputRecord.h"
#include "player/Player.h"
#include "structures/ChuteManager.h"
#include "structures/FloorManager.h"
#include "structures/LadderManager.h"

class Game {
 public:
  Game(int width, int height, int updatesPerSecond);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // game/Game.cpp
  void startLevel(const std::string& fileName);
  void runLife();
  void beginLife();  // life start: counter reset, lists emptied, population
  bool tick();       // one game tick; true when the life is over (runLife returns)
  // Sleeps with rest until a tick is due: the idle part of runLife's loop.
  void waitForTick() const;
  // One pass of runLife's loop once a tick is due: the pause, the due
  // ticks and the frame; true when runLife returns. afterTick, when set,
  // follows every tick, the one that ends the life too; its true ends the
  // pass there, as the life's end does (a recording that has run out).
  bool pacingStep(const std::function<bool()>& afterTick = nullptr);
  // The steps of a tick, in the order it takes them.
  void playerMotion();   // climb, fall and jump while the player has control
  void itemStep();       // a pickup scores and makes the changing enemies vulnerable
  void enemyStep();      // vulnerability ends, enemies move, contact kills or catches
  bool levelCleared();   // the last claimable tile is gone
  void countdownStep();  // 100 off every three seconds; none left ends the life
  // The tick, counted from a life's first, in which countdownStep ends a
  // life begun with this countdown.
  int lifeLength(int countdownStart) const;
  bool lifeEnded();      // a life lost: lives down, the run over after the last

  // game/Pause.cpp
  // Takes the pause key and the focus; true while paused (and on the pass
  // that resumes), when no tick may run and the due ticks are dropped.
  bool updatePause();
  void countFocusAway();  // after each tick: one more played without the focus, if so
  void showPaused();  // the "Paused" card over the last frame shown
  // Between ticks: on the display key, the other display mode, the frame
  // shown whole on it; where it cannot be had, a line on standard error.
  void switchDisplayOnKey();

  // game/Population.cpp
  int populateLevel(LevelData data);

  // player/Controls.cpp, player/Sounds.cpp
  void loadControls();
  void loadSounds();
  SAMPLE* loadSample(const std::string& fileName);

  // player/Controls.cpp
  // Holds back the game's keys and the joystick's controls that are down
  // now (the key or button that skipped the title card) until each is
  // released once.
  void holdBackHeldKeys();
  // A key, or a joystick control acting as it, is down in this tick's
  // input and not held back.
  bool held(int code) const {
    return inputSource.gate.held(input, code) ||
           inputSource.gamepad.actsAs(code, {keyLeft, keyRight, keyUp, keyDown, keyJump});
  }

  // player/Movement.cpp
  // This tick's input: from the devices unless someone else fills it; the
  // gate and the pad follow it.
  void takeInput();
  void handleInput();
  void walkKeys();      // steps of handleInput: walking, then jump starts
  void jumpKeys();
  void jumpStep();
  // Whether the feet at (x, y) are within the ladder's band, where no jump
  // starts and no fall begins.
  bool onLadder(const Ladder& ladder, float x, float y) const;
  // The feet's highest y in a jump from y: the step that reaches the apex
  // is taken back, so the rise ends at its last step short of it.
  float jumpPeak(float y) const;
  void fallStep();
  void supportCheck();
  // player/StructureUse.cpp
  void climbStep();
  void chuteStep();
  void enterChute(const Chute& chute);  // the slide starts at the chute's top step
  void climbKeys();     // step 8 of handleInput
  void teleportKeys();  // step 9 of handleInput
  void cooldownCount(); // after the support check

  // presentation/FrameComposer.cpp
  void loadHud();
  void drawFrame();
  // The frame drawn from nothing onto target, every layer in turn: what
  // PWE_REDRAW_ALL shows, and what every frame drawFrame keeps must equal.
  void drawWholeFrame(BITMAP* target);
  // Whether a panel with this alignment is drawn at all (0 to 2 are;
  // presentation/Panels.cpp).
  static bool panelShown(int align);

  int width;                 // screen size in pixels
  int height;
  bool quit = false;         // the run is to end; never cleared
  bool levelDone = false;    // every claimable tile is cleared

  BitmapPtr buffer;              // off-screen frame, width x height
  BitmapPtr background;          // back.png
  BitmapPtr countdownBuffer;     // countdown panel, composed when its look changes
  BitmapPtr countdownBackground; // countdown_back.png
  FontPtr countdownFont;         // countdown_fnt.png
  FontPtr scoreFont;             // score_fnt.png
  BitmapPtr scoreBuffer;         // score panel, composed when its look changes
  BitmapPtr scoreBackground;     // score_back.png
  BitmapPtr lifePip;             // life_pip.png

  SamplePtr walkSample;          // walk.wav
  SamplePtr jumpSample;          // jump.wav
  SamplePtr fallDeathSample;     // player_death_fall.wav
  SamplePtr caughtSample;        // player_death_enemy.wav
  SamplePtr itemSample;          // item.wav
  SamplePtr enemyKilledSample;   // enemy_death.wav (loaded only)
  int walkVoice = 0;             // voice of the walking sound

  Player player;
  LevelData level;
  FloorManager floorManager;
  std::unique_ptr<LadderManager> ladderManager;
  std::unique_ptr<ChuteManager> chuteManager;
  EnemyManager enemyManager;
  ItemManager itemManager;
  TeleporterManager teleporterManager;

  int teleportCooldown = 200;        // ticks a teleport blocks the next one
  int updatesPerSecond;              // ticks per second
  int countdown = 0;                 // on show; the life ends at 0 or less
  int ticksSinceItem = 0;            // ends enemy vulnerability
  int teleportCooldownTicks = 0;     // ticks since the last teleport
  int chuteTolerance = 14;
  int ladderHorizontalTolerance = 6;
  int ladderVerticalTolerance = 2;
  bool teleportCooldownActive = false;
  float fallDistance = 0.0f;         // dropped since the last landing
  float jumpApexY = 0.0f;            // where the rising half of the jump ends
  int slideTop = 0;                  // chute being slid: top row
  int slideLength = 0;               // and height
  int keyLeft = KEY_LEFT;            // scan codes
  int keyRight = KEY_RIGHT;
  int keyUp = KEY_UP;
  int keyDown = KEY_DOWN;
  int keyJump = KEY_SPACE;
  // Teleporter n is chosen with scan code firstDigitCode + n (KEY_1 = 28).
  static constexpr int firstDigitCode = 27;
  // The highest teleporter number a key chooses: the scan codes end below KEY_MAX.
  static constexpr int lastDigitNumber = KEY_MAX - 1 - firstDigitCode;

  int lifeTicks = 0;                 // paces the countdown within a life

  // This engine's own parts (game/GameParts.h).
  InputRecord input;                 // this tick's keys and joystick controls, filled before it
  InputSource inputSource;
  PauseState pause;
  DisplayOutput output;
  FrameCache frameCache;
};
