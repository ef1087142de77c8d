#pragma once
// What the level files are checked against: the names and sizes of the
// images in each element directory, the enemy kinds, the screen and HUD
// panel sizes, gathered while the rest of the tree is checked.
#include <string>
#include <utility>
#include <vector>

// The images of one element directory, named as the engine names them: the
// file name less its last four characters, letter case counting.
struct NamedImages {
  std::string label;                 // "floor tile image", for messages
  std::vector<std::string> names;    // in the order the file search gave them
  std::vector<int> widths;           // 0 for an image that would not load
  std::vector<int> heights;

  int find(const std::string& name) const;  // first equal name, or -1
  // A name that differs only in letter case, or empty.
  std::string caseVariant(const std::string& name) const;
  // A look named after another look of the set plus a number (pad3 after
  // pad, as the shipped pad1 to gate9) shows that number: the number, or -1
  // for any other name.
  int shownNumber(const std::string& name) const;
  // The look of name's family that shows number (pad2 for pad or pad3 and
  // 2), or empty when the set has none.
  std::string lookShowing(const std::string& name, int number) const;
};

// A list of names compared the same way (enemy kinds).
int findName(const std::vector<std::string>& names, const std::string& name);
std::string caseVariantOf(const std::vector<std::string>& names, const std::string& name);

struct TreeFacts {
  int screenWidth = 640;    // [display] width, or the default when unusable
  int screenHeight = 480;

  NamedImages floorTiles{"floor tile image", {}, {}, {}};
  NamedImages clearedTiles{"cleared floor tile image", {}, {}, {}};
  NamedImages ladders{"ladder image", {}, {}, {}};
  NamedImages chutes{"chute image", {}, {}, {}};
  NamedImages items{"item image", {}, {}, {}};
  NamedImages teleporters{"teleporter image", {}, {}, {}};
  NamedImages teleporterCooldowns{"teleporter cooldown image", {}, {}, {}};
  std::vector<std::string> enemyKinds;  // .nme file names less ".nme"
  // The controls' keys as the game reads them: "[keyboard] left" and its
  // scan code. A level with many teleporters may reach one of them.
  std::vector<std::pair<std::string, int>> controls;

  int countdownPanelWidth = 0;   // size of countdown_back.png; 0 when unknown
  int countdownPanelHeight = 0;
  int scorePanelWidth = 0;       // size of score_back.png; 0 when unknown
  int scorePanelHeight = 0;
};
