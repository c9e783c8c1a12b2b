#include "screen/palette.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red + 256 * green + 65536 * blue; }
}  // namespace

TEST(BuildPalette, NamedAttributes) {
    BuildPalette();
    const struct {
        int Attribute;
        uint32_t Ink;
        uint32_t Paper;
    } cases[] = {
        {0x47, Rgb(255, 255, 255), 0},            // bright white on black
        {0x07, Rgb(191, 191, 191), 0},            // the monochrome attribute
        {0x48, 0, Rgb(0, 0, 255)},                // the attribute of absent bytes
        {0x40, 0, 0},                             // black stays black when bright
        {0x00, 0, 0},
        {0x16, Rgb(191, 191, 0), Rgb(191, 0, 0)}, // yellow on red
        {0x6B, Rgb(255, 0, 255), Rgb(0, 255, 255)}, // bright magenta on cyan
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InkTable[c.Attribute], c.Ink) << "attribute " << c.Attribute;
        EXPECT_EQ(PaperTable[c.Attribute], c.Paper) << "attribute " << c.Attribute;
    }
    EXPECT_EQ(PaperTable[0x48], 0x00FF0000u);
}

TEST(BuildPalette, FlashBitChangesNothing) {
    BuildPalette();
    for (int a = 0; a < 128; ++a) {
        EXPECT_EQ(InkTable[a], InkTable[a + 128]) << "attribute " << a;
        EXPECT_EQ(PaperTable[a], PaperTable[a + 128]) << "attribute " << a;
    }
}
