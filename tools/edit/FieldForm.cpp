#include "tools/edit/FieldForm.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "game/LevelFields.h"
#include "game/LevelFormat.h"
#include "tools/edit/LookCatalog.h"

namespace {

// The looks a name field may name, by kind and field.
const std::vector<std::string>* choicesFor(const LookCatalog& looks, const std::string& kind,
                                           const std::string& field,
                                           std::vector<std::string>& scratch) {
  EditTool tool = EditTool::Start;
  if (kind == "tile" && field == "cleared_name") return &looks.clearedTileNames();
  if (kind == "teleporter" && field == "cooldown_name") return &looks.cooldownNames();
  if (kind == "tile") tool = EditTool::Tile;
  if (kind == "ladder") tool = EditTool::Ladder;
  if (kind == "chute") tool = EditTool::Chute;
  if (kind == "enemy") tool = EditTool::Enemy;
  if (kind == "item") tool = EditTool::Item;
  if (kind == "teleporter") tool = EditTool::Teleporter;
  if (tool == EditTool::Start) return nullptr;
  scratch.clear();
  for (int i = 0; i < looks.count(tool); ++i) scratch.push_back(looks.name(tool, i));
  return &scratch;
}

bool hasSpace(const std::string& text) {
  return text.find_first_of(" \t\r\n\v\f") != std::string::npos;
}

// The whole text as one number, as the loader would read it alone.
bool parseWhole(const std::string& text, int& value) {
  if (text.empty() || hasSpace(text)) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool parseReal(const std::string& text, float& value) {
  if (text.empty() || hasSpace(text)) return false;
  char* end = nullptr;
  const float parsed = std::strtof(text.c_str(), &end);
  if (*end != '\0') return false;
  value = parsed;
  return true;
}

// Every field of the kind's list that keep() takes, in file order.
template <typename Record, typename Keep>
std::vector<FormField> fieldsOf(const Record& record, const LookCatalog& looks, Keep keep) {
  std::vector<FormField> fields;
  std::vector<std::string> scratch;
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if (!keep(entry.name)) continue;
    FormField field;
    field.name = entry.name;
    field.bounded = entry.isBounded();
    if (entry.whole != nullptr) {
      field.text = std::to_string(record.*entry.whole);
    } else if (entry.real != nullptr) {
      field.type = FieldType::Real;
      field.text = levelReal(record.*entry.real);
    } else {
      field.type = FieldType::Name;
      field.text = record.*entry.text;
      const auto* choices = choicesFor(looks, LevelFields<Record>::kind, entry.name, scratch);
      if (choices != nullptr) field.choices = *choices;
    }
    if (field.name == "start_animation") field.highest = looks.playerAnimationCount() - 1;
    fields.push_back(field);
  }
  return fields;
}

template <typename Record>
std::vector<FormField> allFieldsOf(const Record& record, const LookCatalog& looks) {
  return fieldsOf(record, looks, [](const char*) { return true; });
}

// The form's texts into the record, field by field of the kind's list.
template <typename Record>
void writeFields(const std::vector<FormField>& fields, Record& record) {
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    for (const FormField& field : fields) {
      if (field.name != entry.name) continue;
      if (entry.whole != nullptr) parseWhole(field.text, record.*entry.whole);
      if (entry.real != nullptr) parseReal(field.text, record.*entry.real);
      if (entry.text != nullptr) record.*entry.text = field.text;
    }
  }
}

template <typename Record>
bool indexed(const std::vector<Record>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size());
}

}  // namespace

FieldForm FieldForm::forElement(const LevelData& level, ElementRef element,
                                const LookCatalog& looks) {
  FieldForm form;
  form.element_ = element;
  const int i = element.index;
  const std::string number = " " + std::to_string(i);
  switch (element.kind) {
    case EditTool::Tile:
      if (!indexed(level.tiles, i)) break;
      form.fields_ = allFieldsOf(level.tiles[i], looks);
      form.title_ = LevelFields<TileSpec>::kind + number;
      break;
    case EditTool::Ladder:
      if (!indexed(level.ladders, i)) break;
      form.fields_ = allFieldsOf(level.ladders[i], looks);
      form.title_ = LevelFields<LadderSpec>::kind + number;
      break;
    case EditTool::Chute:
      if (!indexed(level.chutes, i)) break;
      form.fields_ = allFieldsOf(level.chutes[i], looks);
      form.title_ = LevelFields<ChuteSpec>::kind + number;
      break;
    case EditTool::Enemy:
      if (!indexed(level.enemies, i)) break;
      form.fields_ = allFieldsOf(level.enemies[i], looks);
      form.title_ = LevelFields<EnemySpec>::kind + number;
      break;
    case EditTool::Item:
      if (!indexed(level.items, i)) break;
      form.fields_ = allFieldsOf(level.items[i], looks);
      form.title_ = LevelFields<ItemSpec>::kind + number;
      break;
    case EditTool::Teleporter:
      if (!indexed(level.teleporters, i)) break;
      form.fields_ = allFieldsOf(level.teleporters[i], looks);
      form.title_ = LevelFields<TeleporterSpec>::kind + number;
      break;
    case EditTool::Start:
      if (i != 0) break;
      form.fields_ = fieldsOf(level, looks, [](const char* name) {
        return std::string(name).compare(0, 6, "start_") == 0;
      });
      form.title_ = "player start";
      break;
  }
  if (form.fields_.empty()) form.element_ = ElementRef{};
  for (FormField& field : form.fields_) check(field);
  return form;
}

FieldForm FieldForm::forLevel(const LevelData& level, const LookCatalog& looks) {
  FieldForm form;
  form.title_ = "level";
  form.fields_ = allFieldsOf(level, looks);
  for (FormField& field : form.fields_) check(field);
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
  return !fields_.empty();
}

bool FieldForm::applyTo(LevelData& level) const {
  if (!valid()) return false;
  const int i = element_.index;
  if (!element_.valid() || element_.kind == EditTool::Start) {
    writeFields(fields_, level);
    return true;
  }
  switch (element_.kind) {
    case EditTool::Tile:
      if (indexed(level.tiles, i)) writeFields(fields_, level.tiles[i]);
      break;
    case EditTool::Ladder:
      if (indexed(level.ladders, i)) writeFields(fields_, level.ladders[i]);
      break;
    case EditTool::Chute:
      if (indexed(level.chutes, i)) writeFields(fields_, level.chutes[i]);
      break;
    case EditTool::Enemy:
      if (indexed(level.enemies, i)) writeFields(fields_, level.enemies[i]);
      break;
    case EditTool::Item:
      if (indexed(level.items, i)) writeFields(fields_, level.items[i]);
      break;
    case EditTool::Teleporter:
      if (indexed(level.teleporters, i)) writeFields(fields_, level.teleporters[i]);
      break;
    case EditTool::Start:
      break;
  }
  return true;
}

void FieldForm::check(FormField& field) {
  field.error.clear();
  const std::string bound = std::to_string(LevelData::maxNumber);
  if (field.type == FieldType::Name) {
    if (field.text.empty()) field.error = "a name is needed";
    else if (hasSpace(field.text)) field.error = "a name has no spaces";
    else if (!field.choices.empty() && std::find(field.choices.begin(), field.choices.end(), field.text) ==
                                               field.choices.end()) {
      field.error = "the tree has no look named " + field.text;
    }
    return;
  }
  if (field.type == FieldType::Real) {
    float value = 0.0f;
    if (!parseReal(field.text, value)) field.error = "not a number";
    else if (field.bounded && !withinLevelBound(value)) field.error = "beyond ±" + bound;
    return;
  }
  int value = 0;
  if (!parseWhole(field.text, value)) field.error = "not a whole number";
  else if (field.bounded && !withinLevelBound(value)) field.error = "beyond ±" + bound;
  else if (field.highest >= field.lowest && (value < field.lowest || value > field.highest)) {
    field.error = "from " + std::to_string(field.lowest) + " to " + std::to_string(field.highest);
  }
}
