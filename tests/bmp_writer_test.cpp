// The program's own BMP writer: header fields, pixel data straight from the
// picture's memory, and the picture read back.
#include <gtest/gtest.h>

#include <cstring>

#include "files/picture_export.h"
#include "platform/drawing.h"
#include "support/picture_files.h"

namespace {
class BmpWriterTest : public WrittenPictureTest {
protected:
    BmpWriterTest() : WrittenPictureTest(PictureFormat::Bmp, 1) {}
};

TEST_P(BmpWriterTest, HeaderFieldsAsLaidDown) {
    const std::string bytes = ReadFileBytes(path_);
    // 147510 bytes at zoom 1, 589878 at zoom 2.
    const uint32_t expectedBytes = picture_->Width == 256 ? 147510 : 589878;
    ASSERT_EQ(bytes.size(), expectedBytes);

    const uint32_t pixelBytes = expectedBytes - 54;
    struct Field {
        const char* Name;
        std::size_t Offset;
        int Bytes;
        uint32_t Value;
    };
    const Field fields[] = {
        {"signature", 0, 2, 0x4D42},  // "BM"
        {"file size", 2, 4, expectedBytes},
        {"reserved", 6, 2, 0},
        {"reserved", 8, 2, 0},
        {"pixel data offset", 10, 4, 54},
        {"information header size", 14, 4, 40},
        {"width", 18, 4, static_cast<uint32_t>(picture_->Width)},
        {"height (positive: bottom row first)", 22, 4, static_cast<uint32_t>(picture_->Height)},
        {"colour planes", 26, 2, 1},
        {"bits per pixel", 28, 2, 24},
        {"compression", 30, 4, 0},
        {"pixel data size", 34, 4, pixelBytes},
        {"horizontal resolution", 38, 4, 0},
        {"vertical resolution", 42, 4, 0},
        {"colours used", 46, 4, 0},
        {"important colours", 50, 4, 0},
    };
    for (const Field& field : fields) {
        const uint32_t value = field.Bytes == 2 ? Le16(bytes, field.Offset) : Le32(bytes, field.Offset);
        EXPECT_EQ(value, field.Value) << field.Name << " at offset " << field.Offset;
    }
    // No colour table: the pixel data is the picture's memory as it lies.
    ASSERT_EQ(picture_->MemoryBytes, pixelBytes);
    EXPECT_EQ(std::memcmp(bytes.data() + 54, picture_->Memory, pixelBytes), 0);
}

TEST_P(BmpWriterTest, ReadsBackAsThePicture) {
    const std::string bytes = ReadFileBytes(path_);
    const auto image = DecodeBmp(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(ImageDifference(PictureImage(*picture_), *image), "");
    // The top-left pixel, red 191, opens the last row of the pixel data as
    // blue, green, red.
    const std::size_t lastRow = 54 + static_cast<std::size_t>(picture_->Width) * 3 * (picture_->Height - 1);
    EXPECT_EQ(bytes.substr(lastRow, 3), std::string("\x00\x00\xBF", 3));
}

INSTANTIATE_TEST_SUITE_P(BothZooms, BmpWriterTest, BothZooms(), SizeName);
}  // namespace
