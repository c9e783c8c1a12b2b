#pragma once
// Pixel surfaces for renderer tests in any of the drawing layer's layouts, with
// padded rows and a fill byte so that stray writes show.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/drawing.h"

struct TestPicture {
    int Width = 0;
    int Height = 0;
    int BytesPerPixel = 4;
    bool BottomUp = false;
    std::ptrdiff_t RowBytes = 0;
    std::vector<uint8_t> Memory;

    // The drawing layer's view of the memory; valid while Memory is not resized.
    Picture View() {
        Picture picture;
        picture.Memory = Memory.data();
        picture.MemoryBytes = Memory.size();
        picture.Width = Width;
        picture.Height = Height;
        picture.BytesPerPixel = BytesPerPixel;
        picture.RowStride = BottomUp ? -RowBytes : RowBytes;
        picture.Top = BottomUp ? Memory.data() + RowBytes * (Height - 1) : Memory.data();
        return picture;
    }

    // The colour at (x, y) as red + 256 x green + 65536 x blue.
    uint32_t ColourAt(int x, int y) const {
        const std::ptrdiff_t row = BottomUp ? Height - 1 - y : y;
        const uint8_t* p = Memory.data() + row * RowBytes + std::ptrdiff_t{x} * BytesPerPixel;
        return p[2] + 256u * p[1] + 65536u * p[0];
    }
};

// Rows are padded by a few bytes beyond the pixels, as picture files and toolkits do.
inline TestPicture MakeTestPicture(int width, int height, int bytesPerPixel, bool bottomUp, uint8_t fill = 0x5A) {
    TestPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.BytesPerPixel = bytesPerPixel;
    picture.BottomUp = bottomUp;
    picture.RowBytes = ((std::ptrdiff_t{width} * bytesPerPixel + 3) & ~std::ptrdiff_t{3}) + 4;
    picture.Memory.assign(static_cast<std::size_t>(picture.RowBytes * height), fill);
    return picture;
}

// "" when both pictures hold the same bytes, padding included; else the first differing pixel.
inline std::string FirstDifference(const TestPicture& expected, const TestPicture& actual) {
    if (expected.Memory.size() != actual.Memory.size()) return "pictures of different sizes";
    for (std::size_t i = 0; i < expected.Memory.size(); ++i) {
        if (expected.Memory[i] == actual.Memory[i]) continue;
        const auto rowInMemory = static_cast<std::ptrdiff_t>(i) / expected.RowBytes;
        const auto column = static_cast<std::ptrdiff_t>(i) % expected.RowBytes / expected.BytesPerPixel;
        const auto y = expected.BottomUp ? expected.Height - 1 - rowInMemory : rowInMemory;
        return "first difference at x " + std::to_string(column) + ", y " + std::to_string(y) + ": byte " +
               std::to_string(expected.Memory[i]) + " expected, " + std::to_string(actual.Memory[i]) + " found";
    }
    return "";
}
