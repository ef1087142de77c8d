#include "authoring/RunStays.h"

#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <utility>

#include "authoring/RunStayKinds.h"

namespace {

using namespace runstays;

// The sets of stays so far: whether one was entered from away or the
// start, whether one ends the route, whether one begins it, whether one
// was left for another run, and (in the sets with stays entered back by
// teleport) whether one left back by teleport was not entered so.
template <int N>
using Layers = std::array<double, N>;
constexpr int plain = 16;   // layers without the last
constexpr int rooted = 32;  // and with it
constexpr int entered = 1;
constexpr int ended = 2;
constexpr int begun = 4;
constexpr int leftAway = 8;
constexpr int root = 16;

// The layer after a stay of the given ways, or -1.
template <int N>
int after(int layer, Way in, Way out) {
  if ((layer & ended) != 0 && out == Ends) return -1;
  if ((layer & begun) != 0 && in == Start) return -1;
  const bool fromAway = in == Away || in == Start;
  const bool rootHere = N == rooted && out == Teleport && in != Teleport;
  return layer | (fromAway ? entered : 0) | (out == Ends ? ended : 0) |
         (in == Start ? begun : 0) | (out == Away ? leftAway : 0) | (rootHere ? root : 0);
}

// A whole set: some stay entered from away or the start, the one begun
// there when the route begins on the run, and either the one that ends
// the route or one left for another run. Stays entered back by teleport
// each follow one left back by teleport; the first in time of those was
// not itself entered so: the sets with such stays have that root.
template <int N>
bool settled(int layer, bool begins, bool finishes) {
  if (N == rooted && (layer & root) == 0) return false;
  if ((layer & entered) == 0 || ((layer & begun) != 0) != begins) return false;
  return finishes ? (layer & ended) != 0 : (layer & (ended | leftAway)) == leftAway;
}

// A price for each balance, charged to a stay for each way back it leaves
// by and given back for each it is entered by.
struct Prices {
  double walked = 0.0;
  double teleported = 0.0;
  double of(const Kind& k) const { return k.walked * walked + k.teleported * teleported; }
};

// The least in a window of columns behind the one at hand.
class WindowLeast {
 public:
  explicit WindowLeast(int width) : width_(width) {}
  void add(int column, double value) {
    while (!kept_.empty() && kept_.back().second >= value) kept_.pop_back();
    kept_.push_back({column, value});
  }
  double before(int column) {
    while (!kept_.empty() && kept_.front().first <= column - width_) kept_.pop_front();
    return kept_.empty() ? never : kept_.front().second;
  }

 private:
  int width_;
  std::deque<std::pair<int, double>> kept_;
};

// By layer, the least the sets reaching the right turn or beyond ask.
template <int N>
Layers<N> reachingTheEnd(const std::vector<Kind>& kinds, const Columns& cols, int first, int last,
                      int reach, const Prices& price) {
  const std::size_t n = kinds.size();
  std::vector<std::array<int, N>> to(n);
  for (std::size_t k = 0; k < n; ++k) {
    for (int L = 0; L < N; ++L) to[k][L] = after<N>(L, kinds[k].in, kinds[k].out);
  }
  std::vector<Layers<N>> best(cols.count);
  std::vector<Layers<N>> far(n);  // over boundaries a window or more behind
  for (Layers<N>& f : far) f.fill(never);
  std::vector<WindowLeast> near(N, WindowLeast(reach));
  Layers<N> end, nearLeast;
  end.fill(never);
  for (int r = 0; r < cols.count; ++r) {
    best[r].fill(never);
    for (int L = 0; r >= reach && L < N; ++L) {
      const double behind = best[r - reach][L];
      if (behind == never) continue;
      for (std::size_t k = 0; k < n; ++k) far[k][L] = std::min(far[k][L], behind + kinds[k].leftPart[r]);
    }
    for (int L = 0; L < N; ++L) nearLeast[L] = near[L].before(r);
    for (std::size_t k = 0; k < n; ++k) {
      const Kind& kind = kinds[k];
      const double right = kind.rightPart[r] + price.of(kind);
      if (right == never) continue;
      double& start = best[r][to[k][0]];
      start = std::min(start, kind.leftPart[std::min(first, r)] + right);
      for (int L = 0; L < N; ++L) {
        if (to[k][L] < 0) continue;
        const double from = std::min(far[k][L], nearLeast[L] + kind.leftPart[r]);
        best[r][to[k][L]] = std::min(best[r][to[k][L]], from + right);
      }
    }
    for (int L = 0; L < N; ++L) near[L].add(r, best[r][L]);
    if (r >= last) {
      for (int L = 0; L < N; ++L) end[L] = std::min(end[L], best[r][L]);
    }
  }
  return end;
}

// The least that stays reaching no further add, from layer to layer:
// each counts its ways wherever it stands.
template <int N>
std::array<Layers<N>, N> othersBetween(const std::vector<Kind>& kinds, const Prices& price) {
  std::array<Layers<N>, N> cost;
  for (int a = 0; a < N; ++a) {
    cost[a].fill(never);
    cost[a][a] = 0.0;
    for (const Kind& kind : kinds) {
      const int b = after<N>(a, kind.in, kind.out);
      if (b >= 0) cost[a][b] = std::min(cost[a][b], kind.least + price.of(kind));
    }
  }
  for (int m = 0; m < N; ++m) {
    for (int a = 0; a < N; ++a) {
      for (int b = 0; b < N; ++b) cost[a][b] = std::min(cost[a][b], cost[a][m] + cost[m][b]);
    }
  }
  return cost;
}

template <int N>
StaysTicks leastAtPrice(const std::vector<Kind>& kinds, const Columns& cols, RunEnds ends,
                        double gap, const Prices& price) {
  const int reach = static_cast<int>(std::ceil(gap)) + 1;
  const Layers<N> end =
      reachingTheEnd<N>(kinds, cols, cols.at(ends.left), cols.at(ends.right), reach, price);
  const std::array<Layers<N>, N> others = othersBetween<N>(kinds, price);
  StaysTicks ticks;
  for (int begins = 0; begins < 2; ++begins) {
    for (int finishes = 0; finishes < 2; ++finishes) {
      double& least = ticks.ticks[begins][finishes];
      least = never;
      for (int b = 0; b < N; ++b) {
        if (!settled<N>(b, begins, finishes)) continue;
        for (int a = 0; a < N; ++a) least = std::min(least, end[a] + others[a][b]);
      }
    }
  }
  return ticks;
}

// The most a price may be: the least a stay entered back that way pays,
// beyond which it would pay less than nothing; none when no such stay may
// come in the set, and then none is left back that way either.
double mostPrice(const std::vector<Kind>& kinds, bool finishes, int Kind::*balance) {
  double most = never;
  for (const Kind& kind : kinds) {
    if (kind.*balance < 0 && (finishes || kind.out != Ends)) most = std::min(most, kind.least);
  }
  return most;
}

// The least sums of one kind of set, at the best price tried, and the
// share of its most price for the ways back walked that gave the sum of a
// route begun elsewhere.
struct Priced {
  StaysTicks ticks;
  double walkedShare = 0.0;
};

// The best over a few prices for each balance, from none to the most, of
// the sets the kinds make with N layers, for routes that end on the run or
// do not. Tried first at the share `enough` found best, and no further
// once both sums reach its own: past them a higher sum changes nothing.
template <int N>
Priced bestPrices(std::vector<Kind> kinds, const Columns& cols, RunEnds ends, double gap,
                  bool finishes, const Priced* enough = nullptr) {
  Priced best;
  const double walked = mostPrice(kinds, finishes, &Kind::walked);
  const double teleported = mostPrice(kinds, finishes, &Kind::teleported);
  kinds.erase(std::remove_if(kinds.begin(), kinds.end(),
                             [&](const Kind& k) {
                               return (walked == never && k.walked > 0) ||
                                      (teleported == never && k.teleported > 0);
                             }),
              kinds.end());
  // Fewer for the ways back by teleport, which few runs have.
  std::vector<std::pair<double, double>> shares;
  if (enough != nullptr) shares.emplace_back(enough->walkedShare, 0.0);
  for (double w : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    for (double t : {0.0, 0.5, 1.0}) {
      if ((walked == never && w > 0.0) || (teleported == never && t > 0.0)) continue;
      if (shares.empty() || shares.front() != std::make_pair(w, t)) shares.emplace_back(w, t);
    }
  }
  for (const auto& [w, t] : shares) {
    const Prices price{walked == never ? 0.0 : w * walked, teleported == never ? 0.0 : t * teleported};
    // Every stay must still pay at least nothing.
    const bool sound = std::all_of(kinds.begin(), kinds.end(), [&](const Kind& k) {
      return (!finishes && k.out == Ends) || k.least + price.of(k) >= 0.0;
    });
    if (!sound) continue;
    const StaysTicks at = leastAtPrice<N>(kinds, cols, ends, gap, price);
    if (at.ticks[0][finishes] > best.ticks.ticks[0][finishes]) best.walkedShare = w;
    bool reached = enough != nullptr;
    for (int b = 0; b < 2; ++b) {
      double& sum = best.ticks.ticks[b][finishes];
      sum = std::max(sum, at.ticks[b][finishes]);
      reached = reached && sum >= enough->ticks.ticks[b][finishes];
    }
    if (reached) break;
  }
  return best;
}

}  // namespace

StaysTicks staysTicks(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                      RunEnds ends, double gap, double walk, double outShare,
                      double inShare) {
  if (inShare < 0.0) inShare = 1.0 - outShare;
  StaysTicks ticks;
  const Columns cols = columnsOf(entries, exits, ends, gap);
  if (entries.empty() || exits.empty() || cols.count == 0) return ticks;
  const std::vector<Kind> kinds = kindsOf(entries, exits, cols, walk, outShare, inShare);
  // A route whose stays on the run are never entered back by teleport
  // never leaves one back by teleport either; the others have a root.
  std::vector<Kind> walkedOnly;
  bool teleports = false;
  for (const Kind& k : kinds) {
    if (k.in != Teleport && k.out != Teleport) walkedOnly.push_back(k);
    teleports = teleports || (k.in == Teleport && k.least < never);
  }
  for (bool finishes : {false, true}) {
    const Priced without = bestPrices<plain>(walkedOnly, cols, ends, gap, finishes);
    const Priced with =
        teleports ? bestPrices<rooted>(kinds, cols, ends, gap, finishes, &without) : without;
    for (int b = 0; b < 2; ++b) {
      ticks.ticks[b][finishes] =
          std::min(without.ticks.ticks[b][finishes], with.ticks.ticks[b][finishes]);
    }
  }
  return ticks;
}
