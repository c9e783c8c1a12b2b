#include <gtest/gtest.h>

#include "screen/renderer.h"

TEST(OffsetTitle, UpperCaseHexadecimalWithoutPrefixOrLeadingZeros) {
    const struct {
        int64_t Offset;
        const char* Title;
    } cases[] = {
        {0, "Quillon, disp:0"},        {27, "Quillon, disp:1B"},       {31, "Quillon, disp:1F"},
        {32, "Quillon, disp:20"},      {6912, "Quillon, disp:1B00"},   {0x7FFFFFFF, "Quillon, disp:7FFFFFFF"},
        {(int64_t{1} << 31) + 3 * 6912 + 31, "Quillon, disp:8000511F"},
    };
    for (const auto& c : cases) EXPECT_EQ(OffsetTitle(c.Offset), c.Title) << c.Offset;
}
