#pragma once
// ZX Spectrum display memory: the layout of one screen, which is also the
// .scr file format, and the colours of its attribute bytes.
#include <cstdint>

constexpr int ScreenSize = 6912;
constexpr int BitmapSize = 6144;
constexpr int AttributeSize = 768;
constexpr int ScreenWidth = 256;
constexpr int ScreenHeight = 192;
constexpr uint8_t NormalLevel = 0xBF;
constexpr uint8_t BrightLevel = 0xFF;
constexpr uint8_t MonoAttribute = 7;
constexpr uint8_t MissingAttribute = 0x48;

// Offset within a screen of the first byte of pixel line y (0..191).
constexpr int LineOffset(int y) { return 2048 * (y / 64) + 256 * (y % 8) + 32 * ((y / 8) % 8); }
// Offset within a screen of the attribute of pixel line y, byte column c.
constexpr int AttributeOffset(int y, int c) { return BitmapSize + 32 * (y / 8) + c; }
