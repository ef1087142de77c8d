#pragma once
// The names a key goes by in pwe.cfg: Allegro's scan-code constants without
// their KEY_ prefix (LEFT, SPACE, A, SLASH_PAD), with KP_0 to KP_9 for the
// keypad's digits (KEY_0_PAD to KEY_9_PAD), whose own spelling starts like a
// number. Names are read without regard to
// letter case. A value that starts like a number is a number, as it always
// was: the digit keys go by their scan codes.
#include <string>

// The scan code a name stands for, or -1 when no key has that name.
int keyCodeNamed(const std::string& name);

// The name printed for a scan code (its constant's spelling), or null for a
// code no key has.
const char* keyNameOf(int code);

// The key name closest to an unknown one, within two letters' changes, or
// empty when none is that close.
std::string nearestKeyName(const std::string& name);
