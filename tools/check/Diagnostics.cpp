#include "tools/check/Diagnostics.h"

#include <cstdint>

namespace {

// Characters a terminal shows as nothing, or that reorder what follows so
// that a line reads other than it is: zero-width spaces and marks, the
// bidirectional embeddings, overrides and isolates, and the byte-order mark.
bool invisible(std::uint32_t code) {
  return (code >= 0x200B && code <= 0x200F) || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069) || code == 0xFEFF;
}

// The length of the well-formed UTF-8 character at bytes[i] that a terminal
// shows as itself, or 0: no overlong forms, no surrogates, nothing past
// U+10FFFF, no control characters (C0, DEL, C1), nothing invisible.
size_t shownCharacterLength(const std::string& bytes, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return lead >= 0x20 && lead != 0x7F ? 1 : 0;
  // Each form: its lead bytes, its length, the bits its lead holds and the
  // least code it may carry (U+0080..U+009F are the C1 controls).
  struct Form {
    unsigned char first, last;
    size_t length;
    unsigned char bits;
    std::uint32_t least;
  };
  static const Form forms[] = {
      {0xC2, 0xDF, 2, 0x1F, 0xA0}, {0xE0, 0xEF, 3, 0x0F, 0x800}, {0xF0, 0xF4, 4, 0x07, 0x10000}};
  const Form* form = nullptr;
  for (const Form& f : forms) {
    if (lead >= f.first && lead <= f.last) form = &f;
  }
  if (form == nullptr) return 0;
  const size_t length = form->length;
  std::uint32_t code = lead & form->bits;
  const std::uint32_t least = form->least;
  if (i + length > bytes.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(k) & 0x3Fu);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code >= least && code <= 0x10FFFF && !surrogate && !invisible(code) ? length : 0;
}

}  // namespace

std::string shownSafely(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t length = shownCharacterLength(bytes, i);
    if (length > 0) {
      shown.append(bytes, i, length);
      i += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(bytes[i++]);
    shown += "\\x";
    shown += digits[byte >> 4];
    shown += digits[byte & 0x0F];
  }
  return shown;
}

void Diagnostics::report(const std::string& file, Position position,
                         const std::string& message) {
  list_.push_back(Diagnostic{shownSafely(file), position, shownSafely(message), false});
}

void Diagnostics::warn(const std::string& file, Position position, const std::string& message) {
  list_.push_back(Diagnostic{shownSafely(file), position, shownSafely(message), true});
}

void Diagnostics::note(const std::string& file, Position position, const std::string& message) {
  list_.push_back(Diagnostic{shownSafely(file), position, shownSafely(message), false, true});
}

int Diagnostics::errorCount() const {
  int count = 0;
  for (const Diagnostic& d : list_) count += d.warning || d.note ? 0 : 1;
  return count;
}

int Diagnostics::warningCount() const {
  int count = 0;
  for (const Diagnostic& d : list_) count += d.warning ? 1 : 0;
  return count;
}

void Diagnostics::print(std::FILE* out) const {
  for (const Diagnostic& d : list_) {
    std::fprintf(out, "%s:%d:%d: %s%s\n", d.file.c_str(), d.position.line, d.position.column,
                 d.warning ? "warning: " : d.note ? "note: " : "", d.message.c_str());
  }
}
