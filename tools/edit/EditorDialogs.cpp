#include "tools/edit/EditorDialogs.h"

#include <allegro.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tools/edit/EditorInput.h"
#include "tools/edit/EditorStatusBar.h"
#include "tools/edit/FieldForm.h"

namespace {

constexpr int fieldChars = 40;        // an edit box's longest text
constexpr int rowHeight = 14;
constexpr int formWidth = 600;
constexpr int labelWidth = 290;
constexpr int listButtonWidth = 28;   // the "..." beside a name with looks to pick from
constexpr int errorLines = 2;
using TextBuffer = std::array<char, (fieldChars + 1) * 4>;  // room for UTF-8, as the GUI asks

int errorColour() { return makecol(200, 0, 0); }

void copyText(TextBuffer& buffer, const std::string& text) {
  ustrzcpy(buffer.data(), static_cast<int>(buffer.size()), text.c_str());
}

// Laid out one pixel a level pixel, placed at the editor's zoom.
DIALOG object(int (*proc)(int, DIALOG*, int), int x, int y, int w, int h, void* dp = nullptr) {
  const int zoom = dialogZoom();
  return dialogObject(proc, x * zoom, y * zoom, w * zoom, h * zoom, dp);
}

// Waits for the mouse buttons to come up, as Allegro's own buttons do
// before they act.
void awaitRelease() {
  while (gui_mouse_b() != 0) rest(1);
}

class FormDialog {
 public:
  explicit FormDialog(FieldForm& form);
  bool run();
  void typed(const DIALOG* box);
  void cycled(const DIALOG* choice, int step);
  void pickLook(const DIALOG* button);
  bool differs(const DIALOG* box) const;  // an empty box of a field where a group differs

 private:
  void build();
  void addRow(int field, int y);
  void refresh();

  FieldForm& form_;
  std::vector<TextBuffer> texts_;  // a box's text, or the words a choice shows
  std::vector<DIALOG> objects_;
  std::vector<int> boxes_;         // objects_ index of each field's box or choice
  std::string title_;
  std::vector<TextBuffer> errors_ = std::vector<TextBuffer>(errorLines);
  int firstError_ = 0;             // objects_ index of the first error line
  int ok_ = 0;
  int cancel_ = 0;
};

FormDialog* owner(const DIALOG* d) { return static_cast<FormDialog*>(d->dp2); }

int fieldProc(int msg, DIALOG* d, int c) {
  const int result = selectingEditProc(msg, d, c);
  if (msg == MSG_CHAR || msg == MSG_UCHAR) owner(d)->typed(d);
  if (msg == MSG_DRAW && owner(d)->differs(d)) {
    textout_ex(gui_get_screen(), font, "(differs)", d->x + text_length(font, "  "), d->y,
               gui_mg_color, -1);
  }
  return result;
}

// A field of a few meanings: its words in a box; a click, Space or the
// right arrow goes on to the next meaning, a right click or the left arrow
// back; Enter confirms the form as in a box.
int choiceProc(int msg, DIALOG* d, int c) {
  switch (msg) {
    case MSG_WANTFOCUS: return D_WANTFOCUS;
    case MSG_DRAW: {
      BITMAP* target = gui_get_screen();
      rectfill(target, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, makecol(255, 255, 255));
      rect(target, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1,
           (d->flags & D_GOTFOCUS) != 0 ? gui_fg_color : gui_mg_color);
      textout_ex(target, font, static_cast<const char*>(d->dp), d->x + 3, d->y + 2, d->fg, -1);
      textout_right_ex(target, font, "< >", d->x + d->w - 3, d->y + 2, gui_mg_color, -1);
      return D_O_K;
    }
    case MSG_CLICK: {
      const int step = (gui_mouse_b() & 2) != 0 ? -1 : 1;
      awaitRelease();
      owner(d)->cycled(d, step);
      return D_O_K;
    }
    case MSG_CHAR: {
      const int scan = c >> 8;
      if (scan == KEY_ENTER || scan == KEY_ENTER_PAD) return D_CLOSE | D_USED_CHAR;
      if (scan == KEY_LEFT) owner(d)->cycled(d, -1);
      else if (scan == KEY_RIGHT || scan == KEY_SPACE) owner(d)->cycled(d, 1);
      else return D_O_K;
      return D_USED_CHAR;
    }
    default: return D_O_K;
  }
}

// "..." beside a name: the tree's looks in a list to pick from.
int listButtonProc(int msg, DIALOG* d, int c) {
  if (msg == MSG_CLICK) {
    d_button_proc(msg, d, c);
    d->flags &= ~D_SELECTED;
  } else if (msg != MSG_KEY) {
    return d_button_proc(msg, d, c);
  }
  owner(d)->pickLook(d);
  return D_REDRAW;
}

// Drawn whole every time: a shorter text (or none) leaves nothing of the
// one it replaces.
int errorLineProc(int msg, DIALOG* d, int) {
  if (msg != MSG_DRAW) return D_O_K;
  BITMAP* target = gui_get_screen();
  rectfill(target, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, d->bg);
  textout_ex(target, font, static_cast<const char*>(d->dp), d->x, d->y, d->fg, -1);
  return D_O_K;
}

// The looks the list shows while it is open; d_list_proc asks for its
// rows through a plain function.
const std::vector<std::string>* listedLooks = nullptr;

char* listedLook(int index, int* size) {
  if (index < 0) {
    *size = static_cast<int>(listedLooks->size());
    return nullptr;
  }
  return const_cast<char*>((*listedLooks)[index].c_str());
}

// The index picked, or -1 when the list was cancelled.
int pickFrom(const std::vector<std::string>& looks, const std::string& label, int selected) {
  listedLooks = &looks;
  const int rows = std::min(12, static_cast<int>(looks.size()));
  const int rowHeight = text_height(font) / dialogZoom();  // the font is zoomed already
  const int width = 260;
  const int height = 36 + rows * rowHeight + 30;
  const std::string title = label + ": pick a look";
  std::vector<DIALOG> objects;
  objects.push_back(object(d_shadow_box_proc, 0, 0, width, height));
  objects.push_back(object(d_ctext_proc, width / 2, 8, 0, 8, const_cast<char*>(title.c_str())));
  DIALOG list = object(d_list_proc, 10, 24, width - 20, rows * rowHeight + 4,
                       reinterpret_cast<void*>(listedLook));
  list.flags = D_EXIT;  // a double click picks
  list.d1 = std::max(selected, 0);
  objects.push_back(list);
  DIALOG ok = object(d_button_proc, width - 180, height - 24, 76, 16, const_cast<char*>("OK"));
  ok.flags = D_EXIT;
  objects.push_back(ok);
  DIALOG cancel =
      object(d_button_proc, width - 90, height - 24, 76, 16, const_cast<char*>("Cancel"));
  cancel.flags = D_EXIT;
  objects.push_back(cancel);
  objects.push_back(object(d_yield_proc, 0, 0, 0, 0));
  objects.push_back(DIALOG{});
  centre_dialog(objects.data());
  const int chosen = popup_dialog(objects.data(), 2);
  listedLooks = nullptr;
  if (chosen != 2 && chosen != 3) return -1;
  return objects[2].d1;
}

FormDialog::FormDialog(FieldForm& form) : form_(form) {
  texts_.resize(static_cast<size_t>(form.fieldCount()));
  title_ = form.title();
  build();
}

void FormDialog::build() {
  const int rows = form_.fieldCount();
  const int height = 34 + rows * rowHeight + errorLines * 10 + 36;
  objects_.push_back(object(d_shadow_box_proc, 0, 0, formWidth, height));
  objects_.push_back(object(d_ctext_proc, formWidth / 2, 8, 0, 8, title_.data()));
  for (int i = 0; i < rows; ++i) addRow(i, 28 + i * rowHeight);
  firstError_ = static_cast<int>(objects_.size());
  for (int line = 0; line < errorLines; ++line) {
    DIALOG error = object(errorLineProc, 10, height - 34 - (errorLines - line) * 10,
                          formWidth - 20, 10, errors_[line].data());
    error.fg = errorColour();
    objects_.push_back(error);
  }
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

// The label, then the box (or the choice) and a look's "..." button.
void FormDialog::addRow(int field, int y) {
  const FormField& f = form_.field(field);
  objects_.push_back(object(d_text_proc, 10, y + 1, labelWidth - 4, 8,
                            const_cast<char*>(f.label.c_str())));
  const bool listed = f.type == FieldType::Name && !f.choices.empty();
  const int width = formWidth - labelWidth - 20 - (listed ? listButtonWidth + 4 : 0);
  boxes_.push_back(static_cast<int>(objects_.size()));
  if (f.type == FieldType::Choice) {
    copyText(texts_[field], form_.shown(field));
    DIALOG choice = object(choiceProc, 10 + labelWidth, y - 1, width, 12, texts_[field].data());
    choice.dp2 = this;
    objects_.push_back(choice);
    return;
  }
  copyText(texts_[field], f.text);
  DIALOG box = object(fieldProc, 10 + labelWidth, y, width, 10, texts_[field].data());
  box.d1 = fieldChars;
  box.dp2 = this;
  box.flags = D_EXIT;  // Enter in a box confirms the form
  objects_.push_back(box);
  if (!listed) return;
  DIALOG button = object(listButtonProc, formWidth - 10 - listButtonWidth, y - 2, listButtonWidth,
                         14, const_cast<char*>("..."));
  button.dp2 = this;
  button.d1 = field;
  objects_.push_back(button);
}

void FormDialog::typed(const DIALOG* box) {
  const int field = static_cast<int>(
      std::find(boxes_.begin(), boxes_.end(), static_cast<int>(box - objects_.data())) -
      boxes_.begin());
  // A key that moves through the form leaves the text, and a field where
  // a group differs stays so, as it was.
  if (form_.field(field).text == texts_[field].data()) return;
  form_.set(field, texts_[field].data());
  refresh();
}

void FormDialog::cycled(const DIALOG* choice, int step) {
  const int field = static_cast<int>(
      std::find(boxes_.begin(), boxes_.end(), static_cast<int>(choice - objects_.data())) -
      boxes_.begin());
  form_.cycle(field, step);
  copyText(texts_[field], form_.shown(field));
  refresh();
}

bool FormDialog::differs(const DIALOG* box) const {
  const auto at = std::find(boxes_.begin(), boxes_.end(), static_cast<int>(box - objects_.data()));
  return at != boxes_.end() && form_.field(static_cast<int>(at - boxes_.begin())).mixed;
}

void FormDialog::pickLook(const DIALOG* button) {
  const int field = button->d1;
  const FormField& f = form_.field(field);
  const auto at = std::find(f.choices.begin(), f.choices.end(), f.text);
  const int picked = pickFrom(f.choices, f.label, static_cast<int>(at - f.choices.begin()));
  if (picked < 0) return;
  form_.set(field, f.choices[picked]);
  copyText(texts_[field], form_.field(field).text);
  DIALOG& box = objects_[boxes_[field]];
  box.d2 = static_cast<int>(form_.field(field).text.size());  // the caret at its end
  refresh();
}

// Every box in its colour, the form's first problem under them (or
// nothing), OK only for a form that can be saved.
void FormDialog::refresh() {
  for (int i = 0; i < form_.fieldCount(); ++i) {
    DIALOG& box = objects_[boxes_[i]];
    box.fg = form_.field(i).error.empty() ? gui_fg_color : errorColour();
    box.flags |= D_DIRTY;
  }
  const std::vector<std::string> lines = wrapText(form_.firstProblem(), (formWidth - 20) * dialogZoom());
  for (int line = 0; line < errorLines; ++line) {
    copyText(errors_[line], line < static_cast<int>(lines.size()) ? lines[line] : std::string());
    objects_[firstError_ + line].flags |= D_DIRTY;
  }
  DIALOG& ok = objects_[ok_];
  ok.flags = form_.valid() ? (ok.flags & ~D_DISABLED) : (ok.flags | D_DISABLED);
  ok.flags |= D_DIRTY;
}

bool FormDialog::run() {
  refresh();
  for (;;) {
    const int chosen = do_dialog(objects_.data(), boxes_.front());
    if (chosen < 0 || chosen == cancel_) return false;
    if (form_.valid()) return true;
    // Enter in a box of a form that is still wrong: go on editing.
  }
}

}  // namespace

bool editForm(FieldForm& form) {
  if (form.fieldCount() == 0) return false;
  // The dialog is laid out in the GUI's font and colours.
  GuiOnScreen gui;
  FormDialog dialog(form);
  return dialog.run();
}

LeaveChoice askLeave(const std::string& file) {
  return askSaveFirst(file, "Save them before leaving?");
}

LeaveChoice askSaveFirst(const std::string& file, const std::string& question) {
  GuiOnScreen gui;
  const std::string line = (file.empty() ? std::string("The new level") : file) +
                           " has unsaved changes.";
  const int choice = alert3(line.c_str(), question.c_str(), nullptr, "&Save",
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

void tell(const std::string& first, const std::string& second) {
  GuiOnScreen gui;
  alert(first.c_str(), second.c_str(), nullptr, "OK", nullptr, 0, 0);
}

DIALOG dialogObject(int (*proc)(int, DIALOG*, int), int x, int y, int w, int h, const void* dp) {
  DIALOG d{};
  d.proc = proc;
  d.x = x;
  d.y = y;
  d.w = w;
  d.h = h;
  d.fg = gui_fg_color;
  d.bg = gui_bg_color;
  // Allegro's GUI takes its data as void*; the text procedures only read it.
  d.dp = const_cast<void*>(dp);
  return d;
}
