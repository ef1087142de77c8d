#pragma once
// The editor's dialogs, with Allegro's GUI routines drawn straight on the
// screen over the editor's last frame.
#include <string>

class FieldForm;

// A form: one labelled edit box per field, each checked as it is typed, the
// reason shown under the boxes and OK held back while any field is wrong.
// True when the user confirmed a valid form (form then holds the values).
bool editForm(FieldForm& form);

enum class LeaveChoice { Save, Discard, Stay };
// There are unsaved changes: save them, throw them away or go on editing.
LeaveChoice askLeave(const std::string& file);

// An autosave copy newer than the file: true to recover it.
bool askRecover(const std::string& file);

// A path to save a level never saved; false when the user gave none.
bool askSavePath(std::string& path);

// A message with one OK button.
void tell(const std::string& first, const std::string& second);
