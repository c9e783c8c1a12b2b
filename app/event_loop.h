#pragma once
// The event loop: one event per pass, paging by PageUp and PageDown, and the
// commands Open, Save, Quit and Drop.

constexpr int PageStep = 216;  // lines of 32 bytes in one screen

extern bool QuitRequested;

// One pass: wait, page, dispatch.
void RunLoopPass();
// Passes until Quit or a close request.
void RunEventLoop();
// Writes the settings, frees the source, closes the window.
void Shutdown();
