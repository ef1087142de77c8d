// One form for several elements of one kind: the first element's form,
// each field the others hold otherwise marked as mixed.
#include "tools/edit/FieldForm.h"
#include "tools/edit/Selection.h"

FieldForm FieldForm::forElements(const LevelData& level, const std::vector<ElementRef>& elements,
                                 const LookCatalog& looks) {
  if (elements.empty()) return FieldForm{};
  FieldForm form = forElement(level, elements.front(), looks);
  if (elements.size() == 1 || form.elements_.empty()) return form;
  for (ElementRef element : elements) {
    const FieldForm other = forElement(level, element, looks);
    if (element.kind != elements.front().kind || other.elements_.empty()) return FieldForm{};
    for (std::size_t i = 0; i < form.fields_.size(); ++i) {
      if (other.fields_[i].text != form.fields_[i].text) form.fields_[i].mixed = true;
    }
  }
  for (FormField& field : form.fields_) {
    if (!field.mixed) continue;
    field.text.clear();
    check(field);
  }
  form.elements_ = elements;
  form.title_ = countedName(static_cast<int>(elements.size()), toolName(elements.front().kind));
  return form;
}
