#include "tools/check/Diagnostics.h"

void Diagnostics::report(const std::string& file, Position position,
                         const std::string& message) {
  list_.push_back(Diagnostic{file, position, message});
}

void Diagnostics::print(std::FILE* out) const {
  for (const Diagnostic& d : list_) {
    std::fprintf(out, "%s:%d:%d: %s\n", d.file.c_str(), d.position.line, d.position.column,
                 d.message.c_str());
  }
}
