#pragma once
// Found states made by hand for the tests of the walks over them: states
// told apart by where they stand, and the steps between them.
#include <cstdint>
#include <vector>

#include "authoring/StateGraph.h"

struct HandPlace {
  float x = 0.0f;
  float y = 0.0f;
};

struct HandStep {
  std::uint32_t from, to, ticks;
  bool wait = false;
  std::vector<int> claims;  // the tiles it claims
};

// State i stands at places[i]; the steps may come in any order.
inline StateGraph handGraph(const std::vector<HandPlace>& places, const std::vector<HandStep>& steps) {
  StateGraph g(StateKey::Motion, 0);
  for (const HandPlace& p : places) {
    TickState state;
    state.x = p.x;
    state.y = p.y;
    bool added = false;
    g.add(state, added);
  }
  for (std::uint32_t s = 0; s < places.size(); ++s) {
    g.begin(s);
    for (const HandStep& step : steps) {
      if (step.from != s) continue;
      StateEdge edge;
      edge.to = step.to;
      edge.ticks = step.ticks;
      edge.wait = step.wait;
      g.addEdge(edge, step.claims);
    }
  }
  return g;
}
