#include "tools/edit/FieldForm.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "game/LevelFields.h"
#include "game/LevelFormat.h"
#include "tools/check/TreeFacts.h"
#include "tools/edit/LevelFile.h"
#include "tools/edit/LookCatalog.h"

namespace {

// The words of each field, by kind (LevelFields' kind) and field name: its
// label, and for a field of a few meanings those meanings as
// "value=words|value=words". "{ticks}" in a label is the tree's tick rate.
struct FieldWords {
  const char* kind;
  const char* field;
  const char* label;
  const char* options;
};

constexpr const char* yesNo = "1=yes|0=no";
constexpr const char* leftRight = "0=left|1=right";
constexpr const char* alignment = "0=left|1=right|2=centred|3=hidden";

constexpr FieldWords fieldWords[] = {
    {"header", "countdown_start", "Countdown at each life's start", nullptr},
    {"header", "countdown_x", "Countdown panel x (left column)", nullptr},
    {"header", "countdown_y", "Countdown panel y (top row)", nullptr},
    {"header", "countdown_align", "Countdown in its panel", alignment},
    {"header", "score_x", "Score panel x (left column)", nullptr},
    {"header", "score_y", "Score panel y (top row)", nullptr},
    {"header", "score_align", "Score and lives in their panel", alignment},
    {"header", "pip_offset", "Gap from score to lives (pixels)", nullptr},
    {"header", "pip_spacing", "Gap between lives (pixels)", nullptr},
    {"header", "start_x", "Start x (player's centre)", nullptr},
    {"header", "start_y", "Start y (player's lowest row)", nullptr},
    {"header", "start_animation", "Start as",
     "0=walking left|1=walking right|2=in the air, left|3=in the air, right|4=climbing"},
    {"tile", "x", "x (left column)", nullptr},
    {"tile", "y", "y (top row)", nullptr},
    {"tile", "tile_name", "Look", nullptr},
    {"tile", "cleared_name", "Look once claimed", nullptr},
    {"tile", "claimable", "Must be claimed", yesNo},
    {"tile", "points", "Points for claiming it", nullptr},
    {"ladder", "x", "x (left column)", nullptr},
    {"ladder", "y", "y (top row)", nullptr},
    {"ladder", "height", "Height (pixels)", nullptr},
    {"ladder", "name", "Look", nullptr},
    {"chute", "x", "x (top step's left column)", nullptr},
    {"chute", "y", "y (top row)", nullptr},
    {"chute", "height", "Height (pixels)", nullptr},
    {"chute", "dx", "Shift per step (pixels)", nullptr},
    {"chute", "direction", "Runs down to the", leftRight},
    {"chute", "name", "Look", nullptr},
    {"enemy", "x", "Start x (centre)", nullptr},
    {"enemy", "y", "Start y (lowest row)", nullptr},
    {"enemy", "direction", "Walks first to the", leftRight},
    {"enemy", "min_x", "Patrol from x", nullptr},
    {"enemy", "max_x", "Patrol to x", nullptr},
    {"enemy", "speed", "Speed (pixels per tick)", nullptr},
    {"enemy", "changes", "Tamed by items", yesNo},
    {"enemy", "state", "Starts", "0=dangerous|1=vulnerable"},
    {"enemy", "name", "Kind", nullptr},
    {"enemy", "safe_time", "Safe time (ticks, {ticks} per second)", nullptr},
    {"enemy", "points", "Points for catching it", nullptr},
    {"item", "x", "x (left column)", nullptr},
    {"item", "y", "y (top row)", nullptr},
    {"item", "type", "Look", nullptr},
    {"item", "points", "Points for collecting it", nullptr},
    {"teleporter", "x", "x (left column)", nullptr},
    {"teleporter", "y", "y (top row)", nullptr},
    {"teleporter", "name", "Look", nullptr},
    {"teleporter", "cooldown_name", "Look while cooling down", nullptr},
    {"teleporter", "number", "Number (the key that calls it)", nullptr},
};

const FieldWords* wordsFor(const std::string& kind, const std::string& field) {
  for (const FieldWords& words : fieldWords) {
    if (kind == words.kind && field == words.field) return &words;
  }
  return nullptr;
}

std::string withTickRate(std::string label, int ticksPerSecond) {
  const std::string mark = "{ticks}";
  const std::size_t at = label.find(mark);
  if (at != std::string::npos) label.replace(at, mark.size(), std::to_string(ticksPerSecond));
  return label;
}

std::vector<FieldOption> optionsOf(const char* spec) {
  std::vector<FieldOption> options;
  std::string rest = spec;
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    const std::string one = rest.substr(0, bar);
    const std::size_t equals = one.find('=');
    options.push_back(FieldOption{std::atoi(one.substr(0, equals).c_str()), one.substr(equals + 1)});
    rest = bar == std::string::npos ? std::string() : rest.substr(bar + 1);
  }
  return options;
}

// Labels and choices from the table; a number the file holds that no
// meaning names is kept as a choice of its own, so opening a form never
// changes a value.
void describe(FormField& field, const std::string& kind, int ticksPerSecond) {
  const FieldWords* words = wordsFor(kind, field.name);
  field.label = words != nullptr ? withTickRate(words->label, ticksPerSecond) : field.name;
  if (words == nullptr || words->options == nullptr) return;
  field.type = FieldType::Choice;
  field.options = optionsOf(words->options);
  const int value = std::atoi(field.text.c_str());
  for (const FieldOption& option : field.options) {
    if (option.value == value) return;
  }
  field.options.push_back(FieldOption{value, field.text + " (as the file has it)"});
}

// The looks a name field may name, by kind and field.
const std::vector<std::string>* choicesFor(const LookCatalog& looks, const std::string& kind,
                                           const std::string& field,
                                           std::vector<std::string>& scratch) {
  if (kind == "tile" && field == "cleared_name") return &looks.clearedTileNames();
  if (kind == "teleporter" && field == "cooldown_name") return &looks.cooldownNames();
  EditTool tool = EditTool::Start;
  for (const ElementKindFacts& facts : elementKinds) {
    if (kind == facts.word) tool = facts.kind;
  }
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
      const auto* choices = choicesFor(looks, recordWord<Record>(), entry.name, scratch);
      if (choices != nullptr) field.choices = *choices;
    }
    if (field.name == "start_animation") field.highest = looks.playerAnimationCount() - 1;
    describe(field, recordWord<Record>(), looks.ticksPerSecond());
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
      if (field.name != entry.name || field.mixed) continue;
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

namespace {

// "Enemy 1 of 2: beetle": the kind, its place among its kind counting from
// 1 as a person counts, and the look it shows.
template <typename Record>
std::string titleOf(const std::vector<Record>& list, int index, const std::string& look) {
  std::string kind = recordWord<Record>();
  kind[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(kind[0])));
  return kind + " " + std::to_string(index + 1) + " of " + std::to_string(list.size()) + ": " +
         look;
}

}  // namespace

FieldForm FieldForm::forElement(const LevelData& level, ElementRef element,
                                const LookCatalog& looks) {
  FieldForm form;
  form.elements_ = {element};
  const int i = element.index;
  ElementKind kind;
  if (recordKindOf(element.kind, kind)) {
    visitRecordList(level, kind, [&](const auto& list, auto) {
      if (!indexed(list, i)) return;
      form.fields_ = allFieldsOf(list[i], looks);
      form.title_ = titleOf(list, i, recordLook(list[i]));
      if constexpr (std::is_same_v<std::decay_t<decltype(list[i])>, TeleporterSpec>) {
        form.title_ += ", number " + std::to_string(list[i].number);
      }
    });
  } else if (i == 0) {
    form.fields_ = fieldsOf(level, looks, [](const char* name) {
      return std::string(name).compare(0, 6, "start_") == 0;
    });
    form.title_ = "Player start";
  }
  if (form.fields_.empty()) form.elements_.clear();
  for (FormField& field : form.fields_) check(field);
  return form;
}

FieldForm FieldForm::forLevel(const LevelData& level, const LookCatalog& looks) {
  FieldForm form;
  form.title_ = "Level";
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
  fields_[index].mixed = false;
  fields_[index].text = text;
  check(fields_[index]);
  return fields_[index].error.empty();
}

int FieldForm::optionAt(const FormField& field) {
  int value = 0;
  if (!parseWhole(field.text, value)) return -1;
  for (std::size_t i = 0; i < field.options.size(); ++i) {
    if (field.options[i].value == value) return static_cast<int>(i);
  }
  return -1;
}

void FieldForm::cycle(int index, int step) {
  const FormField& field = fields_[index];
  const int count = static_cast<int>(field.options.size());
  if (count == 0) return;
  // From a mixed field the first step reaches the first or last meaning.
  const int at = field.mixed ? (step > 0 ? count - 1 : 0) : std::max(optionAt(field), 0);
  set(index, std::to_string(field.options[((at + step) % count + count) % count].value));
}

std::string FieldForm::shown(int index) const {
  const FormField& field = fields_[index];
  if (field.mixed) return "(differs)";
  const int at = optionAt(field);
  return at < 0 ? field.text : field.options[at].words;
}

std::string FieldForm::firstProblem() const {
  for (const FormField& field : fields_) {
    if (!field.error.empty()) return field.label + ": " + field.error;
  }
  return std::string();
}

bool FieldForm::valid() const {
  for (const FormField& field : fields_) {
    if (!field.error.empty()) return false;
  }
  return !fields_.empty();
}

bool FieldForm::applyTo(LevelData& level) const {
  if (!valid()) return false;
  if (elements_.empty() || elements_.front().kind == EditTool::Start) {
    writeFields(fields_, level);
    return true;
  }
  for (ElementRef element : elements_) {
    ElementKind kind;
    if (!recordKindOf(element.kind, kind)) continue;
    visitRecordList(level, kind, [&](auto& list, auto) {
      if (indexed(list, element.index)) writeFields(fields_, list[element.index]);
    });
  }
  return true;
}

namespace {

// Digits with an optional sign: a whole number, whether or not it fits.
bool wholeInForm(const std::string& text) {
  const std::size_t digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  return text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The range a field's number must lie in, for its message.
std::string rangeOf(const FormField& field) {
  if (field.highest >= field.lowest) {
    return "from " + std::to_string(field.lowest) + " to " + std::to_string(field.highest);
  }
  if (field.bounded) return levelBoundRange();
  return "from " + std::to_string(INT32_MIN) + " to " + std::to_string(INT32_MAX);
}

}  // namespace

void FieldForm::check(FormField& field) {
  field.error.clear();
  if (field.mixed) return;
  if (field.type == FieldType::Name) {
    if (field.text.empty()) field.error = "a name is needed";
    else if (hasSpace(field.text)) field.error = "a name has no spaces";
    else if (!field.choices.empty() && findName(field.choices, field.text) < 0) {
      // pwe-check's own hint for a name that differs only in letter case.
      field.error = "the tree has no look named " + field.text;
      const std::string variant = caseVariantOf(field.choices, field.text);
      if (!variant.empty()) field.error += "; did you mean '" + variant + "'?";
    }
    return;
  }
  if (field.type == FieldType::Real) {
    float value = 0.0f;
    if (!parseReal(field.text, value) || std::isnan(value)) {
      field.error = "not a number";
    } else if (field.bounded && !withinLevelBound(value)) {
      field.error = "out of range: " + rangeOf(field);
    }
    return;
  }
  int value = 0;
  if (!parseWhole(field.text, value)) {
    field.error = wholeInForm(field.text) ? "out of range: " + rangeOf(field) : "not a whole number";
  } else if (field.bounded && !withinLevelBound(value)) {
    field.error = "out of range: " + rangeOf(field);
  } else if (field.highest >= field.lowest && (value < field.lowest || value > field.highest)) {
    field.error = "from " + std::to_string(field.lowest) + " to " + std::to_string(field.highest);
  }
}
