// The PNG writer: the chunks and rows it leaves in the file, and the picture
// read back by libpng's own reader.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "files/picture_export.h"
#include "platform/drawing.h"
#include "support/picture_files.h"
#include "support/temp_dir.h"

namespace {
struct Chunk {
    std::string Type;
    std::string Data;
};

// The chunks after the signature, or an empty list when the file is cut short.
std::vector<Chunk> ReadChunks(const std::string& bytes) {
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = Be32(bytes, at);
        if (at + 12 + length > bytes.size()) return {};
        chunks.push_back({bytes.substr(at + 4, 4), bytes.substr(at + 8, length)});
        at += 12 + length;
    }
    return at == bytes.size() ? chunks : std::vector<Chunk>{};
}

std::string Inflate(const std::string& compressed, std::size_t expectedBytes) {
    std::string out(expectedBytes + 1, '\0');  // one spare byte shows an overlong stream
    uLongf outBytes = static_cast<uLongf>(out.size());
    const int result = uncompress(reinterpret_cast<Bytef*>(out.data()), &outBytes,
                                  reinterpret_cast<const Bytef*>(compressed.data()), static_cast<uLong>(compressed.size()));
    if (result != Z_OK) return {};
    out.resize(outBytes);
    return out;
}

class PngWriterTest : public WrittenPictureTest {
protected:
    PngWriterTest() : WrittenPictureTest(PictureFormat::Png, 1) {}
};

TEST_P(PngWriterTest, ChunksHeaderAndRowsAsLaidDown) {
    const std::string bytes = ReadFileBytes(path_);
    ASSERT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const std::vector<Chunk> chunks = ReadChunks(bytes);
    ASSERT_GE(chunks.size(), 3u);

    // IHDR, one or more IDAT, IEND, and nothing else.
    EXPECT_EQ(chunks.front().Type, "IHDR");
    EXPECT_EQ(chunks.back().Type, "IEND");
    std::string compressed;
    for (std::size_t i = 1; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].Type, "IDAT") << "chunk " << i;
        compressed += chunks[i].Data;
    }

    const std::string& ihdr = chunks.front().Data;
    ASSERT_EQ(ihdr.size(), 13u);
    const struct {
        const char* Name;
        uint32_t Value;
        uint32_t Expected;
    } fields[] = {
        {"width", Be32(ihdr, 0), static_cast<uint32_t>(picture_->Width)},
        {"height", Be32(ihdr, 4), static_cast<uint32_t>(picture_->Height)},
        {"bit depth", uint8_t(ihdr[8]), 8},
        {"colour type (RGB)", uint8_t(ihdr[9]), 2},
        {"compression method", uint8_t(ihdr[10]), 0},
        {"filter method", uint8_t(ihdr[11]), 0},
        {"interlace method", uint8_t(ihdr[12]), 0},
    };
    for (const auto& field : fields) EXPECT_EQ(field.Value, field.Expected) << field.Name;

    // zlib with a 32 KB window at the highest level.
    ASSERT_GE(compressed.size(), 2u);
    EXPECT_EQ(uint8_t(compressed[0]), 0x78);
    EXPECT_EQ(uint8_t(compressed[1]), 0xDA);

    // Every row: filter byte 0, then the top row first, red, green, blue.
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(picture_->Width) * 3;
    const std::string rows = Inflate(compressed, rowBytes * picture_->Height);
    ASSERT_EQ(rows.size(), rowBytes * picture_->Height);
    const RgbImage expected = PictureImage(*picture_);
    for (int y = 0; y < picture_->Height; ++y) {
        const char* row = rows.data() + rowBytes * y;
        ASSERT_EQ(row[0], 0) << "filter byte of row " << y;
        ASSERT_EQ(std::memcmp(row + 1, expected.Samples.data() + (rowBytes - 1) * y, rowBytes - 1), 0) << "row " << y;
    }
    // The top-left pixel, red 191, opens the first row as red, green, blue.
    EXPECT_EQ(rows.substr(1, 3), std::string("\xBF\x00\x00", 3));
}

TEST_P(PngWriterTest, LibpngReadsBackThePicture) {
    const auto image = DecodePng(path_);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(ImageDifference(PictureImage(*picture_), *image), "");
}

TEST_P(PngWriterTest, PictureMemoryIsLeftAsItWas) {
    // libpng must swap blue and red on its own copy of each row.
    const RgbImage afterWriting = PictureImage(*picture_);
    const Picture* fresh = MakeTestPicture(picture_->Width, picture_->Height, 1);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(ImageDifference(PictureImage(*fresh), afterWriting), "");
}

INSTANTIATE_TEST_SUITE_P(BothZooms, PngWriterTest, BothZooms(), SizeName);
}  // namespace
