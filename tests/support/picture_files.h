#pragma once
// Pictures for the export tests: a picture with a distinct colour per cell,
// and picture files read back with readers independent of the writers
// (libpng's and libjpeg's read side, and a plain BMP reading).
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/picture_export.h"
#include "support/temp_dir.h"

struct Picture;

// Red, green, blue samples, top row first.
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Samples;
};

// Creates the off-screen picture and paints cells of cell x cell pixels, each
// in its own colour; the top-left cell is red 191, green 0, blue 0.
Picture* MakeTestPicture(int width, int height, int cell);
// What the picture shows, read through its rows.
RgbImage PictureImage(const Picture& picture);

std::string ReadFileBytes(const std::string& path);
std::optional<RgbImage> DecodeBmp(const std::string& bytes);
std::optional<RgbImage> DecodePng(const std::string& path);
std::optional<RgbImage> DecodeJpeg(const std::string& path);

// Empty when both images are the same size and every sample is within
// tolerance; otherwise where they first differ.
std::string ImageDifference(const RgbImage& expected, const RgbImage& actual, int tolerance = 0);

// Little- and big-endian fields of a file's bytes.
uint32_t Le16(const std::string& bytes, std::size_t at);
uint32_t Le32(const std::string& bytes, std::size_t at);
uint32_t Be16(const std::string& bytes, std::size_t at);
uint32_t Be32(const std::string& bytes, std::size_t at);

// A test picture of the parameter's width and height, written in one format
// into a fresh folder by SetUp.
class WrittenPictureTest : public ::testing::TestWithParam<std::pair<int, int>> {
protected:
    WrittenPictureTest(PictureFormat format, int cell) : format_(format), cell_(cell) {}
    void SetUp() override;

    TempDir dir_;
    std::string path_ = dir_ / "picture";
    Picture* picture_ = nullptr;

private:
    PictureFormat format_;
    int cell_;
};

// The two sizes of the export picture, zoom 1 and zoom 2, and their test names.
inline auto BothZooms() { return ::testing::Values(std::pair{256, 192}, std::pair{512, 384}); }
std::string SizeName(const ::testing::TestParamInfo<std::pair<int, int>>& info);
