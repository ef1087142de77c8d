#include "shell/Utf8.h"

#include <cstddef>

namespace {

// Bytes in the UTF-8 sequence that lead starts, or 0 for a byte that
// cannot start one.
size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

}  // namespace

bool wellFormedUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// No UTF-8 text holds such a character, and Latin-1 text only by a freak
// pairing.
long firstUnmeasurableCharacter(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (lead >= 0xFD && (next & 0xC0) == 0x80) return static_cast<long>(i);
  }
  return -1;
}
