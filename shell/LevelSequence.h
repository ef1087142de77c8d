#pragma once
class Game;

// The four level files, played in this order, over and over.
inline constexpr const char* levelFiles[4] = {"level1.inf", "level2.inf", "level3.inf",
                                              "level4.inf"};

// Plays the levels until the Game's quit flag is set.
void runLevelSequence(Game& game);
