#pragma once
// The .nme format: one file in the enemy animation directory for each enemy
// kind, the kind named by the file name less its suffix, holding the names
// of its four animations (words, any spacing) in the order of roles. The
// one description EnemyManager loads by and pwe-check checks by.
#include <string>

struct EnemyKindFormat {
  static constexpr const char* suffix = ".nme";
  static constexpr int animationCount = 4;
  // What each animation is, in file order (state 1: vulnerable).
  static constexpr const char* roles[animationCount] = {
      "the animation of state 0 walking left", "the animation of state 0 walking right",
      "the animation of state 1 walking left", "the animation of state 1 walking right"};

  // "*.nme", for the file search.
  static std::string filePattern() { return std::string("*") + suffix; }
  // The kind a file found by that pattern defines: its name less the
  // suffix's length ("blob.nme" defines "blob"; the file search may match
  // the suffix in another letter case).
  static std::string kindName(const std::string& fileName) {
    const std::size_t length = std::char_traits<char>::length(suffix);
    return fileName.size() >= length ? fileName.substr(0, fileName.size() - length) : "";
  }
};
