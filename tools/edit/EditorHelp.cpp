#include "tools/edit/EditorHelp.h"

#include <algorithm>

#include "tools/edit/EditorKeys.h"
#include "tools/edit/EditorStatusBar.h"

namespace {

constexpr int margin = 8;
constexpr int lineHeight = 10;  // the built-in font and a gap

void addRow(std::vector<HelpPage>& pages, std::vector<HelpLine> row, int rows) {
  if (pages.empty() || static_cast<int>(pages.back().size() + row.size()) > rows) {
    pages.emplace_back();
  }
  pages.back().insert(pages.back().end(), row.begin(), row.end());
}

}  // namespace

std::vector<HelpPage> helpPages(int chordWidth, int textWidth, int rows) {
  std::vector<HelpPage> pages;
  for (bool mouse : {false, true}) {
    bool first = true;
    for (const KeyBinding& binding : editorKeys()) {
      if (binding.mouse != mouse) continue;
      std::vector<HelpLine> row;
      // A heading goes with the first row under it.
      if (first) row.push_back(HelpLine{"", mouse ? "Mouse" : "Keys", true});
      first = false;
      const std::vector<std::string> chords = wrapText(binding.chord, chordWidth);
      const std::vector<std::string> texts = wrapText(binding.help, textWidth);
      for (std::size_t i = 0; i < std::max(chords.size(), texts.size()); ++i) {
        row.push_back(HelpLine{i < chords.size() ? chords[i] : std::string(),
                               i < texts.size() ? texts[i] : std::string(), false});
      }
      addRow(pages, row, rows);
    }
  }
  return pages;
}

std::string helpTitle(int page, int count) {
  const bool last = page + 1 >= count;
  return "Keys and mouse, page " + std::to_string(page + 1) + " of " + std::to_string(count) +
         (last ? ": F1 or Escape closes" : ": F1 next page, Escape closes");
}

int drawHelp(BITMAP* target, int page) {
  const int chordWidth = target->w / 3;
  const int textWidth = target->w - 2 * margin - chordWidth - margin;
  const int rows = (target->h - 2 * margin) / lineHeight - 2;
  const std::vector<HelpPage> pages = helpPages(chordWidth, textWidth, rows);
  const int count = static_cast<int>(pages.size());
  if (page < 0 || page >= count) return count;
  rectfill(target, margin / 2, margin / 2, target->w - margin / 2 - 1, target->h - margin / 2 - 1,
           makecol(16, 16, 24));
  rect(target, margin / 2, margin / 2, target->w - margin / 2 - 1, target->h - margin / 2 - 1,
       makecol(90, 90, 110));
  const std::string title = helpTitle(page, count);
  textout_ex(target, font, title.c_str(), margin, margin, makecol(255, 255, 255), -1);
  int y = margin + 2 * lineHeight;
  const int chordX = margin;
  const int textX = margin + chordWidth + margin;
  for (const HelpLine& line : pages[page]) {
    if (line.heading) {
      textout_ex(target, font, line.text.c_str(), chordX, y, makecol(140, 200, 255), -1);
    } else {
      textout_ex(target, font, line.chord.c_str(), chordX, y, makecol(255, 210, 120), -1);
      textout_ex(target, font, line.text.c_str(), textX, y, makecol(230, 230, 230), -1);
    }
    y += lineHeight;
  }
  return count;
}
