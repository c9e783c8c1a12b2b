#pragma once
// What a Save must leave on disk, worked out from the loaded bytes alone: a
// whole screen file, and a whole picture of the view.
#include <cstdint>
#include <string>

#include "files/picture_export.h"
#include "support/picture_files.h"

// The 6912 bytes of a screen at offset: bytes beyond the data take 0 in the
// bitmap and 0x48 in the attributes; monochrome attributes are all 7.
std::string ExpectedScreenBytes(const std::string& loaded, int64_t offset, bool mono);
// "" when the file holds exactly expected; otherwise what is wrong with it.
std::string ScreenFileProblem(const std::string& path, const std::string& expected);
// "" when the file holds a whole picture of the format at the zoom's size
// (256 x 192 or 512 x 384), equal to expected (BMP and PNG exactly; a JPEG
// only needs to decode whole at the right size).
std::string PictureFileProblem(const std::string& path, PictureFormat format, int zoom, const RgbImage& expected);
// The extension a picture of the format is saved under, with its dot.
const char* PictureExtension(PictureFormat format);
