#pragma once
// Undo and redo by whole snapshots of the level: levels are small (the
// largest shipped one is a few kilobytes), and a snapshot cannot miss a field
// the way a hand-written inverse command could. Unbounded while it lives.
#include <string>
#include <vector>

#include "game/LevelData.h"

class EditHistory {
 public:
  // A fresh history holding one state, taken as saved.
  void reset(const LevelData& level);
  const LevelData& current() const { return states_[at_]; }
  // A new state after the current one, reached by the edit `what` names
  // ("paint 12 tiles"); the redo branch is dropped.
  void push(const LevelData& level, const std::string& what);
  bool canUndo() const { return at_ > 0; }
  bool canRedo() const { return at_ + 1 < states_.size(); }
  bool undo();
  bool redo();
  // What undo would take back and what redo would give again; empty when
  // there is nothing to.
  std::string undoName() const { return canUndo() ? names_[at_] : std::string(); }
  std::string redoName() const { return canRedo() ? names_[at_ + 1] : std::string(); }
  // Forgets the current state when it is the latest one and not the first;
  // the one before it becomes current.
  bool dropLatest();
  // The current state is what the file holds.
  void markSaved() { saved_ = serials_[at_]; }
  bool modified() const { return serials_[at_] != saved_; }

 private:
  std::vector<LevelData> states_ = {LevelData{}};
  std::vector<std::string> names_ = {std::string()};  // the edit that reached each state
  std::vector<unsigned> serials_ = {1};  // one per state ever pushed; 0 is none
  std::size_t at_ = 0;
  unsigned next_ = 2;
  unsigned saved_ = 1;
};
