#pragma once
// Save: the screen at the current offset as a .scr file beside the source.
#include <cstdint>
#include <string>

extern int32_t SaveCounter;      // saves since the last open
extern std::string SaveBaseName;  // the last save's name without extension

void SaveScreen();
