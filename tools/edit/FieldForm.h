#pragma once
// The fields of one record (or of the level's own header) as a form: each
// field's text as typed, checked as it is typed against what the loader
// accepts and what the engine can place, so a form that is valid() can only
// write a level the game loads. Field names and order are the level file's
// own (game/LevelFields.h); each field also has a label a person reads,
// with its unit, and the fields that hold one of a few meanings (yes or
// no, left or right) are choices between them.
#include <string>
#include <vector>

#include "game/LevelData.h"
#include "tools/edit/EditElement.h"

class LookCatalog;

enum class FieldType { Whole, Real, Name, Choice };

// One meaning of a choice field: the number the file holds and its words.
struct FieldOption {
  int value = 0;
  std::string words;  // "yes", "walking right"
};

struct FormField {
  std::string name;    // as the level file names it: "min_x", "cleared_name"
  std::string label;   // as a person reads it: "Patrol from x"
  FieldType type = FieldType::Whole;
  std::string text;    // as typed; a choice's number
  std::string error;   // why the text cannot be saved; empty when it can
  std::vector<std::string> choices;  // a name field: the looks it may name, sorted
  std::vector<FieldOption> options;  // a choice field: its meanings (and a value
                                     // the file held that has none, as it is)
  bool bounded = false;  // a number held within ±LevelData::maxNumber
  // The elements of a group form differ here: the text is empty, nothing
  // is written to them until the field is given a value.
  bool mixed = false;
  int lowest = 0;        // a number with a range of its own (start_animation):
  int highest = -1;      // lowest to highest; none while highest < lowest
};

class FieldForm {
 public:
  // The form of one element of the level; the start's form holds the
  // header's start fields. An invalid reference gives an empty form.
  static FieldForm forElement(const LevelData& level, ElementRef element,
                              const LookCatalog& looks);
  // One form for several elements of one kind (FieldFormGroup.cpp): a
  // field they all share shows its value, one where they differ is mixed;
  // what is written applies to every one. One element gives forElement's
  // form; elements of several kinds, or none, an empty form.
  static FieldForm forElements(const LevelData& level, const std::vector<ElementRef>& elements,
                               const LookCatalog& looks);
  // The level's own fields: countdown, both panels, pips, start.
  static FieldForm forLevel(const LevelData& level, const LookCatalog& looks);

  // "Enemy 1 of 2: beetle", "Player start", "Level", "17 tiles".
  const std::string& title() const { return title_; }
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const FormField& field(int index) const { return fields_[index]; }
  int find(const std::string& name) const;  // index, or -1

  // Takes the text and checks it; false (and the field's error set) when it
  // cannot be saved.
  bool set(int index, const std::string& text);
  // A choice field: the next (step 1) or previous (-1) meaning, round.
  void cycle(int index, int step);
  // What a choice field shows: the words of its value ("(differs)" while
  // it is mixed).
  std::string shown(int index) const;
  bool valid() const;  // every field
  // The first field whose text cannot be saved, as "Label: reason"; empty
  // when every field can be.
  std::string firstProblem() const;
  // Writes the form's values into the level (a copy of the one it was made
  // from), into each of its elements, mixed fields left as each has them.
  // False, and the level unchanged, unless valid().
  bool applyTo(LevelData& level) const;

 private:
  static void check(FormField& field);
  static int optionAt(const FormField& field);  // index of its value, or -1

  std::string title_;
  std::vector<ElementRef> elements_;  // none: the level's own fields
  std::vector<FormField> fields_;
};
