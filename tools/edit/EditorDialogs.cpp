#include "tools/edit/EditorDialogs.h"

#include <allegro.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tools/edit/FieldForm.h"

namespace {

constexpr int fieldChars = 40;        // an edit box's longest text
constexpr int rowHeight = 14;
constexpr int formWidth = 380;
constexpr int labelWidth = 130;
using TextBuffer = std::array<char, (fieldChars + 1) * 4>;  // room for UTF-8, as the GUI asks

// The GUI draws on the screen and runs its own loop; the mouse pointer is
// shown only while it does.
struct GuiOnScreen {
  GuiOnScreen() {
    gui_fg_color = makecol(0, 0, 0);
    gui_bg_color = makecol(235, 235, 235);
    gui_mg_color = makecol(140, 140, 140);
    show_mouse(screen);
  }
  ~GuiOnScreen() {
    show_mouse(nullptr);
    clear_keybuf();
  }
};

DIALOG object(int (*proc)(int, DIALOG*, int), int x, int y, int w, int h, void* dp = nullptr) {
  DIALOG d{};
  d.proc = proc;
  d.x = x;
  d.y = y;
  d.w = w;
  d.h = h;
  d.fg = gui_fg_color;
  d.bg = gui_bg_color;
  d.dp = dp;
  return d;
}

class FormDialog {
 public:
  explicit FormDialog(FieldForm& form);
  bool run();
  void typed(DIALOG* box);

 private:
  void build();
  void refresh(int focusField);
  int fieldOf(const DIALOG* box) const;

  FieldForm& form_;
  std::vector<TextBuffer> texts_;
  std::vector<DIALOG> objects_;
  std::string title_;
  TextBuffer error_{};
  int firstBox_ = 0;  // objects_ index of field 0's edit box; the boxes follow in pairs
  int errorLine_ = 0;
  int ok_ = 0;
  int cancel_ = 0;
};

int fieldProc(int msg, DIALOG* d, int c) {
  const int result = d_edit_proc(msg, d, c);
  if (msg == MSG_CHAR || msg == MSG_UCHAR) static_cast<FormDialog*>(d->dp2)->typed(d);
  return result;
}

FormDialog::FormDialog(FieldForm& form) : form_(form) {
  texts_.resize(static_cast<size_t>(form.fieldCount()));
  for (int i = 0; i < form.fieldCount(); ++i) {
    const std::string& text = form.field(i).text;
    ustrzcpy(texts_[i].data(), static_cast<int>(texts_[i].size()), text.c_str());
  }
  title_ = form.title();
  build();
}

void FormDialog::build() {
  const int rows = form_.fieldCount();
  const int height = 40 + rows * rowHeight + 46;
  objects_.push_back(object(d_shadow_box_proc, 0, 0, formWidth, height));
  objects_.push_back(object(d_ctext_proc, formWidth / 2, 8, 0, 8, title_.data()));
  firstBox_ = static_cast<int>(objects_.size());
  for (int i = 0; i < rows; ++i) {
    const int y = 28 + i * rowHeight;
    DIALOG box = object(fieldProc, 10 + labelWidth, y, formWidth - labelWidth - 20, 10,
                        texts_[i].data());
    box.d1 = fieldChars;
    box.dp2 = this;
    box.flags = D_EXIT;  // Enter in a box confirms the form
    objects_.push_back(box);
    objects_.push_back(object(d_text_proc, 10, y + 1, labelWidth - 4, 8,
                              const_cast<char*>(form_.field(i).name.c_str())));
  }
  errorLine_ = static_cast<int>(objects_.size());
  DIALOG error = object(d_text_proc, 10, height - 40, formWidth - 20, 8, error_.data());
  error.fg = makecol(200, 0, 0);
  objects_.push_back(error);
  ok_ = static_cast<int>(objects_.size());
  DIALOG ok = object(d_button_proc, formWidth - 180, height - 24, 76, 16, const_cast<char*>("OK"));
  ok.flags = D_EXIT;
  objects_.push_back(ok);
  cancel_ = static_cast<int>(objects_.size());
  DIALOG cancel =
      object(d_button_proc, formWidth - 90, height - 24, 76, 16, const_cast<char*>("Cancel"));
  cancel.flags = D_EXIT;
  objects_.push_back(cancel);
  objects_.push_back(object(d_yield_proc, 0, 0, 0, 0));
  objects_.push_back(DIALOG{});
  centre_dialog(objects_.data());
}

int FormDialog::fieldOf(const DIALOG* box) const {
  return static_cast<int>((box - &objects_[firstBox_]) / 2);
}

void FormDialog::typed(DIALOG* box) {
  const int field = fieldOf(box);
  form_.set(field, texts_[field].data());
  refresh(field);
}

// Every box in its colour, the reason of the field being typed in (or of
// the first wrong one) under them, OK only for a form that can be saved.
void FormDialog::refresh(int focusField) {
  int shown = -1;
  for (int i = 0; i < form_.fieldCount(); ++i) {
    DIALOG& box = objects_[firstBox_ + 2 * i];
    const bool wrong = !form_.field(i).error.empty();
    box.fg = wrong ? makecol(200, 0, 0) : gui_fg_color;
    box.flags |= D_DIRTY;
    if (wrong && (shown < 0 || i == focusField)) shown = i;
  }
  const std::string reason =
      shown < 0 ? "" : form_.field(shown).name + ": " + form_.field(shown).error;
  ustrzcpy(error_.data(), static_cast<int>(error_.size()), reason.c_str());
  objects_[errorLine_].flags |= D_DIRTY;
  DIALOG& ok = objects_[ok_];
  ok.flags = form_.valid() ? (ok.flags & ~D_DISABLED) : (ok.flags | D_DISABLED);
  ok.flags |= D_DIRTY;
}

bool FormDialog::run() {
  for (int i = 0; i < form_.fieldCount(); ++i) form_.set(i, texts_[i].data());
  refresh(-1);
  GuiOnScreen gui;
  for (;;) {
    const int chosen = do_dialog(objects_.data(), firstBox_);
    if (chosen < 0 || chosen == cancel_) return false;
    if (form_.valid()) return true;
    // Enter in a box of a form that is still wrong: go on editing.
  }
}

}  // namespace

bool editForm(FieldForm& form) {
  if (form.fieldCount() == 0) return false;
  FormDialog dialog(form);
  return dialog.run();
}

LeaveChoice askLeave(const std::string& file) {
  GuiOnScreen gui;
  const std::string line = (file.empty() ? std::string("The new level") : file) +
                           " has unsaved changes.";
  const int choice = alert3(line.c_str(), "Save them before leaving?", nullptr, "&Save",
                            "&Discard", "&Cancel", 's', 'd', 'c');
  if (choice == 1) return LeaveChoice::Save;
  if (choice == 2) return LeaveChoice::Discard;
  return LeaveChoice::Stay;
}

bool askRecover(const std::string& file) {
  GuiOnScreen gui;
  const std::string line = "An autosave copy of " + file + " is newer than the file.";
  return alert(line.c_str(), "Recover the unsaved changes it holds?", nullptr, "&Recover",
               "&Discard", 'r', 'd') == 1;
}

bool askSavePath(std::string& path) {
  GuiOnScreen gui;
  TextBuffer chosen{};
  ustrzcpy(chosen.data(), static_cast<int>(chosen.size()), path.c_str());
  if (file_select_ex("Save the level as", chosen.data(), "inf", static_cast<int>(chosen.size()),
                     SCREEN_W * 3 / 4, SCREEN_H * 3 / 4) == 0) {
    return false;
  }
  path = chosen.data();
  return !path.empty();
}

void tell(const std::string& first, const std::string& second) {
  GuiOnScreen gui;
  alert(first.c_str(), second.c_str(), nullptr, "OK", nullptr, 0, 0);
}
