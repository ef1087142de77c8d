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

// The name less its trailing digits: "pad" for "pad3" and for "pad".
std::string plainPart(const std::string& name) {
  return name.substr(0, name.find_last_not_of("0123456789") + 1);
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

int NamedImages::shownNumber(const std::string& name) const {
  const std::string plain = plainPart(name);
  const std::string digits = name.substr(plain.size());
  // Nine digits at most, so the number fits an int; a leading 0 is no number shown.
  if (plain.empty() || digits.empty() || digits.size() > 9 || digits[0] == '0') return -1;
  return find(plain) >= 0 ? std::stoi(digits) : -1;
}

std::string NamedImages::lookShowing(const std::string& name, int number) const {
  const std::string look = plainPart(name) + std::to_string(number);
  return shownNumber(look) == number && find(look) >= 0 ? look : std::string();
}
