#pragma once
// pwe.cfg as the engine reads it: every setting of shell/ConfigFields.h
// whose value the engine would not use as written is reported with what
// the engine does instead.
#include <string>

#include "tools/check/Diagnostics.h"

struct TreeFacts;

// Checks the configuration file at path and makes it Allegro's current one;
// the screen size it gives goes to facts. A missing file is no problem.
// setPath: the pwe.cfg of the level set laid over the tree, or empty; its
// keys are laid over the tree's as the engine lays them, and each setting
// is judged in the file it is taken from.
void checkConfiguration(const std::string& path, Diagnostics& out, TreeFacts& facts,
                        const std::string& setPath = "");
