// The window title with the view offset; apart from the rest of the renderer so
// that it can be used and tested without a window.
#include "screen/renderer.h"

std::string OffsetTitle(int64_t offset) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    // Offsets come from two non-negative scroll positions; a negative one would be a fault upstream.
    auto value = static_cast<uint64_t>(offset);
    std::string hex;
    do {
        hex.insert(hex.begin(), Digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return "Quillon, disp:" + hex;
}
