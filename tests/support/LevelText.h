#pragma once
// A level file put together field by field, for tests that need levels of
// their own. Element lines are written exactly as given.
#include <sstream>
#include <string>
#include <vector>

struct LevelText {
  int countdown = 3000;
  std::string countdownPanel = "10 10 0";  // x y align
  std::string scorePanel = "400 10 0";     // x y align
  std::string pips = "10 5";               // offset spacing
  std::string start = "100 299 1";         // x y animation
  std::vector<std::string> tiles;          // x y tile cleared claimable points
  std::vector<std::string> ladders;        // x y height name
  std::vector<std::string> chutes;         // x y height dx direction name
  std::vector<std::string> enemies;        // x y dir min max speed changes state name safe points
  std::vector<std::string> items;          // x y type points
  std::vector<std::string> teleporters;    // x y name cooldown number

  std::string str() const {
    std::ostringstream out;
    out << countdown << "\n" << countdownPanel << "\n" << scorePanel << "\n" << pips << "\n"
        << start << "\n";
    for (const auto* list : {&tiles, &ladders, &chutes, &enemies, &items, &teleporters}) {
      out << list->size() << "\n";
      for (const std::string& line : *list) out << line << "\n";
    }
    return out.str();
  }
};
