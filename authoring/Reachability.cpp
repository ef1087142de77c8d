#include "authoring/Reachability.h"

#include <algorithm>
#include <climits>

#include "actors/Teleporter.h"
#include "authoring/Replay.h"
#include "game/Game.h"
#include "graphics/Pixel.h"
#include "player/KeyRelease.h"

namespace {

bool pressable(int code) { return code >= 0 && code < KEY_MAX && code != KEY_ESC; }

}  // namespace

Reachability::Reachability(Game& game, ReachabilityLimits limits)
    : game_(game), limits_(limits), states_(game) {
  game_.enemyManager.clear();
  start_ = states_.capture();
  items_ = game_.itemManager.items();
  for (Item& item : items_) item.present = true;
  tileReached_.assign(game_.floorManager.tiles().size(), false);
  itemReached_.assign(items_.size(), false);
  mayTouch_.assign(items_.size(), 0);
  itemsLeft_ = items_.size();
  indexItems();
  claimMark_ = game_.floorManager.claimCount();
  lives_ = game_.player.lives;
  inputFromDevices_ = game_.inputSource.inputFromDevices;
  for (const FloorTile& tile : game_.floorManager.tiles()) lowest_ = std::max(lowest_, tile.y + tile.height);
  for (const Item& item : items_) lowest_ = std::max(lowest_, item.y + item.height);
  for (const Chute& chute : game_.chuteManager->chutes()) lowest_ = std::max(lowest_, chute.y);
  score_ = game_.player.score;
  chooseInputs();
  chooseDigits();
  collectFrames();
}

Reachability::~Reachability() = default;

std::size_t Reachability::stateCount() const { return graph_ ? graph_->size() : 0; }

// The 16 combinations argued for in the header when the five keys have
// five codes, all 32 otherwise; each kept once per set of codes it holds.
void Reachability::chooseInputs() {
  const int codeOf[] = {game_.keyLeft, game_.keyRight, game_.keyUp, game_.keyDown, game_.keyJump};
  std::vector<int> actionCodes(std::begin(codeOf), std::end(codeOf));
  std::sort(actionCodes.begin(), actionCodes.end());
  const bool distinct =
      std::adjacent_find(actionCodes.begin(), actionCodes.end()) == actionCodes.end();
  std::vector<unsigned> combinations;
  if (distinct) {
    for (unsigned walk : {0u, +replayLeft, +replayRight, replayLeft | replayRight}) {
      for (unsigned other : {0u, +replayJump, +replayUp, +replayDown}) {
        combinations.push_back(walk | other);
      }
    }
  } else {
    for (unsigned keys = 0; keys < 32; ++keys) combinations.push_back(keys);
  }
  for (unsigned keys : combinations) {
    Input input;
    input.keys.keys = static_cast<std::uint8_t>(keys);
    bool usable = true;
    for (int bit = 0; bit < 5; ++bit) {
      if ((keys & (1u << bit)) == 0) continue;
      usable = usable && pressable(codeOf[bit]);
      input.codes.push_back(codeOf[bit]);
    }
    std::sort(input.codes.begin(), input.codes.end());
    input.codes.erase(std::unique(input.codes.begin(), input.codes.end()), input.codes.end());
    const bool repeated = std::any_of(groundInputs_.begin(), groundInputs_.end(),
                                      [&](const Input& other) { return other.codes == input.codes; });
    if (usable && !repeated) groundInputs_.push_back(input);
  }
  idleInputs_.push_back(groundInputs_.front());  // no key held comes first
}

// Digits that can carry the player somewhere: a teleporter of that number
// exists, and its key neither ends the run nor is one of the five keys
// (which then press it themselves, and the search follows that through
// the key-release table).
void Reachability::chooseDigits() {
  const int actionCodes[] = {game_.keyLeft, game_.keyRight, game_.keyUp, game_.keyDown,
                             game_.keyJump};
  for (int code : states_.teleportCodes()) {
    const int number = code - Game::firstDigitCode;
    const bool shared =
        std::find(std::begin(actionCodes), std::end(actionCodes), code) != std::end(actionCodes);
    float x = 0.0f;
    float y = 0.0f;
    game_.teleporterManager.destination(number, x, y);
    if (!pressable(code) || shared || x == -1.0f) continue;
    digitKeys_[code / 64] |= std::uint64_t{1} << (code % 64);
    Input digit;
    digit.keys.digit = static_cast<std::uint8_t>(number);
    digit.codes.push_back(code);
    digits_.push_back(digit);
  }
}

void Reachability::run() {
  startedAt_ = searchClockSeconds();
  ticks_ = 0;
  expansions_ = 0;
  ticksLooked_ = 0;
  // Items change nothing of the motion; they are touched on copies, and
  // the tick is spared looking at them.
  game_.itemManager.clear();
  graph_ = std::make_unique<StateGraph>(uniformFrames_ ? StateKey::Motion : StateKey::Full, -1);
  forgetComponents();
  // Chains are remembered only where the animations do not move the player.
  memoizing_ = uniformFrames_;
  afterFirst_ = Memo();
  byState_ = Memo();
  complete_ = search(*graph_, true);
  memoizing_ = false;
  afterFirst_ = Memo();
  byState_ = Memo();
  std::vector<Stretch>().swap(wholeStretches_);
  std::vector<StretchSlot>().swap(wholeSlots_);
  std::vector<int>().swap(memoClaims_);
  if (complete_) decideItems();
  restoreGame();
}

void Reachability::restoreGame() const {
  holdOnly({});
  game_.inputSource.inputFromDevices = inputFromDevices_;
  states_.restore(start_);
  game_.itemManager.clear();
  for (const Item& item : items_) {
    Item placed = item;
    placed.present = true;
    game_.itemManager.add(placed);
  }
  game_.player.lives = lives_;
  game_.player.score = score_;
  game_.quit = false;
  game_.levelDone = false;
}

bool Reachability::search(StateGraph& graph, bool keepEdges) {
  nearTeleporter_.clear();
  armed_.clear();
  stillness_ = std::make_unique<StateGraph>(StateKey::Motion, -1);
  waitsAt_.clear();
  bool added = false;
  graph.add(start_, added);
  for (std::uint32_t i = 0; i < graph.size(); ++i) {
    if (overLimit(graph)) return false;
    expand(graph, i, keepEdges);
  }
  return true;
}

bool Reachability::overLimit(const StateGraph& graph) {
  if (graph.size() >= limits_.maxStates || ticks_ >= limits_.maxTicks) return true;
  // The bytes are a few sizes added up: every 256 states. The clock costs
  // more than a tick, so it is asked after 4096 states or 8192 ticks,
  // whichever comes first, and what one state's chains play.
  if (++expansions_ % 256 == 0 && heldBytes(graph) > limits_.maxBytes) return true;
  if (expansions_ % 4096 != 0 && ticks_ - ticksLooked_ < 8192) return false;
  ticksLooked_ = ticks_;
  return searchClockSeconds() - startedAt_ > limits_.maxSeconds;
}

void Reachability::expand(StateGraph& graph, std::uint32_t from, bool keepEdges) {
  const TickState state = graph.state(from);  // the graph grows below
  if (keepEdges) graph.begin(from);
  if (state.has(TickState::cooldownActive) && state.marked(TickState::waits)) {
    addWait(graph, state, keepEdges);
  }
  const bool choosing = state.has(TickState::hasControl) && !state.has(TickState::falling) &&
                        state.jumpState == Player::notJumping;
  const bool climbable = choosing && ladderWithinStep(state);
  // A state the search pressed a digit in has its twin without the digit,
  // found with it. Every input releases the digit; one that does not
  // teleport goes where the twin goes with it, and in the motion search
  // every one that does arrives at one state: the first is enough.
  const bool digitPressed = (state.pendingKeys[0] | state.pendingKeys[1]) != 0 &&
                            (state.pendingKeys[0] & ~digitKeys_[0]) == 0 &&
                            (state.pendingKeys[1] & ~digitKeys_[1]) == 0;
  // A first tick without the climbing keys reads the ladder held only
  // where the player stands and walks, and with no digit pressed nothing
  // of the cooldown: the whole chain may have been played before.
  std::uint32_t memoState = UINT32_MAX;
  if (memoizing_ && state.pendingKeys[0] == 0 && state.pendingKeys[1] == 0) {
    bool known = false;
    memoState = remember(byState_, state, known);
    const std::size_t slots = (memoState + 1) * groundInputs_.size();
    if (wholeSlots_.size() < slots) wholeSlots_.resize(slots);
  }
  for (const Input& input : choosing ? groundInputs_ : idleInputs_) {
    // Up and down act only where the climbing keys find a ladder.
    if (!climbable && (input.keys.keys & (replayUp | replayDown)) != 0) continue;
    // Jumping or climbing keeps a released digit from teleporting.
    if (digitPressed && (input.keys.keys & ~(replayLeft | replayRight)) != 0) continue;
    const bool climbs = (input.keys.keys & (replayUp | replayDown)) != 0;
    // Nothing held is the first ground input too.
    const std::size_t inputIndex =
        choosing ? static_cast<std::size_t>(&input - groundInputs_.data()) : 0;
    StretchSlot* slot = memoState == UINT32_MAX || climbs
                            ? nullptr
                            : &wholeSlots_[memoState * groundInputs_.size() + inputIndex];
    const ChainResult chain =
        follow(state, input, slot, slot ? &byState_.keys->state(memoState) : nullptr);
    if (!chain.alive) continue;
    // A digit held in the chain's last tick changes nothing but its
    // key-release entry, and only when the input step reaches the teleport
    // keys; it is asked where the chain ended.
    TickState after = chain.end;
    markWaits(after);
    StateEdge edge;
    edge.input = input.keys;
    edge.ticks = chain.ticks;
    edge.to = add(graph, after);
    if (keepEdges) graph.addEdge(edge, chain.claims);
    if (digitPressed && after.has(TickState::cooldownActive) && graph.key() != StateKey::Full) {
      break;
    }
    if (chain.lastUnderControl && !digits_.empty()) {
      armDigits(graph, state, after, chain, edge, keepEdges);
    }
  }
}

// The chain just followed from `from` ended in `after` under control: where
// a teleport may follow, the states with each digit pressed in its last
// tick are added too.
void Reachability::armDigits(StateGraph& graph, const TickState& from, const TickState& after,
                             const ChainResult& chain, const StateEdge& edge, bool keepEdges) {
  // Whether a teleport may follow depends on nothing the key leaves out.
  if (nearTeleporter_.size() <= edge.to) {
    nearTeleporter_.resize(graph.size(), unknown);
    armed_.resize(graph.size(), false);
  }
  if (nearTeleporter_[edge.to] == unknown) {
    nearTeleporter_[edge.to] = mayTeleportNext(after) ? yes : no;
  }
  // The digits pressed on the way to a state are pressed once: another
  // way to it reaches the same pressed states.
  if (nearTeleporter_[edge.to] == no || armed_[edge.to]) return;
  armed_[edge.to] = true;
  for (const Input& digit : digits_) {
    const int code = digit.codes.front();
    // Pressed already when the last tick began: holding it on would have
    // kept it from being released in that tick; another way may press it.
    if (!chain.releasedBeforeLast && from.pending(code)) {
      armed_[edge.to] = false;
      continue;
    }
    TickState pressed = after;
    pressed.pendingKeys[code / 64] |= std::uint64_t{1} << (code % 64);
    StateEdge armed = edge;
    armed.input.digit = digit.keys.digit;
    armed.to = add(graph, pressed);
    if (keepEdges) graph.addEdge(armed, chain.claims);
  }
}

// A state found again is kept as first found, except that one whose
// animations are known takes the place of an unsure one not yet expanded.
std::uint32_t Reachability::add(StateGraph& graph, const TickState& state) {
  bool added = false;
  const std::uint32_t index = graph.add(state, added);
  if (!added && index >= graph.expanded() && graph.state(index).marked(TickState::unsure) &&
      !state.marked(TickState::unsure)) {
    graph.replace(index, state);
  }
  return index;
}

// The search holds its keys in the Game's input record; the keyboard and
// the joystick have no say in what it finds.
void Reachability::holdOnly(const std::vector<int>& codes) const {
  game_.inputSource.inputFromDevices = false;
  game_.input.releaseAll();
  for (int code : codes) game_.input.hold(code);
}

void Reachability::holdOffCountdown() const {
  game_.countdown = INT_MAX;
  game_.lifeTicks = 0;
}

Reachability::PlayedTick Reachability::tickOnce(const std::vector<int>& codes) {
  holdOnly(codes);
  holdOffCountdown();
  FloorManager& floor = game_.floorManager;
  const std::size_t mark = floor.claimCount();
  game_.tick();
  ++ticks_;
  PlayedTick played;
  for (std::size_t n = mark; n < floor.claimCount(); ++n) {
    played.claimed.push_back(floor.claimedTile(n));
  }
  floor.undoClaims(mark);
  if (game_.player.alive) return played;
  game_.player.lives = lives_;
  game_.quit = false;
  played.alive = false;
  return played;
}

// Standing still for a tick, where it changes nothing but the cooldown,
// can be done for as long as the cooldown runs.
// The answer depends on nothing of the cooldown, so it is remembered
// without it.
void Reachability::markWaits(TickState& state) {
  if (!state.has(TickState::cooldownActive)) return;
  TickState still = state;
  still.flags = static_cast<std::uint8_t>(still.flags & ~TickState::cooldownActive);
  still.cooldownTicks = 0;
  bool added = false;
  const std::uint32_t index = stillness_->add(still, added);
  if (added) {
    states_.restore(state);
    bool waits = tickOnce(idleInputs_.front().codes).alive;
    if (waits) {
      TickState after = states_.capture();
      after.cooldownTicks = state.cooldownTicks;
      const std::uint8_t cooldown = TickState::cooldownActive;
      after.flags = static_cast<std::uint8_t>((after.flags & ~cooldown) | (state.flags & cooldown));
      after.marks = static_cast<std::uint8_t>((after.marks & ~TickState::unsure) |
                                              (state.marks & TickState::unsure));
      waits = after == state;
    }
    waitsAt_.push_back(waits);
  }
  if (waitsAt_[index]) state.marks |= TickState::waits;
}

// The cooldown counted down with the engine's own count: standing still
// changes nothing else.
void Reachability::addWait(StateGraph& graph, const TickState& state, bool keepEdges) {
  states_.restore(state);
  std::uint32_t ticks = 0;
  while (game_.teleportCooldownActive && ticks < maxWait) {
    game_.cooldownCount();
    ++ticks;
  }
  if (game_.teleportCooldownActive) return;  // a cooldown longer than any search
  states_.restore(state);
  const PlayedTick standing = tickOnce(idleInputs_.front().codes);  // what standing claims
  TickState over = state;
  over.flags = static_cast<std::uint8_t>(over.flags & ~TickState::cooldownActive);
  over.marks = static_cast<std::uint8_t>(over.marks & ~TickState::waits);
  StateEdge edge;
  edge.wait = true;
  edge.ticks = ticks;
  bool added = false;
  edge.to = graph.add(over, added);
  if (keepEdges) graph.addEdge(edge, standing.claimed);
}

std::vector<int> Reachability::unreachedTiles() const {
  std::vector<int> unreached;
  const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
  for (size_t i = 0; i < tiles.size(); ++i) {
    if (tiles[i].claimable != 0 && !tileReached_[i]) unreached.push_back(static_cast<int>(i));
  }
  return unreached;
}

