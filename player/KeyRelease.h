#pragma once
// Reports a key once, when it is released. One table for the whole program,
// one entry per Allegro scan code; codes outside it are never reported.

// held: the key is down in this tick's input record.
bool keyReleased(int code, bool held);
void resetKeyReleases();  // forget every press (tests, new runs)
// Whether a press of the key has been seen and its release is awaited, and
// setting that: a search that takes a game back to an earlier tick takes the
// table back with it. Codes outside the table are never pending.
bool keyReleasePending(int code);
void setKeyReleasePending(int code, bool pending);
