#pragma once
// The colours the editor marks the map in, named once for every mark.
#include <allegro.h>

inline int errorColour() { return makecol(255, 50, 50); }
inline int warningColour() { return makecol(255, 190, 40); }
inline int unreachableColour() { return makecol(190, 90, 255); }
inline int pathColour() { return makecol(40, 230, 255); }  // the last play's
