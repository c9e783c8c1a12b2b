// The JPEG writer: the markers libjpeg leaves for our settings, and the
// picture read back by libjpeg's own decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>

#include "files/picture_export.h"
#include "platform/drawing.h"
#include "support/picture_files.h"
#include "support/temp_dir.h"

namespace {
struct Segment {
    uint8_t Marker;
    std::string Data;  // after the length field
};

// The marker segments up to the first scan, then the markers that follow the
// entropy-coded data (RSTn, EOI); empty when the file is malformed.
std::vector<Segment> ReadSegments(const std::string& bytes) {
    std::vector<Segment> segments;
    if (Be16(bytes, 0) != 0xFFD8) return {};
    segments.push_back({0xD8, {}});
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (uint8_t(bytes[at]) != 0xFF) return {};
        const uint8_t marker = uint8_t(bytes[at + 1]);
        const std::size_t length = Be16(bytes, at + 2);
        if (at + 2 + length > bytes.size()) return {};
        segments.push_back({marker, bytes.substr(at + 4, length - 2)});
        at += 2 + length;
        if (marker != 0xDA) continue;
        // Entropy-coded data: 0xFF is followed by 0 (stuffing) or a marker.
        for (; at + 1 < bytes.size(); ++at) {
            const uint8_t next = uint8_t(bytes[at + 1]);
            if (uint8_t(bytes[at]) == 0xFF && next != 0x00 && next != 0xFF) {
                segments.push_back({next, {}});
                if (next == 0xD9) return at + 2 == bytes.size() ? segments : std::vector<Segment>{};
            }
        }
        return {};
    }
    return {};
}

// The quantisation tables of ITU-T T.81 Annex K (natural order; only the
// entries as a set are compared, so the order does not matter here).
constexpr std::array<int, 64> LuminanceBase = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55,  64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> ChrominanceBase = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Quality 70 scales the tables to 60 %, to the nearest integer.
std::vector<int> ScaledSorted(const std::array<int, 64>& base) {
    std::vector<int> out;
    for (int entry : base) out.push_back(std::clamp((entry * 60 + 50) / 100, 1, 255));
    std::sort(out.begin(), out.end());
    return out;
}

// Flat 16 x 16 cells fill whole MCUs, so only the colour of each cell is
// quantised and a small error bound holds.
class JpegWriterTest : public WrittenPictureTest {
protected:
    JpegWriterTest() : WrittenPictureTest(PictureFormat::Jpeg, 16) {}
};

TEST_P(JpegWriterTest, MarkersAsLibjpegDefaultsMakeThem) {
    const std::vector<Segment> segments = ReadSegments(ReadFileBytes(path_));
    ASSERT_GE(segments.size(), 3u);
    std::vector<uint8_t> order;
    for (const Segment& segment : segments) order.push_back(segment.Marker);
    // SOI, JFIF first; no Adobe, comment or restart markers; one scan; EOI.
    EXPECT_EQ(order[0], 0xD8);
    EXPECT_EQ(order[1], 0xE0);
    EXPECT_EQ(order.back(), 0xD9);
    for (int marker : {0xEE, 0xFE, 0xDD, 0xD0, 0xD7}) {
        EXPECT_EQ(std::count(order.begin(), order.end(), marker), 0) << "marker " << std::hex << marker;
    }
    EXPECT_EQ(std::count(order.begin(), order.end(), 0xDA), 1);
    EXPECT_EQ(std::count(order.begin(), order.end(), 0xC0), 1) << "one baseline frame";

    std::vector<std::vector<int>> quantisation;
    std::map<int, std::vector<int>> huffmanCounts;  // by class << 4 | id
    for (const Segment& segment : segments) {
        const std::string& d = segment.Data;
        if (segment.Marker == 0xE0) {
            ASSERT_GE(d.size(), 14u);
            EXPECT_EQ(d.substr(0, 5), std::string("JFIF\0", 5));
            EXPECT_EQ(uint8_t(d[5]), 1) << "JFIF major version";
            EXPECT_EQ(uint8_t(d[6]), 1) << "JFIF minor version";
            EXPECT_EQ(uint8_t(d[7]), 0) << "density unit";
            EXPECT_EQ(Be16(d, 8), 1u) << "horizontal density";
            EXPECT_EQ(Be16(d, 10), 1u) << "vertical density";
            EXPECT_EQ(uint8_t(d[12]) * uint8_t(d[13]), 0) << "no thumbnail";
        } else if (segment.Marker == 0xC0) {
            ASSERT_EQ(d.size(), 15u);
            EXPECT_EQ(uint8_t(d[0]), 8) << "sample precision";
            EXPECT_EQ(Be16(d, 1), static_cast<uint32_t>(picture_->Height));
            EXPECT_EQ(Be16(d, 3), static_cast<uint32_t>(picture_->Width));
            EXPECT_EQ(uint8_t(d[5]), 3) << "components";
            // Component id, sampling (horizontal << 4 | vertical), table.
            const std::string components = d.substr(6);
            EXPECT_EQ(components, std::string("\x01\x22\x00\x02\x11\x01\x03\x11\x01", 9)) << "Y 2x2, Cb 1x1, Cr 1x1";
        } else if (segment.Marker == 0xDB) {
            // One or more 8-bit tables: precision/id byte, then 64 entries.
            for (std::size_t at = 0; at + 65 <= d.size(); at += 65) {
                EXPECT_EQ(uint8_t(d[at]) >> 4, 0) << "8-bit entries";
                quantisation.emplace_back(d.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                          d.begin() + static_cast<std::ptrdiff_t>(at + 65));
            }
        } else if (segment.Marker == 0xC4) {
            for (std::size_t at = 0; at + 17 <= d.size();) {
                std::vector<int> counts(d.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                        d.begin() + static_cast<std::ptrdiff_t>(at + 17));
                int symbols = 0;
                for (int count : counts) symbols += count;
                huffmanCounts[uint8_t(d[at])] = counts;
                at += 17 + static_cast<std::size_t>(symbols);
            }
        }
    }

    ASSERT_EQ(quantisation.size(), 2u);
    const struct {
        const char* Name;
        const std::array<int, 64>& Base;
        int Largest;
    } tables[] = {{"luminance", LuminanceBase, 73}, {"chrominance", ChrominanceBase, 59}};
    for (std::size_t t = 0; t < 2; ++t) {
        std::vector<int> entries = quantisation[t];
        EXPECT_EQ(entries[0], 10) << tables[t].Name << " first entry";
        EXPECT_EQ(*std::max_element(entries.begin(), entries.end()), tables[t].Largest) << tables[t].Name;
        std::sort(entries.begin(), entries.end());
        EXPECT_EQ(entries, ScaledSorted(tables[t].Base)) << tables[t].Name;
    }

    // The code-length counts of the Annex K tables: not optimised.
    const std::map<int, std::vector<int>> standard = {
        {0x00, {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
        {0x01, {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}},
        {0x10, {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D}},
        {0x11, {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77}},
    };
    EXPECT_EQ(huffmanCounts, standard);
}

TEST_P(JpegWriterTest, LibjpegReadsBackThePicture) {
    const auto image = DecodeJpeg(path_);
    ASSERT_TRUE(image.has_value());
    const RgbImage expected = PictureImage(*picture_);
    EXPECT_EQ(ImageDifference(expected, *image, 4), "");
    // The top-left cell, red 191, lands at the start of the first row.
    EXPECT_NEAR(image->Samples[0], 191, 4);
    EXPECT_NEAR(image->Samples[1], 0, 4);
    EXPECT_NEAR(image->Samples[2], 0, 4);
}

INSTANTIATE_TEST_SUITE_P(BothZooms, JpegWriterTest, BothZooms(), SizeName);
}  // namespace
