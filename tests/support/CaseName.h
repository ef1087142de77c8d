#pragma once
// Names the cases of a table-driven test after their rows' names, so that a
// failing case reads "ladder_top_in_the_air" rather than a number.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

// Row: any type with a "const char* name"; letters and digits are kept,
// spaces become underscores, the rest is dropped.
template <typename Row>
std::string caseName(const testing::TestParamInfo<Row>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0'; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    else if (*c == ' ') name += '_';
  }
  return name;
}
