#include "authoring/RunStays.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>

namespace {

constexpr double never = std::numeric_limits<double>::infinity();
using Line = std::vector<double>;  // by column

double share(double part, double ticks) { return ticks == never ? never : part * ticks; }

// By column c: the least of cost[d] + |d - c| step over the columns d at
// or right of c (fromRight), or at or left of it.
Line reachFrom(const Line& cost, double step, bool fromRight) {
  Line best = cost;
  const int n = static_cast<int>(cost.size());
  if (fromRight) {
    for (int c = n - 2; c >= 0; --c) best[c] = std::min(best[c], best[c + 1] + step);
  } else {
    for (int c = 1; c < n; ++c) best[c] = std::min(best[c], best[c - 1] + step);
  }
  return best;
}

// Each place counted anywhere within `unsure` pixels of where it stands.
Line spread(const Line& line, double unsure) {
  const int n = static_cast<int>(line.size());
  const int by = static_cast<int>(std::ceil(unsure));
  Line wide(line.size(), never);
  for (int c = 0; c < n; ++c) {
    if (line[c] == never) continue;
    for (int d = std::max(0, c - by); d <= std::min(n - 1, c + by); ++d) wide[d] = std::min(wide[d], line[c]);
  }
  return wide;
}

// Ways in: from the life's start, from another run, back from this one;
// ways out: to another run, back onto this one, none (the route's end).
enum Way { Away, Back, Ends, Start };

// The sets of stays so far: whether one was entered from away or the
// start, whether one ends the route, whether one begins it, and whether
// one was left for another run.
constexpr int layers = 16;
using Layers = std::array<double, layers>;
constexpr int entered = 1;
constexpr int ended = 2;
constexpr int begun = 4;
constexpr int leftAway = 8;

// The layer after a stay of the given ways, or -1.
int after(int layer, Way in, Way out) {
  if ((layer & ended) != 0 && out == Ends) return -1;
  if ((layer & begun) != 0 && in == Start) return -1;
  return layer | (in != Back ? entered : 0) | (out == Ends ? ended : 0) |
         (in == Start ? begun : 0) | (out == Away ? leftAway : 0);
}

// A whole set: some stay entered from away or the start, the one begun
// there when the route begins on the run, and either the one that ends
// the route or one left for another run.
bool settled(int layer, bool begins, bool finishes) {
  if ((layer & entered) == 0 || ((layer & begun) != 0) != begins) return false;
  return finishes ? (layer & ended) != 0 : (layer & (ended | leftAway)) == leftAway;
}

// Stays entered from away (or the start) and left back, less those
// entered back and left for away or not at all: none in any route.
int balanceOf(Way in, Way out) {
  if (in != Back && out == Back) return 1;
  return in == Back && out != Back ? -1 : 0;
}

// One kind of stay: its ways, and its cost split into a part in its left
// column l, least over every l up to the column, and one in its right r.
struct Kind {
  Way in = Away;
  Way out = Away;
  int balance = 0;
  Line leftPart;
  Line rightPart;
  double least = never;  // anywhere
};

struct Columns {
  int lo = 0;
  int count = 0;
  int at(double x) const { return std::clamp(static_cast<int>(std::floor(x)) - lo, 0, count - 1); }
};

Columns columnsOf(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                  RunEnds ends, double gap) {
  double lo = ends.left - gap - 1.0, hi = ends.right + 1.0;  // and every place
  for (const RunEntry& e : entries) lo = std::min<double>(lo, e.x), hi = std::max<double>(hi, e.x);
  for (const RunExit& x : exits) lo = std::min<double>(lo, x.x), hi = std::max<double>(hi, x.x);
  Columns c;
  c.lo = static_cast<int>(std::floor(lo)) - 1;
  const double count = std::ceil(hi) - c.lo + 2.0;
  c.count = count > mostColumns ? 0 : static_cast<int>(count);
  return c;
}

std::vector<Kind> kindsOf(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                          const Columns& cols, double walk, double unsure, double outShare) {
  std::array<Line, 4> in, out;  // by way
  for (Line& line : in) line.assign(cols.count, never);
  for (Line& line : out) line.assign(cols.count, never);
  for (const RunEntry& e : entries) {
    const int c = cols.at(e.x);
    // The way from the life's start is no other run's way out: all of it.
    in[Start][c] = std::min(in[Start][c], e.fromStart);
    in[Away][c] = std::min(in[Away][c], share(1.0 - outShare, e.others));
    in[Back][c] = std::min(in[Back][c], e.back);
  }
  for (const RunExit& x : exits) {
    const int c = cols.at(x.x);
    out[Away][c] = std::min(out[Away][c], share(outShare, x.out));
    out[Back][c] = out[Ends][c] = 0.0;
  }
  for (Line& line : in) line = spread(line, unsure);
  for (Line& line : out) line = spread(line, unsure);
  const double step = 1.0 / walk;
  std::vector<Kind> kinds;
  for (Way i : {Start, Away, Back}) {
    const Line enterLeft = reachFrom(in[i], step, true), enterRight = reachFrom(in[i], step, false);
    for (Way o : {Away, Back, Ends}) {
      const Line leaveLeft = reachFrom(out[o], step, true), leaveRight = reachFrom(out[o], step, false);
      for (bool leftFirst : {true, false}) {
        Kind kind{i, o, balanceOf(i, o), leftFirst ? enterLeft : leaveLeft,
                  leftFirst ? leaveRight : enterRight};
        for (int c = 0; c < cols.count; ++c) {
          kind.leftPart[c] -= c * step;
          kind.rightPart[c] += c * step;
          if (c > 0) kind.leftPart[c] = std::min(kind.leftPart[c], kind.leftPart[c - 1]);
          kind.least = std::min(kind.least, kind.leftPart[c] + kind.rightPart[c]);
        }
        kinds.push_back(std::move(kind));
      }
    }
  }
  return kinds;
}

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
Layers reachingTheEnd(const std::vector<Kind>& kinds, const Columns& cols, int first, int last,
                      int reach, double price) {
  const std::size_t n = kinds.size();
  std::vector<std::array<int, layers>> to(n);
  for (std::size_t k = 0; k < n; ++k) {
    for (int L = 0; L < layers; ++L) to[k][L] = after(L, kinds[k].in, kinds[k].out);
  }
  std::vector<Layers> best(cols.count);
  std::vector<Layers> far(n);  // over boundaries a window or more behind
  for (Layers& f : far) f.fill(never);
  std::vector<WindowLeast> near(layers, WindowLeast(reach));
  Layers end, nearLeast;
  end.fill(never);
  for (int r = 0; r < cols.count; ++r) {
    best[r].fill(never);
    for (int L = 0; r >= reach && L < layers; ++L) {
      const double behind = best[r - reach][L];
      if (behind == never) continue;
      for (std::size_t k = 0; k < n; ++k) far[k][L] = std::min(far[k][L], behind + kinds[k].leftPart[r]);
    }
    for (int L = 0; L < layers; ++L) nearLeast[L] = near[L].before(r);
    for (std::size_t k = 0; k < n; ++k) {
      const Kind& kind = kinds[k];
      const double right = kind.rightPart[r] + kind.balance * price;
      if (right == never) continue;
      double& start = best[r][to[k][0]];
      start = std::min(start, kind.leftPart[std::min(first, r)] + right);
      for (int L = 0; L < layers; ++L) {
        if (to[k][L] < 0) continue;
        const double from = std::min(far[k][L], nearLeast[L] + kind.leftPart[r]);
        best[r][to[k][L]] = std::min(best[r][to[k][L]], from + right);
      }
    }
    for (int L = 0; L < layers; ++L) near[L].add(r, best[r][L]);
    if (r >= last) {
      for (int L = 0; L < layers; ++L) end[L] = std::min(end[L], best[r][L]);
    }
  }
  return end;
}

// The least that stays reaching no further add, from layer to layer:
// each counts its ways wherever it stands.
std::array<Layers, layers> othersBetween(const std::vector<Kind>& kinds, double price) {
  std::array<Layers, layers> cost;
  for (int a = 0; a < layers; ++a) {
    cost[a].fill(never);
    cost[a][a] = 0.0;
    for (const Kind& kind : kinds) {
      const int b = after(a, kind.in, kind.out);
      if (b >= 0) cost[a][b] = std::min(cost[a][b], kind.least + kind.balance * price);
    }
  }
  for (int m = 0; m < layers; ++m) {
    for (int a = 0; a < layers; ++a) {
      for (int b = 0; b < layers; ++b) cost[a][b] = std::min(cost[a][b], cost[a][m] + cost[m][b]);
    }
  }
  return cost;
}

StaysTicks leastAtPrice(const std::vector<Kind>& kinds, const Columns& cols, RunEnds ends,
                        double gap, double price) {
  const int reach = static_cast<int>(std::ceil(gap)) + 1;
  const Layers end =
      reachingTheEnd(kinds, cols, cols.at(ends.left), cols.at(ends.right), reach, price);
  const std::array<Layers, layers> others = othersBetween(kinds, price);
  StaysTicks ticks;
  for (int begins = 0; begins < 2; ++begins) {
    for (int finishes = 0; finishes < 2; ++finishes) {
      double& least = ticks.ticks[begins][finishes];
      least = never;
      for (int b = 0; b < layers; ++b) {
        if (!settled(b, begins, finishes)) continue;
        for (int a = 0; a < layers; ++a) least = std::min(least, end[a] + others[a][b]);
      }
    }
  }
  return ticks;
}

}  // namespace

StaysTicks staysTicks(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                      RunEnds ends, double gap, double walk, double unsure, double outShare) {
  StaysTicks ticks;
  const Columns cols = columnsOf(entries, exits, ends, gap);
  if (entries.empty() || exits.empty() || cols.count == 0) return ticks;
  const std::vector<Kind> kinds = kindsOf(entries, exits, cols, walk, unsure, outShare);
  for (bool finishes : {false, true}) {
    // A stay entered back pays at least the least way back; beyond that
    // price some stays would pay less than nothing. With no stay entered
    // back that may come in this set, none is left back either.
    double most = never;
    for (const Kind& kind : kinds) {
      if (kind.balance < 0 && (finishes || kind.out != Ends)) most = std::min(most, kind.least);
    }
    std::vector<Kind> some = kinds;
    if (most == never) {
      some.erase(std::remove_if(some.begin(), some.end(), [](const Kind& k) { return k.balance > 0; }),
                 some.end());
      most = 0.0;
    }
    for (double part : {0.0, 0.25, 0.5, 0.75, 1.0}) {
      const StaysTicks at = leastAtPrice(some, cols, ends, gap, part * most);
      for (int b = 0; b < 2; ++b) ticks.ticks[b][finishes] = std::max(ticks.ticks[b][finishes], at.ticks[b][finishes]);
    }
  }
  return ticks;
}
