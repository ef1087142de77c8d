#include "tools/edit/EditHistory.h"

void EditHistory::reset(const LevelData& level) {
  states_.assign(1, level);
  serials_.assign(1, next_);
  names_.assign(1, std::string());
  saved_ = next_++;
  at_ = 0;
}

void EditHistory::push(const LevelData& level, const std::string& what) {
  states_.resize(at_ + 1);
  serials_.resize(at_ + 1);
  names_.resize(at_ + 1);
  states_.push_back(level);
  names_.push_back(what);
  serials_.push_back(next_++);
  at_ = states_.size() - 1;
}

bool EditHistory::undo() {
  if (!canUndo()) return false;
  --at_;
  return true;
}

bool EditHistory::redo() {
  if (!canRedo()) return false;
  ++at_;
  return true;
}

bool EditHistory::dropLatest() {
  if (!canUndo() || canRedo()) return false;
  states_.pop_back();
  serials_.pop_back();
  names_.pop_back();
  --at_;
  return true;
}
