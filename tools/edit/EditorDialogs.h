#pragma once
// The editor's dialogs, with Allegro's GUI routines drawn straight on the
// screen over the editor's last frame.
#include <allegro.h>

#include <memory>
#include <string>

class FieldForm;

// One object of a dialog, in the GUI's colours; dp is the object's data
// (its text, for the text and button procedures).
DIALOG dialogObject(int (*proc)(int, DIALOG*, int), int x, int y, int w, int h,
                    const void* dp = nullptr);

// Held while a dialog runs: the GUI's colours, the mouse pointer shown.
// When it ends, the keys typed into the dialog are used up and the mouse
// goes back to the map only once its buttons are up, so nothing pressed
// or released in a dialog reaches the level (mouseBackFromDialog).
// The GUI's rows are as tall as its font, and a list frames the row picked
// on its first and last pixel rows, over the glyphs of the built-in font:
// while a dialog runs, the font is that font with a blank row above and
// below each glyph, so every row reads whole.
struct GuiOnScreen {
  GuiOnScreen();
  ~GuiOnScreen();
  GuiOnScreen(const GuiOnScreen&) = delete;
  GuiOnScreen& operator=(const GuiOnScreen&) = delete;

 private:
  FONT* plainFont_;                                   // the font before the dialog
  std::unique_ptr<FONT, void (*)(FONT*)> padded_;     // the one it runs with
};

// The editor's zoom: dialogs are drawn straight on the window, so their
// font and their boxes grow with it (1 and up).
void setDialogZoom(int zoom);
int dialogZoom();

// A form: one labelled box per field (a choice for the fields of a few
// meanings, a list of the tree's looks beside a name), each checked as it
// is typed, the form's first problem shown under the boxes and OK held
// back while there is one. True when the user confirmed a valid form (form
// then holds the values).
bool editForm(FieldForm& form);

enum class LeaveChoice { Save, Discard, Stay };
// There are unsaved changes: save them, throw them away or go on editing.
LeaveChoice askLeave(const std::string& file);
// The same before another level takes the editor's place: question is
// what to do with them ("Save them before opening another level?").
LeaveChoice askSaveFirst(const std::string& file, const std::string& question);

// An autosave copy newer than the file: true to recover it.
bool askRecover(const std::string& file);

// A message with one OK button.
void tell(const std::string& first, const std::string& second);
