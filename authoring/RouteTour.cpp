#include "authoring/RouteTour.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "authoring/ClearingPlay.h"
#include "authoring/ClearingRoute.h"
#include "authoring/Reachability.h"
#include "authoring/RunBound.h"
#include "authoring/TourCosts.h"
#include "game/Game.h"

namespace {

struct KeptRoute {
  std::vector<TickInput> route;
  HashTrail hashes;
};

// The walks of the estimate ask no limit of ticks (work counts them) and
// the tour's seconds.
ClearingLimits costLimits(ClearingLimits limits) {
  limits.maxTicks = SIZE_MAX;
  limits.maxSeconds *= limits.tourShare;
  return limits;
}

// What a candidate tour may play, in lengths of the tour kept: one that
// meets no enemy plays about its own length from where it differs, and
// one that must wait for enemies backtracks over its ways.
const std::size_t candidateTicks = 4;
// What a tour played whole from the start may play at least, in shares of
// the tour's work: finding its way among the enemies anew can take many
// times its length.
const double openingShare = 0.1;

class TourSearch {
 public:
  TourSearch(Game& game, const Reachability& search, const ClearingLimits& limits, ItemWays& items,
             TourStyle style)
      : game_(game), search_(search), graph_(*search.foundStates()), limits_(limits), items_(items),
        style_(style),
        live_(game, search), routeLimits_(costLimits(limits)) {
    makeRuns();
    live_.keepHashes(&trail_);
    start_ = live_.snapshot();
    // At most half the tour's work goes to the estimate.
    costs_ = std::make_unique<TourCosts>(graph_, runOf_.size(), start_.at, routeLimits_,
                                         limits.tourTicks / 2 * TourCosts::statesPerTick);
  }
  ~TourSearch() { live_.keepHashes(nullptr); }

  // The routes kept, each shorter than the one before and than the one
  // given; atBase: how many of them the tour's own work found.
  std::vector<KeptRoute> run(const ClearingResult& clear, std::size_t& atBase);

 private:
  void makeRuns();
  Tour firstTour(const std::vector<std::uint32_t>& edges) const;
  Tour wholeRuns() const;
  std::vector<std::pair<std::size_t, TourMove>> movesByEstimate();
  bool tryTour(const Tour& tour, std::size_t from, double atLeast = 0.0);
  static std::size_t legAt(const Tour& tour, const std::vector<bool>& wanted);
  static std::vector<bool> focus(const Tour& tour, const std::vector<bool>& wanted);
  bool over() const;
  bool reachKept(std::size_t from);
  // Ticks played and the states walked, as the search counts them; and
  // with the estimate's walks.
  std::size_t searchWork() const { return live_.ticksPlayed() + walked_ / ClearingAim::statesPerTick; }
  std::size_t work() const { return searchWork() + costs_->statesWalked() / TourCosts::statesPerTick; }
  double tourSeconds() const { return limits_.maxSeconds * limits_.tourShare; }
  std::size_t budget() const;

  Game& game_;
  const Reachability& search_;
  const StateGraph& graph_;
  ClearingLimits limits_;
  ItemWays& items_;
  TourStyle style_;
  LivePlay live_;
  RouteLimits routeLimits_;
  std::unique_ptr<TourCosts> costs_;
  std::vector<ClaimRun> runs_;
  std::vector<int> runOf_;  // by tile, -1 for none
  HashTrail trail_;         // of the life being played
  PlaySnapshot start_;
  Tour tour_;                       // the shortest kept
  std::vector<PlaySnapshot> kept_;  // by leg of tour_: the first place with nothing before it wanted
  std::vector<TickInput> keptRoute_;  // tour_'s
  // The places of kept_ before it stand on the floor's claim journal as it
  // is: a play from one of them rewrites the journal past it.
  std::size_t onJournal_ = 0;
  std::size_t bestTicks_ = SIZE_MAX;
  std::size_t walked_ = 0;  // states, by every search played
  bool pastOwn_ = false;    // into the more: nothing kept now counts as the own work's
  double startedAt_ = searchClockSeconds();
};

void TourSearch::makeRuns() {
  const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
  int widest = 0;
  for (std::uint32_t s = 0; s < graph_.size(); ++s) widest = std::max(widest, graph_.state(s).width);
  runs_ = claimRuns(tiles, tilesWanted(game_, search_.unreachedTiles()), 0.5f * static_cast<float>(widest));
  runOf_.assign(tiles.size(), -1);
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    for (int tile : runs_[r].tiles) runOf_[tile] = static_cast<int>(r);
  }
}

// The stretches of the route's claims that stay in one run, in its order,
// each entered from the end nearer its first claim.
Tour TourSearch::firstTour(const std::vector<std::uint32_t>& edges) const {
  Tour tour;
  std::vector<bool> placed(runOf_.size(), false);
  int last = -1;  // the run of the last leg
  std::vector<int> first;  // by leg, its first tile
  for (std::uint32_t e : edges) {
    const StateEdge& edge = graph_.edge(e);
    for (std::uint32_t n = edge.claimsBegin; n < edge.claimsBegin + edge.claimCount; ++n) {
      const int tile = graph_.claimedTile(n);
      if (runOf_[tile] < 0 || placed[tile]) continue;
      placed[tile] = true;
      if (runOf_[tile] != last) {
        tour.push_back({});
        first.push_back(tile);
        last = runOf_[tile];
      }
      tour.back().tiles.push_back(tile);
    }
  }
  for (std::size_t tile = 0; tile < runOf_.size(); ++tile) {
    if (runOf_[tile] >= 0 && !placed[tile]) tour.push_back({{static_cast<int>(tile)}, true});
  }
  for (std::size_t i = 0; i < tour.size(); ++i) {
    const std::vector<int>& in = runs_[runOf_[tour[i].tiles.front()]].tiles;
    const auto column = [&](int tile) { return std::find(in.begin(), in.end(), tile) - in.begin(); };
    std::vector<int>& tiles = tour[i].tiles;
    std::sort(tiles.begin(), tiles.end(), [&](int a, int b) { return column(a) < column(b); });
    if (i < first.size()) tour[i].fromLeft = 2 * (column(first[i]) - column(tiles.front())) <=
                                             column(tiles.back()) - column(tiles.front());
  }
  return tour;
}

std::vector<KeptRoute> TourSearch::run(const ClearingResult& clear, std::size_t& atBase) {
  std::vector<KeptRoute> kept;
  atBase = 0;
  // The first tour is kept whatever its length: the moves start from it.
  const Tour first = firstTour(clear.edges);
  if (!tryTour(first, 0)) return kept;
  // A play that ended within the tour's own work plays the same without
  // the more: it never met the limit.
  const auto keepShorter = [&] {
    if (bestTicks_ < (kept.empty() ? clear.route.size() : kept.back().route.size())) {
      kept.push_back({live_.inputs(), trail_});
      if (!pastOwn_ && work() <= limits_.tourTicks) atBase = kept.size();
    }
  };
  keepShorter();
  // The cheapest orders by the estimate, of the route's own legs and of
  // whole runs: played from the start, kept only if shorter.
  for (const Tour& other : {costs_->cheapestOrder(first), costs_->cheapestOrder(wholeRuns())}) {
    if (over()) break;
    if (other != tour_ && tryTour(other, 0, openingShare * limits_.tourTicks)) keepShorter();
  }
  // Until a whole round of moves shortens nothing, or the limits pass.
  // Past the tour's own work the moves cut legs too, whatever its style: a
  // round of whole legs that shortened nothing may yet shorten by a cut.
  for (bool shortened = true; shortened && !over();) {
    if (work() >= limits_.tourTicks) pastOwn_ = true;
    shortened = false;
    for (const auto& [from, move] : movesByEstimate()) {
      if (over()) break;
      // Legs past the one that cleared the level play nothing.
      if (from >= kept_.size() || !tryTour(applied(tour_, move), from)) continue;
      keepShorter();
      shortened = true;
      break;  // the moves of the tour now kept
    }
    if (!shortened && !style_.splitLegs && !pastOwn_ && budget() > limits_.tourTicks) {
      pastOwn_ = true;
      shortened = true;
    }
  }
  return kept;
}

// The moves of the tour kept, the cheapest by the estimate first, then
// by the first leg each changes, latest first: those replay the least.
// Past the estimate's budget the moves left are taken by their first leg
// changed alone.
std::vector<std::pair<std::size_t, TourMove>> TourSearch::movesByEstimate() {
  struct Ranked {
    std::uint64_t estimate;
    std::size_t from;
    TourMove move;
  };
  std::vector<Ranked> all;
  std::vector<TourMove> moves = tourMoves(tour_.size());
  if (style_.splitLegs || pastOwn_) {
    const std::vector<TourMove> splits = splitMoves(tour_);
    moves.insert(moves.end(), splits.begin(), splits.end());
  }
  for (const TourMove& move : moves) {
    if (!costs_->canEstimate()) {
      all.push_back({UINT64_MAX, std::min(move.i, move.j), move});
      continue;
    }
    const Tour candidate = applied(tour_, move);
    std::size_t from = 0;
    while (from < candidate.size() && candidate[from] == tour_[from]) ++from;
    if (from >= candidate.size()) continue;
    const bool cut = move.kind == TourMove::Split;
    all.push_back({cut ? costs_->estimateKnown(candidate) : costs_->estimate(candidate), from, move});
  }
  std::stable_sort(all.begin(), all.end(), [](const Ranked& a, const Ranked& b) {
    return a.estimate != b.estimate ? a.estimate < b.estimate : a.from > b.from;
  });
  std::vector<std::pair<std::size_t, TourMove>> ordered;
  for (const Ranked& r : all) ordered.emplace_back(r.from, r.move);
  return ordered;
}

// Each run in one leg.
Tour TourSearch::wholeRuns() const {
  Tour tour;
  for (const ClaimRun& run : runs_) tour.push_back({run.tiles, true});
  return tour;
}

// The search aimed by the tour from the place kept before leg `from`; kept
// when it clears the level in fewer ticks than the tour kept.
bool TourSearch::tryTour(const Tour& tour, std::size_t from, double atLeast) {
  ClearingAim aim;
  aim.othersFirst = style_.othersFirst;
  aim.focus = [&tour](const std::vector<bool>& wanted) { return focus(tour, wanted); };
  if (!reachKept(from)) return false;
  aim.from = from == 0 ? &start_ : &kept_[from];
  aim.longest = bestTicks_;
  std::vector<std::pair<PlaySnapshot, std::vector<bool>>> places;
  aim.places = &places;
  ClearingLimits left = limits_;
  // Counted over every tour (one LivePlay plays them) as the search counts
  // them, and a candidate gets a few times the tour kept's length, or
  // `atLeast`, of what the tour has left.
  const std::size_t allowed = bestTicks_ == SIZE_MAX
      ? SIZE_MAX : std::max(candidateTicks * bestTicks_, static_cast<std::size_t>(atLeast));
  const std::size_t rest = budget() - std::min(budget(), work());
  left.maxTicks = searchWork() + std::min(allowed, rest);
  aim.walked = walked_;
  left.maxSeconds = tourSeconds() - (searchClockSeconds() - startedAt_);
  const ClearingResult result = clearAiming(live_, game_, search_, left, aim, items_);
  walked_ += result.statesWalked;
  onJournal_ = std::min(onJournal_, from + 1);
  if (result.end != ClearingResult::End::Cleared || live_.inputs().size() >= bestTicks_) return false;
  bestTicks_ = live_.inputs().size();
  keptRoute_ = live_.inputs();
  tour_ = tour;
  kept_.resize(from);
  for (auto& [place, wanted] : places) {
    const std::size_t leg = legAt(tour, wanted);
    while (kept_.size() <= leg && kept_.size() < tour.size()) kept_.push_back(place);
  }
  onJournal_ = kept_.size();
  return true;
}

// Puts the kept place before leg `from` back on the claim journal, when a
// play from an earlier place has rewritten it, by playing the kept route
// there again from the latest place still on it.
bool TourSearch::reachKept(std::size_t from) {
  if (from == 0 || from < onJournal_) return true;
  live_.restore(onJournal_ == 0 ? start_ : kept_[onJournal_ - 1]);
  if (!live_.replayTo(keptRoute_, kept_[from].inputs)) return false;
  onJournal_ = from + 1;
  return true;
}

// The first leg with a tile still wanted.
std::size_t TourSearch::legAt(const Tour& tour, const std::vector<bool>& wanted) {
  for (std::size_t i = 0; i < tour.size(); ++i) {
    for (int tile : tour[i].tiles) {
      if (wanted[tile]) return i;
    }
  }
  return tour.size();
}

// What the search's nearest way aims for: the end tile of the first leg
// with a tile still wanted while it has all of them, then all it has.
std::vector<bool> TourSearch::focus(const Tour& tour, const std::vector<bool>& wanted) {
  const std::size_t at = legAt(tour, wanted);
  if (at == tour.size()) return wanted;
  const Leg& leg = tour[at];
  std::vector<bool> aim(wanted.size(), false);
  std::vector<int> left;
  for (int tile : leg.tiles) {
    if (wanted[tile]) left.push_back(tile);
  }
  if (left.size() < leg.tiles.size()) {
    for (int tile : left) aim[tile] = true;
  } else {
    aim[leg.fromLeft ? left.front() : left.back()] = true;
  }
  return aim;
}

std::size_t TourSearch::budget() const {
  const std::size_t less = limits_.tourMorePerState * graph_.size();
  const std::size_t more = less < limits_.tourMore ? limits_.tourMore - less : 0;
  const std::size_t enemies = std::max(game_.enemyManager.enemies().size(), limits_.tourMoreEnemies);
  return limits_.tourTicks + more / enemies * limits_.tourMoreEnemies;
}

bool TourSearch::over() const {
  return work() >= budget() ||
         searchClockSeconds() - startedAt_ > tourSeconds();
}

// The shortest of the first `count` kept that asks no press more on an
// exact tick than the route given: a quicker route is no gain to a player
// who cannot play it. Nothing when none does.
const KeptRoute* playable(Game& game, const Reachability& search, const ClearingResult& given,
                          const std::vector<KeptRoute>& kept, std::size_t count,
                          const ClearingLimits& limits) {
  std::size_t exactGiven = SIZE_MAX;
  for (std::size_t i = count; i-- > 0;) {
    const std::size_t exact = exactPresses(game, search, kept[i].route, limits);
    if (exact > 0 && exactGiven == SIZE_MAX) exactGiven = exactPresses(game, search, given.route, limits);
    if (exact <= exactGiven) return &kept[i];
  }
  return nullptr;
}

void take(ClearingResult& clear, const KeptRoute& route) {
  clear.route = route.route;
  clear.hashes = route.hashes;
  clear.edges.clear();
}

}  // namespace

void shortenByTour(Game& game, const Reachability& search, ClearingResult& clear,
                   const ClearingLimits& limits, ItemWays& items, TourStyle style,
                   ClearingResult* atBase) {
  if (atBase != nullptr) *atBase = clear;
  if (clear.end != ClearingResult::End::Cleared || clear.edges.empty()) return;
  std::size_t baseCount = 0;
  const std::vector<KeptRoute> kept = TourSearch(game, search, limits, items, style).run(clear, baseCount);
  const KeptRoute* base = playable(game, search, clear, kept, baseCount, limits);
  const KeptRoute* more = baseCount < kept.size() ? playable(game, search, clear, kept, kept.size(), limits) : base;
  if (atBase != nullptr && base != nullptr) take(*atBase, *base);
  if (more != nullptr) take(clear, *more);
}
