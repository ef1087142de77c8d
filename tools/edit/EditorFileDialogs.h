#pragma once
// The editor's questions and messages about its files: whether to save
// over what a save would put at risk, and why a file was opened read-only,
// an autosave was not offered or a save failed. Drawn with Allegro's GUI
// straight on the screen over the editor's last frame, as the other
// dialogs are (GuiOnScreen); long texts wrap.
#include <string>

#include "tools/edit/DocumentFile.h"

// The question a held-back save asks (DocumentFile's words): true when the
// author chose to go ahead ("Replace it"). Cancel is the default.
bool askToRisk(FileRisk risk, const std::string& question);

// A file to save the level as (path: the name offered) or to open, from
// Allegro's file selector; false when the user gave none.
bool askSavePath(std::string& path);
bool askOpenPath(std::string& path);

// A titled message with one OK button.
void tellFile(const std::string& title, const std::string& text);
