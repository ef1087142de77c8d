#pragma once
// Reports a key once, when it is released. One table for the whole program,
// one entry per Allegro scan code; codes outside it are never reported.

bool keyReleased(int code);
void resetKeyReleases();  // forget every press (tests, new runs)
