#include "tools/edit/ElementHandles.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A ladder's or a chute's rows: the top may rise above the bottom or come
// down to minimumRun short of it; the bottom may fall anywhere below that.
template <typename Spec>
bool dragRun(Spec& spec, HandleEnd end, int y, int minimumRun) {
  const int bottom = spec.y + spec.height;
  int top = spec.y;
  int height = spec.height;
  if (end == HandleEnd::Top) {
    top = std::min(y, bottom - minimumRun);
    height = bottom - top;
  } else if (end == HandleEnd::Bottom) {
    height = std::max(y - spec.y, minimumRun);
  }
  if (top == spec.y && height == spec.height) return false;
  spec.y = top;
  spec.height = height;
  return true;
}

bool dragPatrol(EnemySpec& enemy, HandleEnd end, int x) {
  const EnemySpec before = enemy;
  if (end == HandleEnd::PatrolLeft) enemy.min_x = std::min(x, enemy.x);
  if (end == HandleEnd::PatrolRight) enemy.max_x = std::max(x, enemy.x);
  return enemy.min_x != before.min_x || enemy.max_x != before.max_x;
}

}  // namespace

std::vector<Handle> handlesOf(const LevelData& level, ElementRef element, const Rect& drawn,
                              int stepWidth) {
  if (!element.valid() || drawn.empty() || element.kind.isStart()) return {};
  const int i = element.index;
  switch (element.kind.kind()) {
    case ElementKind::Ladder: {
      const int centre = drawn.x + drawn.w / 2;
      return {{HandleEnd::Top, centre, drawn.y}, {HandleEnd::Bottom, centre, drawn.y + drawn.h}};
    }
    case ElementKind::Chute: {
      // The top step sits at the record's x; the run ends on the far side.
      const ChuteSpec& chute = level.chutes[i];
      const int top = chute.x + stepWidth / 2;
      const int bottom = top == drawn.x + stepWidth / 2 ? drawn.x + drawn.w - stepWidth / 2
                                                        : drawn.x + stepWidth / 2;
      return {{HandleEnd::Top, top, drawn.y}, {HandleEnd::Bottom, bottom, drawn.y + drawn.h}};
    }
    case ElementKind::Enemy: {
      const EnemySpec& enemy = level.enemies[i];
      const int middle = drawn.y + drawn.h / 2;
      return {{HandleEnd::PatrolLeft, enemy.min_x, middle},
              {HandleEnd::PatrolRight, enemy.max_x, middle}};
    }
    default: return {};
  }
}

bool handleAt(const std::vector<Handle>& handles, int x, int y, Handle& found) {
  for (const Handle& handle : handles) {
    if (std::abs(handle.x - x) <= handleReach && std::abs(handle.y - y) <= handleReach) {
      found = handle;
      return true;
    }
  }
  return false;
}

bool dragHandle(LevelData& level, ElementRef element, HandleEnd end, int x, int y,
                int minimumRun) {
  if (!element.valid() || element.kind.isStart()) return false;
  switch (element.kind.kind()) {
    case ElementKind::Ladder: return dragRun(level.ladders[element.index], end, y, minimumRun);
    case ElementKind::Chute: return dragRun(level.chutes[element.index], end, y, minimumRun);
    case ElementKind::Enemy: return dragPatrol(level.enemies[element.index], end, x);
    default: return false;
  }
}
