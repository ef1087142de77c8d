#include "tools/edit/EditorFileDialogs.h"

#include <allegro.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tools/edit/EditorDialogs.h"
#include "tools/edit/EditorStatusBar.h"

namespace {

// Sizes at the editor's zoom; the rest is laid out by the font, which is
// zoomed already.
int margin() { return 10 * dialogZoom(); }
int buttonWidth() { return 96 * dialogZoom(); }
int buttonHeight() { return 16 * dialogZoom(); }

DIALOG object(int (*proc)(int, DIALOG*, int), int x, int y, int w, int h, const char* text) {
  return dialogObject(proc, x, y, w, h, text);
}

DIALOG button(int x, int y, const char* label, int key) {
  DIALOG d = object(d_button_proc, x, y, buttonWidth(), buttonHeight(), label);
  d.flags = D_EXIT;
  d.key = key;
  return d;
}

// A box of the title, the text and one or two buttons: 0 for the first
// button, 1 for the second or Escape. The second, when given, has the focus.
int messageBox(const std::string& title, const std::string& text, const char* first,
               int firstKey, const char* second, int secondKey) {
  // Laid out in the font the GUI runs with.
  GuiOnScreen gui;
  const int lineHeight = text_height(font) + 2;
  const std::vector<std::string> lines = wrapText(text, SCREEN_W * 3 / 4);
  int width = std::max(text_length(font, title.c_str()), 2 * buttonWidth() + margin());
  for (const std::string& line : lines) width = std::max(width, text_length(font, line.c_str()));
  width += 2 * margin();
  const int textTop = 2 * lineHeight + 6 * dialogZoom();
  const int textHeight = static_cast<int>(lines.size()) * lineHeight;
  const int height = textTop + textHeight + 12 * dialogZoom() + buttonHeight() + margin();
  std::vector<DIALOG> objects;
  objects.push_back(object(d_shadow_box_proc, 0, 0, width, height, nullptr));
  objects.push_back(object(d_ctext_proc, width / 2, 8 * dialogZoom(), 0, lineHeight, title.c_str()));
  for (size_t i = 0; i < lines.size(); ++i) {
    objects.push_back(object(d_text_proc, margin(), textTop + static_cast<int>(i) * lineHeight,
                             width - 2 * margin(), lineHeight, lines[i].c_str()));
  }
  const int buttonTop = height - margin() - buttonHeight();
  const int firstButton = static_cast<int>(objects.size());
  const int firstX =
      second != nullptr ? width - 2 * (buttonWidth() + margin()) : width - buttonWidth() - margin();
  objects.push_back(button(firstX, buttonTop, first, firstKey));
  if (second != nullptr) {
    objects.push_back(button(width - buttonWidth() - margin(), buttonTop, second, secondKey));
  }
  objects.push_back(object(d_yield_proc, 0, 0, 0, 0, nullptr));
  objects.push_back(DIALOG{});
  centre_dialog(objects.data());
  const int focus = second != nullptr ? firstButton + 1 : firstButton;
  return do_dialog(objects.data(), focus) == firstButton ? 0 : 1;
}

struct RiskWords {
  const char* title;
  const char* yes;
  int key;
};

RiskWords wordsFor(FileRisk risk) {
  switch (risk) {
    case FileRisk::Damaged: return {"Replace a file that did not read whole?", "&Replace it", 'r'};
    case FileRisk::Locked: return {"Save a file another editor has open?", "Save &anyway", 'a'};
    case FileRisk::ReadOnlyFile: return {"Replace a read-only file?", "&Replace it", 'r'};
    case FileRisk::ChangedOnDisk: return {"Replace a file changed on disk?", "&Replace it", 'r'};
    case FileRisk::HardLinks: return {"Save a file with other names?", "&Save", 's'};
    default: return {"Save?", "&Save", 's'};
  }
}

// The selector edits the path in place, in a buffer of its own size.
bool askPath(const char* title, std::string& path) {
  GuiOnScreen gui;
  std::array<char, 4096> chosen{};
  path.copy(chosen.data(), chosen.size() - 1);
  if (file_select_ex(title, chosen.data(), "inf", static_cast<int>(chosen.size()),
                     SCREEN_W * 3 / 4, SCREEN_H * 3 / 4) == 0) {
    return false;
  }
  path = chosen.data();
  return !path.empty();
}

}  // namespace

bool askSavePath(std::string& path) { return askPath("Save the level as", path); }

bool askOpenPath(std::string& path) { return askPath("Open a level", path); }

bool askToRisk(FileRisk risk, const std::string& question) {
  const RiskWords words = wordsFor(risk);
  return messageBox(words.title, question + ".", words.yes, words.key, "&Cancel", 'c') == 0;
}

void tellFile(const std::string& title, const std::string& text) {
  messageBox(title, text, "OK", 0, nullptr, 0);
}
