#include "screen/screen_layout.h"

#include <gtest/gtest.h>

#include <vector>

TEST(LineOffset, SampleLines) {
    const struct {
        int Line;
        int Offset;
    } cases[] = {{0, 0},     {1, 256},   {2, 512},   {7, 1792},  {8, 32},    {9, 288},    {15, 1824},
                 {56, 224},  {63, 2016}, {64, 2048}, {65, 2304}, {127, 4064}, {128, 4096}, {191, 6112}};
    for (const auto& c : cases) EXPECT_EQ(LineOffset(c.Line), c.Offset) << "line " << c.Line;
}

TEST(LineOffset, LinesCoverTheBitmapExactlyOnce) {
    std::vector<int> uses(BitmapSize, 0);
    for (int y = 0; y < ScreenHeight; ++y) {
        for (int c = 0; c < 32; ++c) {
            const int offset = LineOffset(y) + c;
            ASSERT_GE(offset, 0) << "line " << y;
            ASSERT_LT(offset, BitmapSize) << "line " << y;
            ++uses[offset];
        }
    }
    for (int offset = 0; offset < BitmapSize; ++offset) EXPECT_EQ(uses[offset], 1) << "offset " << offset;
}

TEST(AttributeOffset, CellsOfNamedLinesAndColumns) {
    const struct {
        int Line;
        int Column;
        int Offset;
    } cases[] = {{0, 0, 6144}, {7, 31, 6175}, {8, 0, 6176}, {191, 31, 6911}};
    for (const auto& c : cases) EXPECT_EQ(AttributeOffset(c.Line, c.Column), c.Offset) << c.Line << ", " << c.Column;
}
