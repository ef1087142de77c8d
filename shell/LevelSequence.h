#pragma once
#include <string>
#include <vector>

class Game;

// The tree's four level files, played in this order, over and over.
inline constexpr const char* levelFiles[4] = {"level1.inf", "level2.inf", "level3.inf",
                                              "level4.inf"};

// Plays the levels (file names in the tree, or in the set laid over it)
// round and round until the Game's quit flag is set.
void runLevelSequence(Game& game, const std::vector<std::string>& levels);
