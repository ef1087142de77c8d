#pragma once
// Which digit reaches which pad: the editor writes every teleporter's
// number on its pad, in light figures on a dark plate, so it reads over
// any look.
#include <allegro.h>

#include "tools/edit/EditElement.h"

class LevelEditor;

// Where teleporter `index`'s number is drawn: a plate centred on the pad
// as the engine placed it (at the record's corner when it could not).
Rect teleporterNumberPlate(const LevelEditor& editor, int index);

void drawTeleporterNumbers(BITMAP* target, const LevelEditor& editor);
