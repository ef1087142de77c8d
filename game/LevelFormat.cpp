#include "game/LevelFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "game/LevelFields.h"

std::string levelReal(float value) {
  char text[32];
  // Whole numbers as authors write them: "1000000", not "1e+06".
  if (std::nearbyint(value) == value && std::fabs(value) <= 1e9f) {
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
    return text;
  }
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(text, nullptr) == value) break;
  }
  return text;
}

namespace {

template <typename Record>
std::string valueOf(const LevelField<Record>& entry, const Record& record) {
  if (entry.whole != nullptr) return std::to_string(record.*entry.whole);
  if (entry.real != nullptr) return levelReal(record.*entry.real);
  return record.*entry.text;
}

template <typename Record>
void writeFields(std::string& out, const Record& record) {
  const char* separator = "";
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if (entry.beginsLine()) separator = "\n";
    out += separator + valueOf(entry, record);
    separator = " ";
  }
  out += "\n";
}

}  // namespace

std::string writeLevel(const LevelData& level) {
  std::string out;
  writeFields(out, level);
  // The lists are what is written: a count the loader would size its list
  // to is the list's own length.
  forEachRecordList(level, [&](const auto& list, const int&, auto) {
    out += "\n" + std::to_string(list.size()) + "\n";
    for (const auto& record : list) writeFields(out, record);
  });
  return out;
}
