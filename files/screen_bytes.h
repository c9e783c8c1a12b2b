#pragma once
// The 6912 bytes of a .scr file, and writing them out.
#include <array>
#include <cstdint>
#include <string>

#include "screen/screen_layout.h"

using ScreenBytes = std::array<uint8_t, ScreenSize>;

// The screen at offset in source[0 .. sourceSize - 1]. Positions outside the
// data take the view's substitutes (0 for bitmap bytes, MissingAttribute for
// attribute bytes); mono makes every attribute MonoAttribute.
ScreenBytes MakeScreenBytes(const uint8_t* source, int64_t sourceSize, int64_t offset, bool mono);

enum class ScreenWrite { Written, NotCreated, WriteFailed };

// Creates or replaces path with the bytes. A write that fails after the file
// was created deletes it again, so no short .scr file is left behind.
ScreenWrite WriteScreenBytes(const std::string& path, const ScreenBytes& bytes);
