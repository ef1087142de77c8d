#pragma once
// A level's place among its set's levels, for the title and for Page Up
// and Page Down, which open the set's previous and next level. The set is
// read as the game reads it (shell/LevelSet.h); a level is the set's when
// it lies in the set's folder and the list names it.
#include <string>

#include "shell/LevelSet.h"

// "Moss Caverns 2/4": the set's title and the level's place in the list,
// counting from 1 (its first line, for a name listed twice); empty when
// the list does not name the level at levelPath.
std::string setPlaceWords(const LevelSet& set, const std::string& levelPath);

// The name of the level `step` places after levelPath's in the list (before
// it for a negative step), round from the last to the first; a level the
// list does not name goes to the first (step > 0) or the last. Empty for
// an empty list.
std::string setNeighbour(const LevelSet& set, const std::string& levelPath, int step);
