#pragma once
// The fields of one record (or of the level's own header) as a form: each
// field's text as typed, checked as it is typed against what the loader
// accepts and what the engine can place, so a form that is valid() can only
// write a level the game loads. Field names and order are the level file's
// own (game/LevelFields.h).
#include <string>
#include <vector>

#include "game/LevelData.h"
#include "tools/edit/EditElement.h"

class LookCatalog;

enum class FieldType { Whole, Real, Name };

struct FormField {
  std::string name;    // as the level file names it: "min_x", "cleared_name"
  FieldType type = FieldType::Whole;
  std::string text;    // as typed
  std::string error;   // why the text cannot be saved; empty when it can
  std::vector<std::string> choices;  // a name field: the looks it may name
  bool bounded = false;  // a number held within ±LevelData::maxNumber
  int lowest = 0;        // a number with a range of its own (start_animation):
  int highest = -1;      // lowest to highest; none while highest < lowest
};

class FieldForm {
 public:
  // The form of one element of the level; the start's form holds the
  // header's start fields. An invalid reference gives an empty form.
  static FieldForm forElement(const LevelData& level, ElementRef element,
                              const LookCatalog& looks);
  // The level's own fields: countdown, both panels, pips, start.
  static FieldForm forLevel(const LevelData& level, const LookCatalog& looks);

  const std::string& title() const { return title_; }  // "ladder 3", "level"
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const FormField& field(int index) const { return fields_[index]; }
  int find(const std::string& name) const;  // index, or -1

  // Takes the text and checks it; false (and the field's error set) when it
  // cannot be saved.
  bool set(int index, const std::string& text);
  bool valid() const;  // every field
  // Writes the form's values into the level (a copy of the one it was made
  // from). False, and the level unchanged, unless valid().
  bool applyTo(LevelData& level) const;

 private:
  static void check(FormField& field);

  std::string title_;
  ElementRef element_;   // invalid: the level's own fields
  std::vector<FormField> fields_;
};
