// The document's files: opening, saving, the autosave copy and its
// recovery. The file itself, its lock and what may be lost are
// DocumentFile's; here they meet the history and the edited level.
#include <cstdio>

#include "tools/edit/LevelEditor.h"
#include "tools/edit/LevelFile.h"

int LevelEditor::open(const std::string& path) {
  openError_.clear();
  LevelData data;
  const int opened = file_.open(path, data, openError_);
  if (opened < 0) return -1;
  if (opened == 1) {
    newLevel();
  } else {
    startDocument(data);
  }
  ownAutosave_.clear();
  recoveryOffered_ = file_.autosaveToOffer(recoveryNote_);
  return opened;
}

void LevelEditor::newUntitled() {
  newLevel();
  file_.close();
  ownAutosave_.clear();
}

int LevelEditor::save(unsigned accepted) {
  endGestures();
  if (file_.save(level_, accepted) != 0) return -1;
  saved();
  return 0;
}

int LevelEditor::saveAs(const std::string& path, unsigned accepted) {
  endGestures();
  if (file_.saveAs(path, level_, accepted) != 0) return -1;
  saved();
  return 0;
}

void LevelEditor::saved() {
  history_.markSaved();
  discardAutosave();
  file_.forgetDeclined();
}

bool LevelEditor::autosaveIfDue(double now) {
  if (!modified() || path().empty() || revision_ == autosaved_) {
    unsavedSince_ = -1.0;
    return false;
  }
  if (unsavedSince_ < 0.0) unsavedSince_ = now;
  if (now - unsavedSince_ < autosaveInterval) return false;
  unsavedSince_ = now;
  const std::string copy = autosavePath();
  if (writeLevelFile(copy, level_, autosaveError_) != 0) return false;
  autosaveError_.clear();
  // The lock came to this editor at a save: its copy takes the holder's name.
  if (!ownAutosave_.empty() && ownAutosave_ != copy) std::remove(ownAutosave_.c_str());
  ownAutosave_ = copy;
  autosaved_ = revision_;
  return true;
}

int LevelEditor::recover() {
  if (!recoveryOffered_) return -1;
  const std::string copy = autosavePathOf(path());
  LevelData data;
  recoveryOffered_ = false;
  if (readLevelFile(copy, data) != 0) {
    recoveryNote_ = "the autosave copy " + copy + " could not be read again; it is left as it is";
    return -1;
  }
  endGestures();
  level_ = data;
  commit("recover the autosave copy");
  // Its changes are the document's now: the copy goes when they are saved
  // or discarded.
  ownAutosave_ = copy;
  return 0;
}

void LevelEditor::declineRecovery() {
  if (!recoveryOffered_) return;
  file_.declineAutosave();
  recoveryOffered_ = false;
}

void LevelEditor::discardAutosave() {
  declineRecovery();
  if (!ownAutosave_.empty()) std::remove(ownAutosave_.c_str());
  ownAutosave_.clear();
  autosaved_ = 0;
  unsavedSince_ = -1.0;
}
