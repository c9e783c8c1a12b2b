#include "screen/palette.h"

#include "screen/screen_layout.h"

uint32_t InkTable[256];
uint32_t PaperTable[256];

namespace {
// Colour number k is 4 x green + 2 x red + blue; each component that is on takes level.
uint32_t ColourOf(int k, uint32_t level) {
    const uint32_t red = (k & 2) != 0 ? level : 0;
    const uint32_t green = (k & 4) != 0 ? level : 0;
    const uint32_t blue = (k & 1) != 0 ? level : 0;
    return red + 256 * green + 65536 * blue;
}
}  // namespace

void BuildPalette() {
    for (int a = 0; a < 256; ++a) {
        // Bit 6 (bright) raises 0xBF to 0xFF; bit 7 (flash) plays no part.
        const uint32_t level = static_cast<uint32_t>(a & 0x40) + NormalLevel;
        InkTable[a] = ColourOf(a & 7, level);
        PaperTable[a] = ColourOf((a >> 3) & 7, level);
    }
}
