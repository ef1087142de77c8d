#pragma once
// Writing a level as its file: the text LevelData::read reads back into the
// same level, in the layout the shipped levels are written in. Each header
// heading begins a line, each record has a line of its own, and a blank
// line comes before each count.
#include <string>

#include "game/LevelData.h"

std::string writeLevel(const LevelData& level);

// The shortest decimal text that reads back as exactly this float ("0.4",
// not "0.400000006"), so that a level written and read again plays the same.
std::string levelReal(float value);
