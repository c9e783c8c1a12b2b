#pragma once
// The picture of the view that Save writes beside the .scr file.
#include <string>

struct Picture;

enum class PictureFormat { Bmp, Png, Jpeg };

constexpr int JpegQuality = 70;
constexpr int PngCompressionLevel = 9;

// Made once at start-up, before the window opens.
void PrepareImageWriters();
// Paints the view into the off-screen picture and writes it as
// baseName + ".bmp", ".png" or ".jpg" by the format list. Reports nothing.
void ExportImage(const std::string& baseName);
// Writes the whole picture; false (and no file left behind) on any failure.
bool SavePicture(const Picture* picture, const std::string& fileName, PictureFormat format);
