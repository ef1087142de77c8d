#include "tests/support/EditorFixture.h"

#include <sstream>

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
