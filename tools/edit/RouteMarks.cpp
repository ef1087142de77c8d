#include "tools/edit/RouteMarks.h"

#include "authoring/ReachabilityVerdict.h"
#include "game/Game.h"
#include "tools/edit/OverlayColours.h"

namespace {

constexpr int markRadius = 5;  // pixels, of a ring and of a cross's arms

RouteMark pressMark(const PressWindow& window) {
  const std::string ticks = std::to_string(window.ticks()) + (window.open ? "+" : "");
  return RouteMark{RouteMark::Press, window.x, window.y, isTight(window),
                   ticks + (window.ticks() == 1 && !window.open ? " tick" : " ticks")};
}

RouteMark passMark(const EnemyPass& pass) {
  return RouteMark{RouteMark::Pass, pass.x, pass.y, isNear(pass),
                   std::to_string(pass.pixels) + " px"};
}

// A dark rim under the mark, so it shows on any background.
void ring(BITMAP* target, int x, int y, int colour, int rim) {
  circle(target, x, y, markRadius + 1, rim);
  circle(target, x, y, markRadius, colour);
}

void cross(BITMAP* target, int x, int y, int colour, int rim) {
  for (int d : {-1, 1}) {
    line(target, x - markRadius, y - markRadius + d, x + markRadius, y + markRadius + d, rim);
    line(target, x - markRadius, y + markRadius + d, x + markRadius, y - markRadius + d, rim);
  }
  line(target, x - markRadius, y - markRadius, x + markRadius, y + markRadius, colour);
  line(target, x - markRadius, y + markRadius, x + markRadius, y - markRadius, colour);
}

}  // namespace

std::vector<RouteMark> routeMarks(const RouteMoments& moments) {
  std::vector<RouteMark> marks;
  const PressWindow* tightest = tightestPress(moments);
  for (const PressWindow& window : moments.windows) {
    if (isTight(window) || &window == tightest) marks.push_back(pressMark(window));
  }
  const EnemyPass* nearest = nearestPass(moments);
  for (const EnemyPass& pass : moments.passes) {
    if (isNear(pass) || &pass == nearest) marks.push_back(passMark(pass));
  }
  return marks;
}

void drawRouteMarks(BITMAP* target, const std::vector<RouteMark>& marks) {
  const int rim = makecol(0, 0, 0);
  for (const RouteMark& mark : marks) {
    const int colour = mark.hard ? warningColour() : pathColour();
    if (mark.kind == RouteMark::Press) {
      ring(target, mark.x, mark.y, colour, rim);
    } else {
      cross(target, mark.x, mark.y, colour, rim);
    }
    const int left = mark.x + markRadius + 3;
    const int top = mark.y - markRadius - text_height(font);
    textout_ex(target, font, mark.label.c_str(), left + 1, top + 1, rim, -1);
    textout_ex(target, font, mark.label.c_str(), left, top, colour, -1);
  }
}

std::string routeMomentsLine(int clearedTicks, int parTicks, const RouteMoments& moments,
                             const Game& game) {
  if (clearedTicks <= 0) return "";
  // Only passes of enemies the level still has can be named.
  RouteMoments named = moments;
  named.passes.clear();
  for (const EnemyPass& pass : moments.passes) {
    if (pass.enemy < static_cast<int>(game.level.enemies.size())) named.passes.push_back(pass);
  }
  const std::string brief = momentsBrief(named, game);
  return parText(parTicks, clearedTicks, game.updatesPerSecond) + (brief.empty() ? "" : "; " + brief);
}
