#pragma once
// A fresh main window with the eight controls at their numbers, geometry and
// start-up states, for tests of the files floor that read and set real
// controls without running the whole start-up.

// Starts the toolkit if needed, closes any earlier window and creates a new one.
void CreateTestWindow();
