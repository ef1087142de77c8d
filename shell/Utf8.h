#pragma once
// Text that Allegro's UTF-8 routines would misread: paths it reads past the
// end of, and characters it never finishes measuring.
#include <string>

// Well-formed UTF-8: sequences of at most four bytes, no stray continuation
// bytes. Allegro's file routines decode paths as UTF-8 and read past the end
// of a name that is not.
bool wellFormedUtf8(const std::string& text);

// Offset of the first byte that opens a character Allegro never finishes
// measuring (a lead byte 0xFD to 0xFF followed by a continuation byte), or -1.
long firstUnmeasurableCharacter(const std::string& text);
