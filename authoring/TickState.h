#pragma once
// A game tick reads and writes more of the player and the Game than a
// position: the jump and the fall, the climb, the slide, the teleport
// cooldown, the ladder last found, where each animation stands and the
// key-release table. A TickState holds all of that, less what only the
// score, the sounds, the countdown and the enemies use, so that a Game
// given a state back runs its next tick as it ran when the state was taken.
//
// Claimed tiles and collected items are left out on purpose: neither
// changes how the player moves. FloorManager's standing and containing
// tests look at every tile, claimed or not, and an item is only touched.
// So is the Game's input gate: it holds back only keys that were down when
// play began, a tick only ever lets them go, and a Game built by a tool or
// a test holds none back.
//
// What else a tick changes, the enemies, the items, the clock, the score
// and the floor's claims, is taken by the same TickStates as an EnemyState
// per enemy and a WorldState: the reachability search plays without the
// enemies and keeps only TickStates, millions of them, while a search that
// plays the whole level keeps all three.
//
// The capture lives with the search, not in game/: the game never takes a
// state back. What keeps it beside the tick is authoring/TickLedger.cpp,
// one ledger of every field of every type a tick touches, which stops the
// build when a field is added and not placed there.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "structures/Ladder.h"

class Game;
struct Enemy;

// One tick's keys: ReplayKey bits (authoring/Replay.h) and the teleport digit
// held, 0 for none.
struct TickInput {
  std::uint8_t keys = 0;
  std::uint8_t digit = 0;
};

struct TickState {
  static constexpr int animationCount = 5;  // the player's animations
  // Bits of flags: the player's falling, climbStep, onChute and hasControl,
  // and the Game's teleportCooldownActive.
  static constexpr std::uint8_t falling = 1, climbStep = 2, onChute = 4, hasControl = 8,
                                cooldownActive = 16;
  // Bits of marks, the search's own beside the capture: no field of the
  // Game, so capture leaves them clear and restore ignores them. A search
  // marks waits on a state whose next tick with no key held changes nothing
  // but the cooldown, and unsure on one whose animations may stand
  // elsewhere than on any way to it. They never share a bit with flags, so
  // a key may take both in one byte.
  static constexpr std::uint8_t waits = 32, unsure = 64;

  struct AnimationPoint {
    std::int32_t frame = 0;  // Animation::frameIndex
    std::int32_t ticks = 0;  // Animation::frameTicks
  };

  float x = 0.0f;             // the player's bottom centre
  float y = 0.0f;
  float fallDistance = 0.0f;  // Game: dropped since the last landing
  float jumpApexY = 0.0f;     // Game: where the rising half of a jump ends
  std::int32_t width = 0;     // the player's: its frame's when an animation was chosen
  std::int32_t slideDx = 0;   // the player's slide step
  std::int32_t slideDy = 0;
  std::int32_t slideTop = 0;  // Game: the chute being slid
  std::int32_t slideLength = 0;
  std::int32_t cooldownTicks = 0;  // Game: teleportCooldownTicks
  std::int32_t ladder = -1;   // the player's currentLadder: index in the level's list, or -1
                              // for the one held when the TickStates were made
  std::int8_t jumpState = 0;  // the player's
  std::int8_t facing = 0;
  std::int8_t climbDirection = 0;
  std::int8_t animation = 0;  // the sprite's animation on show
  std::uint8_t flags = 0;
  std::uint8_t marks = 0;  // the search's, above: in what would be padding
  AnimationPoint points[animationCount];
  std::uint64_t pendingKeys[2] = {0, 0};  // key-release entries of codes 0 to 127, one bit each

  bool has(std::uint8_t flag) const { return (flags & flag) != 0; }
  bool marked(std::uint8_t mark) const { return (marks & mark) != 0; }
  bool pending(int code) const { return (pendingKeys[code / 64] >> (code % 64) & 1u) != 0; }
  // Every field equal, floats bit for bit.
  bool operator==(const TickState& other) const;
};

// What a tick changes of one enemy; the rest is its kind's and its place's.
struct EnemyState {
  bool alive = true;
  bool falling = false;
  float x = 0.0f;
  float y = 0.0f;
  int direction = 0;
  int state = 0;
  int animation = 0;  // the sprite's animation on show
  std::vector<TickState::AnimationPoint> points;  // by animation
  bool operator==(const EnemyState& other) const;
};

// What a tick changes beyond the player and the enemies.
struct WorldState {
  std::vector<bool> itemsPresent;
  int countdown = 0;
  int lifeTicks = 0;
  int ticksSinceItem = 0;
  int score = 0;
  int lives = 0;
  std::size_t claims = 0;  // the floor's claim journal: later claims are undone
  bool operator==(const WorldState& other) const;
};

// Takes TickStates from one Game and gives them back to it. Built once a
// level is placed; it indexes that level's ladders and teleport keys, so a
// new level or life needs a new one.
class TickStates {
 public:
  explicit TickStates(Game& game);

  TickState capture() const;
  // The player is alive in every state; the countdown, score, lives and
  // sounds are left as they are.
  void restore(const TickState& state) const;
  static EnemyState captureEnemy(const Enemy& enemy);
  static void restoreEnemy(Enemy& enemy, const EnemyState& state);
  WorldState captureWorld() const;
  // Also lets the run go on: a state is taken only while it does.
  void restoreWorld(const WorldState& state) const;
  // Everything above taken now, the player, every enemy and the world, as
  // one number: two runs of a level that hash alike at a tick stand alike
  // there, so a replay's hash at its end tells a play that diverged. The
  // search's marks are no part of it.
  std::uint64_t hash() const;
  // The ladder a state's ladder index stands for.
  const Ladder& ladder(int index) const;
  // The scan codes whose key-release entries a tick reads: the teleport keys.
  const std::vector<int>& teleportCodes() const { return teleportCodes_; }

 private:
  using Span = std::array<int, 4>;  // x, y, width, height
  static Span spanOf(const Ladder& ladder);
  int ladderIndex() const;  // of the player's currentLadder

  Game& game_;
  std::vector<int> teleportCodes_;
  Ladder startLadder_;  // held when this was made: state ladder -1
  // A ladder is told apart by its place and size, the only fields a tick
  // reads of it; equal ones behave alike, so the first stands for all.
  std::map<Span, int> laddersBySpan_;
  mutable int lastLadder_ = -1;  // found last: the player keeps a ladder for many ticks
};
