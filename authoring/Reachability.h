#pragma once
// What the player can reach on a level: every state one life can be in
// under any sequence of key states, found by playing the engine's own tick
// (Game::tick) from saved TickStates, with the enemies taken away and the
// countdown held off. It tells which claimable tiles some sequence claims,
// which items the player's frame touches, and gives a route that claims
// every tile it can.
//
// Its shape. A breadth-first search over states (authoring/StateGraph.h):
// `search` expands the states in the order they were found, and `expand`
// follows one chain from a state for each input worth trying. `follow`
// returns what the chain found as a value (ChainResult: alive, where it
// ended, its ticks and claims, and what a digit's release depends on);
// `expand` adds where it ended as a state, and the chain as an edge. The
// route, and the searches over what was found, walk the states with
// authoring/StateWays.h (BreadthFirstWalk, ShortestWays, NearestWay).
//
// States and chains. A state is kept where the player has a choice of keys:
// standing or on a ladder, under control. From there each input is played
// for one tick and then with nothing held until the next choice: while the
// player falls, jumps or slides the tick reads none of the five keys (the
// input step stops at a slide; walking, jumping and climbing each need the
// ground), so those ticks need no choice. A chain that ends in a death, or
// falls below everything the player could stand on, enter or touch,
// claims nothing that counts; one longer than Reachability::chainLimit ticks
// is stored where it stands and played on from there.
//
// Inputs on the ground. With the five keys on five different scan codes,
// 16 of the 32 combinations are kept:
// - up and down together act as one of them: both find the same ladder at
//   the same place, and down, asked second, decides whenever it climbs;
// - jump with up or down acts as one of them: a jump that starts blocks
//   climbing in the same tick, and a jump that cannot start reads nothing;
// - left and right together are kept: the two walks leave x where it was
//   only up to rounding, turn the player right and advance both walks.
// Up and down are not tried where the climbing keys find no ladder after
// the tick's walking (LadderManager::ladderAt at each place it can leave
// the player): there they act as nothing. When two keys share a scan code,
// all 32 are tried, since one of a pair may then not be pressable alone. A
// key that shares Escape's code is never pressed: it ends the run.
//
// Teleport digits. A teleport happens in the tick a digit is released, so a
// press held for many ticks does no more than a press in the tick before
// the release: the search holds at most one digit, in a chain's last tick,
// and only where the tick after could teleport (under control, standing, no
// cooldown, a teleporter overlapped after at most one walking step), and
// only once for each state so reached. From a state with a digit pressed
// only walking (or nothing) is tried, up to the first that teleports: every
// input releases the digit, one that does not teleport goes where the same
// state without the digit goes with it, and jumping or climbing keeps the
// release from teleporting.
//
// The dedup key (authoring/StateGraph.h). Two states are one when every field a
// tick can still read is equal, floats compared bit for bit. Left out are
// fields a tick writes before it reads them: the jump apex when not
// jumping, the slide when not sliding, the cooldown count when no cooldown
// runs, the climb direction without a climb step. Where standing still
// changes nothing but the cooldown, the count is left out too: the first
// state found stands for all counts, since it can wait for any later count
// and an earlier one only delays a teleport; the route waits as needed.
// When every frame of every player animation has the same size, the
// facing, the animation on show and where each animation stands are left
// out: they choose frames, and then no frame changes how the player moves.
//
// Items. Those fields decide what an item touches, so every tick tries the
// frame on show (a touch found) and every frame of every animation (an
// upper bound). An item no frame of any animation touches anywhere is out
// of reach; one that some animation's frames might touch is decided by a
// second search whose key holds the animation on show and where that
// animation stands, which is closed under the tick since motion does not
// depend on the rest.
//
// Stretches remembered. A chain played once is taken from memory, rather
// than played again, for states that differ only where it cannot matter:
// the ladder held (read only where the player stands on it, so any ladder
// whose span the chain never entered gives the same ticks), the cooldown
// (read only by the teleport keys, which a chain without a choice never
// passes) and, in the motion search, the animations. A state whose
// animations may then not be the ones a way to it leaves is marked unsure,
// and its frame on show is not taken as a touch. Two memos hold the
// stretches (Reachability::Stretch): the whole chain, by the state it
// starts at and its first input (a StretchSlot each, empty until the chain
// is played), and the ticks after a first tick, by the state that tick
// ended in, which chains from many states share.
//
// Limits. The search stops after a number of states, of ticks, of seconds
// or of bytes held (its states, their edges and what it remembers beside
// them), whichever comes first; what it found is then a lower bound. The
// bytes are counted every 256 states, the clock asked every 4096 states
// or 8192 ticks, so a level of slow ticks (many items or enemies) stops
// within a second or so of its limit in seconds and a few megabytes of its
// limit in bytes.
#include <allegro.h>

#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "actors/Item.h"
#include "authoring/StateGraph.h"
#include "authoring/TickState.h"

namespace stateways {
class TileReach;
}

class Game;

// The clock the searches' limits in seconds are counted on.
inline double searchClockSeconds() {
  using clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

struct ReachabilityLimits {
  std::size_t maxStates = 600000;   // about 400 MB with what is remembered beside them
  std::size_t maxTicks = 30000000;
  double maxSeconds = 25.0;
  std::size_t maxBytes = std::size_t{576} << 20;
};

class Reachability {
 public:
  // game: a level started and a life begun. The enemies are taken away for
  // good; everything else is as it was given when the search is over.
  Reachability(Game& game, ReachabilityLimits limits = {});
  ~Reachability();
  Reachability(const Reachability&) = delete;
  Reachability& operator=(const Reachability&) = delete;

  void run();

  bool complete() const { return complete_; }  // false: stopped at a limit
  std::size_t stateCount() const;
  std::size_t tickCount() const { return ticks_; }
  // Claimable tiles and items, by index in the level's lists.
  std::vector<int> unreachedTiles() const;  // claimable tiles no tick claims
  std::vector<int> unreachedItems() const;
  // The states the search found, for measuring how near it came to what it
  // missed (authoring/NearMiss.h); null before run().
  const StateGraph* foundStates() const { return graph_.get(); }

  // Nearest unclaimed tile next, along the states found: a tile claimed on
  // the way counts too, and a way that leaves behind tiles it cannot come
  // back to is taken only when no other is left.
  struct Route {
    std::vector<TickInput> ticks;
    int tilesLeft = 0;     // reachable claimable tiles it does not claim
    int scoreGained = 0;   // played from the start, enemies absent, countdown held off
    bool clears = false;   // the played route leaves no claimable tile
    bool followed = true;  // played, every step ended where the search said it would
  };
  Route route() const;

  // For searches over the states found (authoring/ClearingSearch.h).
  // Strongly connected components of the found states, by state: states
  // of one component can reach each other.
  const std::vector<std::uint32_t>& components() const;
  // The tiles each component can claim (stateways::TileReach), gathered
  // when first asked and shared by every search that asks after.
  const stateways::TileReach& tileReach() const;
  // Where each found state stands, packed for the walks that ask it of
  // every state they reach (the item a state touches), gathered when first
  // asked: 12 bytes a state against a whole state's 112.
  struct Spot {
    float x;
    float y;
    int width;
  };
  const std::vector<Spot>& spots() const;
  // Plays edge e from state `at` as the route does, one tick at a time
  // through step, which returns false to stop there; false when it did.
  // Waits first where `at` stands for a longer cooldown than the Game's.
  bool playEdge(std::uint32_t at, std::uint32_t e,
                const std::function<bool(TickInput)>& step) const;
  // Whether the Game now stands where the search found `expected`.
  bool endedAsFound(const TickState& expected) const;
  // The search's own taking and giving back of states: its ladder -1 is
  // the ladder held when the search was made.
  const TickStates& tickStates() const { return states_; }
  // Holds exactly one tick's keys in the Game's input record, which the
  // Game then reads instead of the devices.
  void holdKeys(TickInput input) const { holdOnly(codesOf(input)); }
  // The countdown never reaches 0 within one tick from here.
  void holdOffCountdown() const;

 private:
  struct Input {
    TickInput keys;
    std::vector<int> codes;  // scan codes held
  };
  // Pixels at which a stretch of ticks read the ladder held.
  struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;  // empty while right < left
    void add(int column, int row);
    void add(const Box& other);
    bool apart(const LadderSpan& span) const;
  };
  // Where a stretch of ticks without a choice led, as played once. The
  // ladder held is read in them only where the player stands, and the
  // cooldown not at all, so the same ticks follow for any ladder the player
  // is not on there, and for any cooldown.
  struct Stretch {            // played from the state of its memo key
    TickState end;            // where it ended
    std::uint32_t ticks = 0;  // played from start
    std::uint32_t claimsBegin = 0;  // in memoClaims_
    std::uint32_t claimCount = 0;
    Box box;
    bool died = false;
    bool lastUnderControl = false;    // its last tick began under control
    bool releasedBeforeLast = false;  // and so did one before it
    bool ladderFree = false;          // the ladder held at start was never read where it is
  };
  struct Memo {
    std::unique_ptr<StateGraph> keys = std::make_unique<StateGraph>(StateKey::Chain, -1);
    std::vector<Stretch> stretches;  // by keys index
  };
  // Where the whole chain from a state with an input is remembered: the
  // index of its stretch in wholeStretches_, or empty until it is played.
  class StretchSlot {
   public:
    bool empty() const { return stretch_ == none; }
    std::uint32_t stretch() const { return stretch_; }
    void hold(std::uint32_t stretch) { stretch_ = stretch; }

   private:
    static constexpr std::uint32_t none = UINT32_MAX;
    std::uint32_t stretch_ = none;
  };
  // What following a chain found: how it ended, and of its last ticks
  // what a teleport digit's release depends on.
  struct ChainResult {
    bool alive = true;                // false: the player died on the way
    TickState end;                    // where it ended, when alive
    std::uint32_t ticks = 0;          // played, or taken from stretches played before
    std::vector<int> claims;          // each tile once
    bool lastUnderControl = false;    // its last tick began under control
    bool releasedBeforeLast = false;  // and so did one before it
  };
  // One tick played, its claims taken back.
  struct PlayedTick {
    bool alive = true;         // false: the player died in it
    std::vector<int> claimed;  // the tiles it claimed
  };
  static constexpr std::uint32_t chainLimit = 256;  // ticks of a chain before it is stored
  static constexpr std::uint32_t maxWait = 256000;  // a longer cooldown is never waited for

  // authoring/Reachability.cpp
  void chooseInputs();
  void chooseDigits();
  void collectFrames();
  bool search(StateGraph& graph, bool keepEdges);
  void expand(StateGraph& graph, std::uint32_t from, bool keepEdges);
  void armDigits(StateGraph& graph, const TickState& from, const TickState& after,
                 const ChainResult& chain, const StateEdge& edge, bool keepEdges);
  std::uint32_t add(StateGraph& graph, const TickState& state);
  // Plays from the state: one tick with the input held, then ticks with
  // nothing held until the player has a choice of keys again (standing
  // under control), has died, or chainLimit ticks have passed. Leaves the
  // Game where the chain ended, its claims taken back.
  // slot: where the chain of this state and input is remembered, or null
  // when it is not to be; played: the state its key stands for, which a
  // stretch held there was played from.
  ChainResult follow(const TickState& state, const Input& input, StretchSlot* slot,
                     const TickState* played);
  void keepClaims(const ChainResult& chain);
  Box firstTickBox(const TickState& state);
  bool followLater(ChainResult& chain, bool sure, Box& box);
  TickState captureChainState(bool sure) const;
  bool stepChain(ChainResult& chain, const std::vector<int>& codes, bool sure,
                 std::vector<int>* later);
  bool fits(const Stretch& stretch, const TickState& played, const TickState& from) const;
  bool reuse(ChainResult& chain, const Stretch& stretch, const TickState& played,
             const TickState& from);
  std::uint32_t remember(Memo& memo, const TickState& from, bool& known) const;
  Stretch rememberStretch(const ChainResult& chain, const TickState& from, const Box& box,
                          const std::vector<int>& claims, std::uint32_t ticks,
                          bool releasedBefore);
  PlayedTick tickOnce(const std::vector<int>& codes);
  void holdOnly(const std::vector<int>& codes) const;
  std::vector<int> codesOf(TickInput input) const;  // the scan codes the keys hold
  bool mayTeleportNext(const TickState& end);
  bool ladderWithinStep(const TickState& state);
  bool fallenAway(float above) const;
  void markWaits(TickState& state);
  void addWait(StateGraph& graph, const TickState& state, bool keepEdges);
  void indexItems();
  void touchItems(bool sure);
  void decideItems();
  bool overLimit(const StateGraph& graph);
  std::size_t heldBytes(const StateGraph& graph) const;
  void restoreGame() const;  // as given, with the enemies gone

  // authoring/ReachabilityRoute.cpp
  // Plays the edges from the start and writes down every tick's keys.
  Route play(const std::vector<std::uint32_t>& edges) const;

  Game& game_;
  ReachabilityLimits limits_;
  TickStates states_;
  TickState start_;
  std::unique_ptr<StateGraph> graph_;  // the motion search, kept for the route
  mutable std::vector<std::uint32_t> components_;  // of graph_, found when first asked
  mutable std::shared_ptr<const stateways::TileReach> tileReach_;  // found when first asked
  mutable std::vector<Spot> spots_;  // of graph_, gathered when first asked
  void forgetComponents();  // of a graph searched anew
  std::vector<Input> groundInputs_;
  std::vector<Input> idleInputs_;     // nothing held: all a player without a choice has
  std::vector<Input> digits_;         // one teleport digit each
  std::uint64_t digitKeys_[2] = {0, 0};  // their codes, as TickState::pendingKeys holds them
  bool inputFromDevices_ = true;      // the Game's, given back when the search ends
  bool uniformFrames_ = true;         // every player frame has one size
  std::vector<std::vector<BITMAP*>> frames_;  // by animation, every frame
  std::vector<BITMAP*> frameSizes_;            // one frame of each size
  std::vector<Item> items_;                    // the level's, as placed
  std::vector<bool> tileReached_;
  std::vector<bool> itemReached_;
  std::size_t itemsLeft_ = 0;         // not reached yet
  std::vector<std::uint32_t> itemsByTop_;  // indices in items_, by their top row
  int tallestItem_ = 0;
  std::vector<std::uint8_t> mayTouch_;  // by item: bits of the animations some frame of which touched it
  float widest_ = 0.0f;               // of the player's frames
  float tallest_ = 0.0f;
  enum Answer : std::int8_t { unknown, yes, no };
  std::vector<Answer> nearTeleporter_;  // by state of the search under way: mayTeleportNext
  std::vector<bool> armed_;             // and whether its pressed states have been added
  std::unique_ptr<StateGraph> stillness_;  // states without their cooldown, for markWaits
  std::vector<bool> waitsAt_;         // by stillness_ index
  bool memoizing_ = false;            // stretches are remembered (the motion search)
  Memo afterFirst_;                   // keyed by the state after a first tick
  Memo byState_;                      // keyed by the state a chain starts at; no stretches
  std::vector<Stretch> wholeStretches_;   // played from a state of byState_ with an input
  std::vector<StretchSlot> wholeSlots_;  // by byState_ index and ground input
  std::vector<int> memoClaims_;
  std::size_t claimMark_ = 0;         // the floor's claim journal when the search began
  bool complete_ = true;
  std::size_t ticks_ = 0;
  std::size_t expansions_ = 0;
  std::size_t ticksLooked_ = 0;       // ticks_ when the clock and the bytes were last looked at
  double startedAt_ = 0.0;
  int lives_ = 0;                     // restored after every death
  int lowest_ = INT_MIN;              // lowest row a tile or item covers or a chute starts at
  int score_ = 0;
};
