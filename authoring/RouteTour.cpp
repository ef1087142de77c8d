#include "authoring/RouteTour.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "authoring/ClearingPlay.h"
#include "authoring/Reachability.h"
#include "authoring/RunBound.h"
#include "game/Game.h"

namespace {

// What a candidate tour may play, in lengths of the tour kept: one that
// meets no enemy plays about its own length from where it differs.
const std::size_t candidateTicks = 2;

// Tiles of one run, in column order, claimed from one end.
struct Leg {
  std::vector<int> tiles;
  bool fromLeft = true;
  bool operator==(const Leg& other) const {
    return fromLeft == other.fromLeft && tiles == other.tiles;
  }
};
using Tour = std::vector<Leg>;

class TourSearch {
 public:
  TourSearch(Game& game, const Reachability& search, const ClearingLimits& limits)
      : game_(game), search_(search), graph_(*search.foundStates()), limits_(limits),
        live_(game, search) {
    makeRuns();
    live_.keepHashes(&trail_);
    start_ = live_.snapshot();
  }
  ~TourSearch() { live_.keepHashes(nullptr); }

  void run(ClearingResult& clear);

 private:
  void makeRuns();
  Tour firstTour(const std::vector<std::uint32_t>& edges) const;
  std::vector<Tour> moves(const Tour& tour) const;
  std::vector<std::pair<std::size_t, Tour>> movesLatestFirst() const;
  bool tryTour(const Tour& tour, std::size_t from);
  static std::size_t legAt(const Tour& tour, const std::vector<bool>& wanted);
  static std::vector<bool> focus(const Tour& tour, const std::vector<bool>& wanted);
  bool over() const;
  // Ticks played, and the states walked counted as the search counts them.
  std::size_t work() const { return live_.ticksPlayed() + walked_ / ClearingAim::statesPerTick; }
  double tourSeconds() const { return limits_.maxSeconds * limits_.tourShare; }

  Game& game_;
  const Reachability& search_;
  const StateGraph& graph_;
  ClearingLimits limits_;
  LivePlay live_;
  std::vector<ClaimRun> runs_;
  std::vector<int> runOf_;  // by tile, -1 for none
  HashTrail trail_;         // of the life being played
  PlaySnapshot start_;
  Tour tour_;                       // the shortest kept
  std::vector<PlaySnapshot> kept_;  // by leg of tour_: the first place with nothing before it wanted
  std::size_t bestTicks_ = SIZE_MAX;
  std::size_t walked_ = 0;  // states, by every search played
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

void TourSearch::run(ClearingResult& clear) {
  // The first tour is kept whatever its length: the moves start from it.
  if (!tryTour(firstTour(clear.edges), 0)) return;
  const auto keepShorter = [&] {
    if (bestTicks_ >= clear.route.size()) return;
    clear.route = live_.inputs();
    clear.hashes = trail_;
    clear.edges.clear();
  };
  keepShorter();
  // Until a whole round of moves shortens nothing, or the limits pass.
  for (bool shortened = true; shortened && !over();) {
    shortened = false;
    for (const auto& [from, candidate] : movesLatestFirst()) {
      if (over()) break;
      // Legs past the one that cleared the level play nothing.
      if (from >= kept_.size() || !tryTour(candidate, from)) continue;
      keepShorter();
      shortened = true;
      break;  // the moves of the tour now kept
    }
  }
}

// The moves of the tour kept, by the first leg each changes, latest
// first: those replay the least.
std::vector<std::pair<std::size_t, Tour>> TourSearch::movesLatestFirst() const {
  std::vector<std::pair<std::size_t, Tour>> all;
  for (Tour& candidate : moves(tour_)) {
    std::size_t from = 0;
    while (from < candidate.size() && candidate[from] == tour_[from]) ++from;
    if (from < candidate.size()) all.emplace_back(from, std::move(candidate));
  }
  std::stable_sort(all.begin(), all.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  return all;
}

// Every move of one kind after another: an end flipped, a segment of one
// to three legs moved, a segment reversed with its ends flipped.
std::vector<Tour> TourSearch::moves(const Tour& tour) const {
  std::vector<Tour> all;
  const std::size_t n = tour.size();
  for (std::size_t i = 0; i < n; ++i) {
    Tour t = tour;
    t[i].fromLeft = !t[i].fromLeft;
    all.push_back(std::move(t));
  }
  for (std::size_t length = 1; length <= 3 && length < n; ++length) {
    for (std::size_t i = 0; i + length <= n; ++i) {
      Tour rest = tour;
      rest.erase(rest.begin() + i, rest.begin() + i + length);
      for (std::size_t j = 0; j <= rest.size(); ++j) {
        if (j == i) continue;
        Tour t = rest;
        t.insert(t.begin() + j, tour.begin() + i, tour.begin() + i + length);
        all.push_back(std::move(t));
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      Tour t = tour;
      std::reverse(t.begin() + i, t.begin() + j + 1);
      for (std::size_t k = i; k <= j; ++k) t[k].fromLeft = !t[k].fromLeft;
      all.push_back(std::move(t));
    }
  }
  return all;
}

// The search aimed by the tour from the place kept before leg `from`; kept
// when it clears the level in fewer ticks than the tour kept.
bool TourSearch::tryTour(const Tour& tour, std::size_t from) {
  ClearingAim aim;
  aim.focus = [&tour](const std::vector<bool>& wanted) { return focus(tour, wanted); };
  aim.from = from == 0 ? &start_ : &kept_[from];
  aim.longest = bestTicks_;
  std::vector<std::pair<PlaySnapshot, std::vector<bool>>> places;
  aim.places = &places;
  ClearingLimits left = limits_;
  // Counted over every tour (one LivePlay plays them), and a candidate
  // gets a few times the tour kept's length.
  left.maxTicks = bestTicks_ == SIZE_MAX ? limits_.tourTicks
                                         : std::min(limits_.tourTicks, work() + candidateTicks * bestTicks_);
  aim.walked = walked_;
  left.maxSeconds = tourSeconds() - (searchClockSeconds() - startedAt_);
  const ClearingResult result = clearAiming(live_, game_, search_, left, aim);
  walked_ += result.statesWalked;
  if (result.end != ClearingResult::End::Cleared || live_.inputs().size() >= bestTicks_) return false;
  bestTicks_ = live_.inputs().size();
  tour_ = tour;
  kept_.resize(from);
  for (auto& [place, wanted] : places) {
    const std::size_t leg = legAt(tour, wanted);
    while (kept_.size() <= leg && kept_.size() < tour.size()) kept_.push_back(place);
  }
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

bool TourSearch::over() const {
  return work() >= limits_.tourTicks ||
         searchClockSeconds() - startedAt_ > tourSeconds();
}

}  // namespace

void shortenByTour(Game& game, const Reachability& search, ClearingResult& clear,
                   const ClearingLimits& limits) {
  if (clear.end != ClearingResult::End::Cleared || clear.edges.empty()) return;
  TourSearch(game, search, limits).run(clear);
}
