// The session's files: the questions before a file is replaced, opened or
// left, saving under the same or a new name, a new level, the title that
// names the file, and the copies kept for autosave and signals.
#include <allegro.h>

#include <cctype>
#include <filesystem>

#include "game/LevelFormat.h"
#include "tools/edit/EditorDialogs.h"
#include "tools/edit/EditorFileDialogs.h"
#include "tools/edit/EditorSession.h"
#include "tools/edit/EditorSignals.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/SetPlaces.h"

namespace {

std::string bareName(const std::string& path) {
  return path.empty() ? std::string() : std::filesystem::path(path).filename().string();
}

// "cannot write x: ..." as a sentence of a dialog.
std::string sentence(const std::string& text) {
  if (text.empty()) return text;
  std::string out = text;
  out[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[0])));
  if (out.back() != '.') out += '.';
  return out;
}

}  // namespace

void EditorSession::offerRecovery() {
  // Asked over the level, not over a blank window; the title names the
  // file from here on.
  updateTitle();
  draw();
  if (editor_.readOnly() != FileRisk::None) {
    tellFile("Opened read-only", editor_.readOnlyReason() +
                                     ". Ctrl+S asks before it replaces the file.");
  }
  if (!editor_.recoveryNote().empty()) {
    tellFile("An autosave copy was not offered", sentence(editor_.recoveryNote()));
  }
  if (!editor_.recoveryOffered()) return;
  if (!askRecover(bareName(editor_.path()))) {
    editor_.declineRecovery();
    notice("The autosave copy is kept as " + bareName(declinedPathOf(editor_.path())) +
           " until the next save");
  } else if (editor_.recover() == 0) {
    notice("Recovered the autosave copy; it is not saved yet");
  } else {
    tellFile("The autosave copy was not recovered", sentence(editor_.recoveryNote()));
  }
}

// Each risk the save would run is asked in turn; the save goes ahead only
// once the author has accepted every one.
void EditorSession::save() {
  std::string path = editor_.path();
  if (path.empty()) {
    path = "level.inf";
    if (!askSavePath(path)) return;
  }
  saveTo(path);
}

// The name offered is the file's own, which the author changes.
void EditorSession::saveAs() {
  std::string path = editor_.path().empty() ? std::string("level.inf") : editor_.path();
  if (askSavePath(path)) saveTo(path);
}

void EditorSession::saveTo(const std::string& path) {
  unsigned accepted = 0;
  while (editor_.saveAs(path, accepted) != 0) {
    const FileRisk risk = editor_.saveRisk();
    if (risk == FileRisk::None) {
      notice("Not saved: " + editor_.saveError());
      tellFile("The level was not saved", sentence(editor_.saveError()));
      return;
    }
    if (!askToRisk(risk, editor_.saveError())) {
      notice("Not saved: " + bareName(path) + " is as it was");
      return;
    }
    accepted |= riskBit(risk);
  }
  setPlaceFor_.clear();  // a level saved new may have joined the list
  const std::string& note = editor_.saveNote();
  notice("Saved " + bareName(editor_.path()) + (note.empty() ? "" : "; " + note));
}

void EditorSession::leave() {
  if (!editor_.modified()) {
    // Nothing unsaved: a copy written or recovered before holds nothing
    // the file does not.
    editor_.discardAutosave();
    done_ = true;
    return;
  }
  switch (askLeave(bareName(editor_.path()))) {
    case LeaveChoice::Save:
      save();
      done_ = !editor_.modified();
      break;
    case LeaveChoice::Discard:
      editor_.discardAutosave();
      done_ = true;
      break;
    case LeaveChoice::Stay: break;
  }
}

bool EditorSession::settleUnsaved(const std::string& question) {
  if (!editor_.modified()) return true;
  switch (askSaveFirst(bareName(editor_.path()), question)) {
    case LeaveChoice::Save:
      save();
      return !editor_.modified();
    case LeaveChoice::Discard: return true;
    case LeaveChoice::Stay: break;
  }
  return false;
}

void EditorSession::newLevel() {
  if (!settleUnsaved("Save them before starting a new level?")) return;
  // What is left unsaved now was given up: its autosave copy goes with it.
  editor_.discardAutosave();
  editor_.newUntitled();
  notice("A new level; Ctrl+S asks where it goes");
}

// Nothing changes until a file is chosen, and a file that cannot be opened
// leaves the level being edited as it is.
void EditorSession::openLevel() {
  if (!settleUnsaved("Save them before opening another level?")) return;
  // The selector starts in the file's directory, else the working one.
  std::filesystem::path start = editor_.path();
  start = editor_.path().empty() ? std::filesystem::current_path() : start.parent_path();
  std::string path = (start / "").string();
  if (!askOpenPath(path)) return;
  openPath(std::filesystem::absolute(path).string());
}

void EditorSession::openPath(const std::string& path) {
  editor_.discardAutosave();
  if (editor_.open(path) < 0) {
    notice("Not opened: " + editor_.openError());
    tellFile("The level was not opened", sentence(editor_.openError()));
    return;
  }
  offerRecovery();
  notice("Opened " + bareName(editor_.path()));
}

// A level the list takes from the base tree is played as the tree has it:
// the set's folder holds no file of it to edit.
void EditorSession::openSetLevel(int step) {
  LevelSet set;
  const std::string why = setFolder_.empty() ? "this level is in no set"
                                             : readLevelSet(setFolder_, set);
  const std::string name = why.empty() ? setNeighbour(set, editor_.path(), step) : std::string();
  if (name.empty()) {
    notice("No other level to open: " + (why.empty() ? "the set lists none" : why));
    return;
  }
  const std::string path = (std::filesystem::path(setFolder_) / name).string();
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
    notice(name + " is the base tree's level, which the set plays as it stands");
    return;
  }
  if (!settleUnsaved("Save them before opening " + name + "?")) return;
  setPlaceFor_.clear();
  openPath(path);
}

std::string EditorSession::setPlace() {
  if (setFolder_.empty() || editor_.path().empty()) return std::string();
  if (setPlaceFor_ == editor_.path()) return setPlace_;
  setPlaceFor_ = editor_.path();
  LevelSet set;
  setPlace_ = readLevelSet(setFolder_, set).empty() ? setPlaceWords(set, editor_.path()) : "";
  return setPlace_;
}

void EditorSession::updateTitle() {
  const std::string name = fileLabel();
  std::string title = "pwe-edit - " + (name.empty() ? std::string("new level") : name);
  const std::string place = setPlace();
  // Allegro hands the window manager the title in ASCII: a plain dash.
  if (!place.empty()) title += " - " + place;
  if (editor_.modified()) title += " *";
  if (title == title_) return;
  title_ = title;
  set_window_title(title_.c_str());
}

std::string EditorSession::fileLabel() const {
  const std::string name = bareName(editor_.path());
  return editor_.readOnly() == FileRisk::None ? name : name + " (read-only)";
}

// The text a signal writes is kept as current as the level.
void EditorSession::keepForSignals() {
  const bool unsaved = editor_.modified();
  const std::string copy = editor_.autosavePath();
  if (editor_.revision() == signalRevision_ && unsaved == signalUnsaved_ && copy == signalCopy_) {
    return;
  }
  signalRevision_ = editor_.revision();
  signalUnsaved_ = unsaved;
  signalCopy_ = copy;
  keepForLeaveSignals(copy, unsaved ? writeLevel(editor_.level()) : std::string());
}

// A failed autosave says why in the status bar for as long as it fails,
// and in a dialog once for each reason.
void EditorSession::autosave() {
  if (editor_.autosaveIfDue(milliseconds() / 1000.0)) {
    notice("Autosaved");
    autosaveErrorTold_.clear();
    return;
  }
  const std::string& error = editor_.autosaveError();
  if (error.empty() || error == autosaveErrorTold_) return;
  autosaveErrorTold_ = error;
  tellFile("The autosave copy was not written", sentence(error));
}

