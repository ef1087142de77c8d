#pragma once
// The help F1 shows over the window: every row of the key table, its chord
// beside what it does, keys first and then the mouse, a page at a time
// when they do not all fit.
#include <allegro.h>

#include <string>
#include <vector>

struct HelpLine {
  std::string chord;  // on the first line of a row; empty below it
  std::string text;
  bool heading = false;  // "Keys", "Mouse"
};
using HelpPage = std::vector<HelpLine>;

// The rows wrapped to lines of Allegro's font (chords within chordWidth
// pixels, texts within textWidth), in pages of at most rows lines; a row is
// never split between pages.
std::vector<HelpPage> helpPages(int chordWidth, int textWidth, int rows);

// The line above page `page` of count: how to turn the page, and on the
// last, that F1 closes the help as Escape does.
std::string helpTitle(int page, int count);

// Page `page` over the whole of target. Returns how many pages there are.
int drawHelp(BITMAP* target, int page);
