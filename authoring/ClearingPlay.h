#pragma once
// One life of a level played as the game plays it, with the enemies, the
// items and the countdown, for a search that tries a way and goes back to
// try another (authoring/ClearingSearch.h). The player's moves are the
// edges a reachability search found without the enemies: the enemies and
// the items never change how the player moves, only whether the life goes
// on, so an edge played here ends where the search found it or in a death.
//
// A snapshot holds everything a tick reads or writes, as TickStates takes
// it (authoring/TickState.h): the player's TickState, an EnemyState per
// enemy and the WorldState. The enemies are held as the changes from the
// life's start, so a snapshot of a level whose enemies stand
// still, or have not yet moved, costs what changed and not the whole list.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "authoring/Replay.h"
#include "authoring/TickState.h"

class Game;
class Reachability;

// How a life being played stands.
enum class PlayEnd { Going, Cleared, Caught, Fell, Countdown, Strayed };

struct PlaySnapshot {
  using EnemyPoint = EnemyState;
  TickState player;
  // The enemies that differ from the life's start, by rising index.
  std::vector<std::uint32_t> changed;
  std::vector<EnemyPoint> enemies;  // by changed
  WorldState world;
  // The search's own, beside the capture:
  std::size_t inputs = 0;      // ticks played since the life began
  std::uint32_t at = 0;        // the found state the player stands in

  std::size_t bytes() const;  // held, the heap's share included, roughly
};

// Long enough to meet every enemy anywhere on its patrol: lengths of a
// wait growing by half up to the longest patrol's period.
std::vector<int> patrolWaits(const Game& game);

// By tile: claimable, not yet claimed, and claimed by some tick of the
// search's (not among `unreached`): what a route must still claim.
std::vector<bool> tilesWanted(const Game& game, const std::vector<int>& unreached);

// Whether the player has the keys there: under control, standing or on a
// ladder, neither falling nor in a jump.
bool canStandStill(const TickState& state);

class LivePlay {
 public:
  // search: run on game. Begins the life afresh, enemies and all, with
  // the player where the search started.
  LivePlay(Game& game, const Reachability& search);
  ~LivePlay();  // the Game as the life began
  LivePlay(const LivePlay&) = delete;
  LivePlay& operator=(const LivePlay&) = delete;

  PlaySnapshot snapshot() const;
  void restore(const PlaySnapshot& snapshot);
  // Whether some enemy of the snapshot is in the state an item gives.
  bool vulnerable(const PlaySnapshot& snapshot) const;

  // Edge e of the found states, from the one the player stands in; false
  // when the life or the level ended on the way, or the player is not
  // where the search found the edge to end (end() says which).
  bool playEdge(std::uint32_t e);
  // Stands still for that many ticks; false when the life ended, or when
  // standing still moved the player away from the found state.
  bool wait(int ticks);

  // Plays the route's keys from the tick the play stands at up to tick
  // `upTo`: the floor's claim journal then holds that route's claims, so
  // a snapshot of it taken before another play went elsewhere is restored
  // whole. False when the life or level ended on the way.
  bool replayTo(const std::vector<TickInput>& route, std::size_t upTo);

  // Keeps TickStates::hash after every tick played from now on in `trail`,
  // by tick of the life: a restore takes it back with the ticks. Null stops.
  void keepHashes(HashTrail* trail) { trail_ = trail; }

  PlayEnd end() const { return end_; }
  int caughtBy() const { return caughtBy_; }  // the enemy's index when Caught
  std::uint32_t at() const { return at_; }
  const std::vector<TickInput>& inputs() const { return inputs_; }
  int ticks() const { return static_cast<int>(inputs_.size()); }
  int tilesClaimed() const;  // since the life began
  std::size_t ticksPlayed() const { return played_; }  // every tick, undone ones too

 private:
  bool step(TickInput input);
  void judgeEnd();

  Game& game_;
  const Reachability& search_;
  const TickStates& states_;
  std::vector<PlaySnapshot::EnemyPoint> base_;  // every enemy as the life began
  PlaySnapshot start_;
  std::vector<TickInput> inputs_;
  std::size_t claimMark_ = 0;
  std::size_t played_ = 0;
  std::uint32_t at_ = 0;
  PlayEnd end_ = PlayEnd::Going;
  int caughtBy_ = -1;
  HashTrail* trail_ = nullptr;
};
