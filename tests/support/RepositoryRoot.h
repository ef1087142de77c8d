#pragma once
// Test support: the shipped levels' tests run in the repository root.

// Makes the repository root (PWE_SOURCE_DIR) the working directory, with
// Allegro headless and the shipped pwe.cfg selected. False, with the
// failure added to the running test, when it cannot.
bool enterRepositoryRoot();
