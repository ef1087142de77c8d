#pragma once
// Reports a key once, when it is released. One table for the whole program,
// one entry per Allegro scan code; codes outside it are never reported.

// One scan code's entry. A search that takes a game back takes the table
// back too (authoring/TickLedger.cpp lists what it keeps of an entry).
struct KeyReleaseEntry {
  bool pending = false;  // seen held: its release is awaited
};

// held: the key is down in this tick's input record.
bool keyReleased(int code, bool held);
void resetKeyReleases();  // forget every press (tests, new runs)
// Whether a press of the key has been seen and its release is awaited, and
// setting that: a search that takes a game back to an earlier tick takes the
// table back with it. Codes outside the table are never pending.
bool keyReleasePending(int code);
void setKeyReleasePending(int code, bool pending);
