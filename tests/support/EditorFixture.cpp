#include "tests/support/EditorFixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

std::string levelSummary(const LevelData& level) {
  std::ostringstream out;
  for (const TileSpec& t : level.tiles) {
    out << "tile " << t.x << " " << t.y << " " << t.tile_name << " " << t.cleared_name << " "
        << t.claimable << " " << t.points << "\n";
  }
  for (const LadderSpec& l : level.ladders) {
    out << "ladder " << l.x << " " << l.y << " " << l.height << " " << l.name << "\n";
  }
  for (const ChuteSpec& c : level.chutes) {
    out << "chute " << c.x << " " << c.y << " " << c.height << " " << c.dx << " " << c.direction
        << " " << c.name << "\n";
  }
  for (const EnemySpec& e : level.enemies) {
    out << "enemy " << e.x << " " << e.y << " " << e.direction << " " << e.min_x << " "
        << e.max_x << " " << e.speed << " " << e.changes << " " << e.state << " " << e.name
        << " " << e.safe_time << " " << e.points << "\n";
  }
  for (const ItemSpec& i : level.items) {
    out << "item " << i.x << " " << i.y << " " << i.type << " " << i.points << "\n";
  }
  for (const TeleporterSpec& t : level.teleporters) {
    out << "teleporter " << t.x << " " << t.y << " " << t.name << " " << t.cooldown_name << " "
        << t.number << "\n";
  }
  out << "start " << level.start_x << " " << level.start_y << "\n";
  return out.str();
}

namespace {

// A drag of the selection, a fill or a handle through the points given.
void dragAlong(LevelEditor& editor, const std::string& verb, const std::vector<int>& points) {
  if (verb == "drag") editor.beginGroupMove(points.at(0), points.at(1));
  if (verb == "fill") editor.beginFill(points.at(0), points.at(1));
  if (verb == "handle") editor.beginHandle(points.at(0), points.at(1));
  for (size_t i = 2; i + 1 < points.size(); i += 2) {
    if (verb == "drag") editor.moveTo(points[i], points[i + 1]);
    if (verb == "fill") editor.fillTo(points[i], points[i + 1]);
    if (verb == "handle") editor.handleTo(points[i], points[i + 1]);
  }
  if (verb == "drag") editor.endMove();
  if (verb == "fill") editor.endFill();
  if (verb == "handle") editor.endHandle();
}

}  // namespace

void perform(LevelEditor& editor, const std::string& script) {
  std::istringstream actions(script);
  std::string action;
  while (std::getline(actions, action, ';')) {
    std::istringstream words(action);
    std::string verb;
    words >> verb;
    std::vector<int> numbers;
    std::string flag;
    for (int n; words >> n;) numbers.push_back(n);
    words.clear();
    words >> flag;
    if (verb == "tool") editor.setTool(toolAt(numbers.at(0) - 1));
    else if (verb == "snap") editor.setSnapping(flag == "on");
    else if (verb == "click") editor.place(numbers.at(0), numbers.at(1));
    else if (verb == "freeclick") editor.place(numbers.at(0), numbers.at(1), true);
    else if (verb == "erase") editor.removeAt(numbers.at(0), numbers.at(1));
    else if (verb == "pick") editor.pickAt(numbers.at(0), numbers.at(1));
    else if (verb == "undo") editor.undo();
    else if (verb == "redo") editor.redo();
    else if (verb == "select") editor.chooseSelectTool();
    else if (verb == "all") editor.selectAll();
    else if (verb == "none") editor.clearSelection();
    else if (verb == "copy") editor.copy();
    else if (verb == "cut") editor.cut();
    else if (verb == "paste") editor.paste(numbers.at(0), numbers.at(1));
    else if (verb == "duplicate") editor.duplicate();
    else if (verb == "delete") editor.deleteSelection();
    else if (verb == "nudge" || verb == "nudgepx") {
      editor.nudge(numbers.at(0), numbers.at(1), verb == "nudgepx");
    } else if (verb == "band" || verb == "addband") {
      editor.beginSelect(numbers.at(0), numbers.at(1), verb == "addband");
      editor.selectTo(numbers.at(2), numbers.at(3));
      editor.endSelect();
    } else if (verb == "drag" || verb == "fill" || verb == "handle") {
      dragAlong(editor, verb, numbers);
    } else if (verb == "paint" || verb == "move" || verb == "freemove") {
      const bool paint = verb == "paint";
      if (paint) editor.beginPaint(numbers.at(0), numbers.at(1));
      else editor.beginMove(numbers.at(0), numbers.at(1));
      for (size_t i = 2; i + 1 < numbers.size(); i += 2) {
        if (paint) editor.paintTo(numbers[i], numbers[i + 1]);
        else editor.moveTo(numbers[i], numbers[i + 1]);
      }
      if (paint) editor.endPaint();
      else editor.endMove(verb == "freemove");
    } else if (!verb.empty()) {
      ADD_FAILURE() << "unknown action " << verb;
    }
  }
}
