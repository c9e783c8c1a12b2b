#pragma once
// Start-up: the writers, the window, its menu and controls, the settings, the
// palette and the first source buffer, in that order.

// Creates the window and everything in it; false when the window could not be
// created, in which case the caller goes straight to the shutdown.
bool StartUp();
