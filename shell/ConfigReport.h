#pragma once
// pwe --print-config: every setting in effect and where it came from, one a
// line, as "[keyboard] left = 82 (LEFT) from /home/u/.config/pwe/pwe.cfg".
#include <cstdio>
#include <string>

// Reads the tree's file at treePath with the player's at userPath over it
// (the game's own start-up reading, with the pwe command's settings between
// them when asked for) and prints the settings to out, each value that the
// game does not use as written named with what is wrong with it. Leaves
// that configuration selected.
void printConfiguration(std::FILE* out, const std::string& treePath, const std::string& userPath,
                        bool withPackageSettings = false);
