#pragma once
// Loading the source file whole, and the 128K snapshot rule.
#include <cstdint>
#include <string>

constexpr int64_t SnapshotSize = 131103;
constexpr int32_t SnapshotOffset = 27;
constexpr int32_t LineLength = 32;

extern std::string CurrentFileName;  // "" when no file is known

// Makes path the current file, loads it, restarts the save numbering, applies
// the snapshot rule and redraws. Reports its own failures.
void OpenSource(const std::string& path);
void LoadSource(const std::string& path);
void FreeSource();
