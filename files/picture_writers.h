#pragma once
// The three picture writers behind SavePicture. Each writes the whole picture
// into a file that SavePicture has created and will close; false when anything
// went wrong, and SavePicture then deletes the partial file. The picture is in
// the off-screen layout: 24-bit blue-green-red, bottom row first, rows of
// BmpRowBytes(width).
#include <cstdint>

struct FileHandle;
struct Picture;

// 3 x width raised to the next multiple of 4.
int64_t BmpRowBytes(int width);

bool WriteBmp(FileHandle* file, const Picture& picture);
bool WritePng(FileHandle* file, const Picture& picture);
bool WriteJpeg(FileHandle* file, const Picture& picture);
