#include "tools/edit/FieldForm.h"

// Filled in once the engine lists every field of a record once.
FieldForm FieldForm::forElement(const LevelData&, ElementRef element, const LookCatalog& looks) {
  FieldForm form;
  form.element_ = element;
  form.looks_ = &looks;
  return form;
}

FieldForm FieldForm::forLevel(const LevelData&, const LookCatalog& looks) {
  FieldForm form;
  form.title_ = "level";
  form.looks_ = &looks;
  return form;
}

int FieldForm::find(const std::string& name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

bool FieldForm::set(int index, const std::string& text) {
  fields_[index].text = text;
  check(fields_[index]);
  return fields_[index].error.empty();
}

bool FieldForm::valid() const {
  for (const FormField& field : fields_) {
    if (!field.error.empty()) return false;
  }
  return true;
}

bool FieldForm::applyTo(LevelData&) const { return false; }

void FieldForm::check(FormField&) const {}
