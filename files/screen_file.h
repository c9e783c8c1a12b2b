#pragma once
// Save: the screen at the current offset as a .scr file beside the source.
#include <cstdint>
#include <string>

extern int32_t SaveCounter;      // saves since the last open
extern std::string SaveBaseName;  // the last save's name without extension

void SaveScreen();
// The name of a save without extension: the source's folder, its file name less
// the extension (a trailing dot alone goes too), and the counter from 1 on.
std::string SaveNameFor(const std::string& sourcePath, int32_t counter);
