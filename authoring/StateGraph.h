#pragma once
// The states a reachability search has found, one per key, in the order
// found, and the ticks between them: from each state it expanded, the
// states one tick leads to, with the keys held and the tiles claimed.
//
// The key is the part of a TickState that the ticks to come can still
// read, floats bit for bit (see authoring/Reachability.h for why each field that
// is left out may be). Three shapes:
// - Motion: what moves the player;
// - Animation: that, the facing, the animation on show and where one
//   chosen animation stands;
// - Full: the whole state;
// - Chain: what moves the player, less the ladder held and the cooldown,
//   for remembering where ticks without a choice lead (authoring/Reachability).
// In every shape the cooldown count is left out of a state where standing
// still changes nothing but the cooldown (TickState::waits): the first such
// state found stands for every count, since it can wait for any later count
// and a count further on only lets a teleport happen sooner.
#include <cstddef>
#include <climits>
#include <cstdint>
#include <vector>

#include "authoring/TickState.h"

enum class StateKey { Motion, Animation, Full, Chain };

// From one state to the next state with a choice of keys: the first tick
// holds input.keys, the ticks after it hold nothing (nothing else is read
// while jumping, falling or sliding), and the last tick also holds
// input.digit. A wait holds nothing until the teleport cooldown is over.
struct StateEdge {
  std::uint32_t to = 0;           // state index
  std::uint32_t claimsBegin = 0;  // first of its claimed tiles in StateGraph::claimedTile
  std::uint16_t claimCount = 0;
  TickInput input;
  std::uint32_t ticks = 1;        // for a wait, as many as it took from the state expanded
  bool wait = false;
};

class StateGraph {
 public:
  // animation: the one whose point the Animation key holds.
  StateGraph(StateKey key, int animation);

  // The index of the state with the same key, added when there is none.
  std::uint32_t add(const TickState& state, bool& added);
  // The index of the state with the same key, or notFound.
  static constexpr std::uint32_t notFound = UINT32_MAX;
  std::uint32_t find(const TickState& state) const;
  std::size_t size() const { return states_.size(); }
  StateKey key() const { return key_; }
  const TickState& state(std::uint32_t index) const { return states_[index]; }
  // Puts a state of the same key in the place of the one held.
  void replace(std::uint32_t index, const TickState& state) { states_[index] = state; }

  // Edges are added for one state at a time, in the order of the states:
  // begin(from) with from the next state not yet expanded. An edge to a
  // state that already has one from the same state is not added again.
  void begin(std::uint32_t from);
  void addEdge(const StateEdge& edge, const std::vector<int>& claimedTiles);
  std::size_t expanded() const { return firstEdge_.size(); }
  // Inline: every walk over the states asks them for each state it takes.
  std::uint32_t firstEdge(std::uint32_t from) const {
    return from < firstEdge_.size() ? firstEdge_[from] : 0;
  }
  std::uint32_t endEdge(std::uint32_t from) const {
    if (from >= firstEdge_.size()) return 0;
    return from + 1 < firstEdge_.size() ? firstEdge_[from + 1]
                                        : static_cast<std::uint32_t>(edges_.size());
  }
  const StateEdge& edge(std::uint32_t index) const { return edges_[index]; }
  // Whether edge e, from state `from`, teleports: a teleport starts the
  // cooldown, and none is taken while it runs.
  bool teleports(std::uint32_t from, std::uint32_t e) const {
    return !states_[from].has(TickState::cooldownActive) &&
           states_[edges_[e].to].has(TickState::cooldownActive);
  }
  int claimedTile(std::uint32_t n) const { return claims_[n]; }

  std::size_t bytes() const;  // held, roughly
  // Whether the two states have one key.
  bool sameKey(const TickState& a, const TickState& b) const;

 private:
  static constexpr int maxWords = 28;
  int keyOf(const TickState& state, std::uint32_t* words) const;
  std::size_t slotFor(const TickState& state, std::uint64_t& hash) const;
  std::uint64_t hashOf(const TickState& state) const;
  static std::uint64_t hashOfWords(const std::uint32_t* words, int n);
  void grow();

  // A slot of the table of keys: a state's index with the high half of its
  // key's hash, to pass over most others without comparing keys, or empty.
  class Slot {
   public:
    Slot() = default;
    Slot(std::uint64_t hash, std::uint32_t index) : held_((hash & tagBits) | (index + 1u)) {}
    bool empty() const { return held_ == 0; }
    std::uint32_t index() const { return static_cast<std::uint32_t>(held_) - 1u; }
    bool tagged(std::uint64_t hash) const { return (held_ & tagBits) == (hash & tagBits); }

   private:
    static constexpr std::uint64_t tagBits = 0xFFFFFFFF00000000ull;
    std::uint64_t held_ = 0;  // the tag, the index + 1 below it: a zero word is empty
  };

  StateKey key_;
  int animation_;
  std::vector<TickState> states_;
  std::vector<std::uint64_t> hashes_;     // by state, of its key
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> firstEdge_;  // by expanded state
  std::vector<StateEdge> edges_;
  std::vector<std::uint32_t> edgedFrom_;  // by state: the last state + 1 an edge to it left
  std::vector<std::uint16_t> claims_;     // tile indices (a level has at most 10000)
};
