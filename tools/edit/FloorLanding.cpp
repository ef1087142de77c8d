#include "tools/edit/FloorLanding.h"

bool floorUnder(const FloorManager& floors, int column, int row, int& feet) {
  const std::vector<FloorTile>& tiles = floors.tiles();
  bool found = false;
  for (int i = 0; i < static_cast<int>(tiles.size()); ++i) {
    if (tiles[i].y + tiles[i].height <= row) continue;
    const FootRun run = floors.standingRun(i);
    if (column < run.firstColumn || column > run.lastColumn) continue;
    if (!found || run.row < feet) feet = run.row;
    found = true;
  }
  return found;
}
