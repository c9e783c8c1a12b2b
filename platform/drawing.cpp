#include "platform/drawing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
Picture* Canvas = nullptr;
void (*ShowCanvas)() = nullptr;
Picture Offscreen;
Picture* OpenTarget = nullptr;
}  // namespace

Picture* CanvasPicture() { return Canvas; }

void RegisterCanvasPicture(Picture* picture, void (*showOnScreen)()) {
    if (OpenTarget == Canvas) OpenTarget = nullptr;
    Canvas = picture;
    ShowCanvas = showOnScreen;
}

Picture* CreateOffscreenPicture(int width, int height) {
    ReleaseOffscreenPicture();
    if (width <= 0 || height <= 0) return nullptr;
    // Rows of 3 bytes per pixel, raised to a multiple of 4 as picture files lay them.
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
    auto* memory = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (memory == nullptr) return nullptr;
    Offscreen.Memory = memory;
    Offscreen.MemoryBytes = bytes;
    Offscreen.Width = width;
    Offscreen.Height = height;
    Offscreen.BytesPerPixel = 3;
    // Bottom row first: the top row is the last in memory.
    Offscreen.RowStride = -static_cast<std::ptrdiff_t>(rowBytes);
    Offscreen.Top = memory + rowBytes * static_cast<std::size_t>(height - 1);
    return &Offscreen;
}

Picture* OffscreenPicture() { return Offscreen.Memory != nullptr ? &Offscreen : nullptr; }

void ReleaseOffscreenPicture() {
    if (OpenTarget == &Offscreen) OpenTarget = nullptr;
    std::free(Offscreen.Memory);
    Offscreen = Picture{};
}

bool BeginDrawing(Picture* target) {
    OpenTarget = (target != nullptr && target->Top != nullptr) ? target : nullptr;
    return OpenTarget != nullptr;
}

Picture* OpenDrawTarget() { return OpenTarget; }

void FillBox(int x, int y, int width, int height, uint32_t colour) {
    Picture* target = OpenTarget;
    if (target == nullptr || width <= 0 || height <= 0) return;
    // Clip in 64 bits so that boxes near the int limits cannot overflow.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + width, target->Width);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + height, target->Height);
    if (left >= right || top >= bottom) return;
    uint8_t pixel[4] = {ColourBlue(colour), ColourGreen(colour), ColourRed(colour), 0xFF};
    const int bpp = target->BytesPerPixel;
    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* p = target->Top + row * target->RowStride + left * bpp;
        for (int64_t column = left; column < right; ++column, p += bpp) std::memcpy(p, pixel, bpp);
    }
}

void EndDrawing() {
    Picture* target = OpenTarget;
    OpenTarget = nullptr;
    if (target != nullptr && target == Canvas && ShowCanvas != nullptr) ShowCanvas();
}
