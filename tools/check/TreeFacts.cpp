#include "tools/check/TreeFacts.h"

#include <cctype>

namespace {

bool equalIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

int findName(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string caseVariantOf(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& candidate : names) {
    if (equalIgnoringCase(candidate, name)) return candidate;
  }
  return std::string();
}

int NamedImages::find(const std::string& name) const { return findName(names, name); }

std::string NamedImages::caseVariant(const std::string& name) const {
  return caseVariantOf(names, name);
}
