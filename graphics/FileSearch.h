#pragma once
// The bare names of everything matching a pattern (al_findfirst with any
// attribute), in the order the search reports them.
#include <string>
#include <vector>

std::vector<std::string> findFiles(const std::string& pattern);
