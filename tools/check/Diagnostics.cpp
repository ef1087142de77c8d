#include "tools/check/Diagnostics.h"

void Diagnostics::report(const std::string& file, Position position,
                         const std::string& message) {
  list_.push_back(Diagnostic{file, position, message, false});
}

void Diagnostics::warn(const std::string& file, Position position, const std::string& message) {
  list_.push_back(Diagnostic{file, position, message, true});
}

int Diagnostics::errorCount() const {
  int count = 0;
  for (const Diagnostic& d : list_) count += d.warning ? 0 : 1;
  return count;
}

void Diagnostics::print(std::FILE* out) const {
  for (const Diagnostic& d : list_) {
    std::fprintf(out, "%s:%d:%d: %s%s\n", d.file.c_str(), d.position.line, d.position.column,
                 d.warning ? "warning: " : "", d.message.c_str());
  }
}
