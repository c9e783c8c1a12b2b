#pragma once
// Ink and paper colours for every attribute byte (red in the low byte).
#include <cstdint>

extern uint32_t InkTable[256];
extern uint32_t PaperTable[256];

// Fills both tables; run once at start-up before anything draws.
void BuildPalette();
