#pragma once
// Drawing targets: plain pixel surfaces that the renderer paints, either the
// canvas's own picture or the one off-screen picture that the export writes.
#include <cstddef>
#include <cstdint>

// Pixels are blue, green, red bytes (BytesPerPixel 3), or blue, green, red,
// 0xFF (BytesPerPixel 4). Rows may lie top-down or bottom-up in memory:
// row y begins at Top + y * RowStride, and RowStride is negative when the
// bottom row comes first.
struct Picture {
    uint8_t* Top = nullptr;
    std::ptrdiff_t RowStride = 0;
    int Width = 0;
    int Height = 0;
    int BytesPerPixel = 0;
    uint8_t* Memory = nullptr;      // lowest address of the pixel memory
    std::size_t MemoryBytes = 0;    // |RowStride| * Height
};

// Colour values hold red in the low byte, then green, then blue.
inline uint8_t ColourRed(uint32_t colour) { return static_cast<uint8_t>(colour); }
inline uint8_t ColourGreen(uint32_t colour) { return static_cast<uint8_t>(colour >> 8); }
inline uint8_t ColourBlue(uint32_t colour) { return static_cast<uint8_t>(colour >> 16); }

// The canvas's picture, or nullptr while no canvas exists.
Picture* CanvasPicture();
// The canvas registers its picture and the function that shows it on screen.
void RegisterCanvasPicture(Picture* picture, void (*showOnScreen)());

// Creates the off-screen picture: width x height, 24-bit blue-green-red, bottom
// row first, every pixel black. Releases the previous one first. nullptr when
// the size is not positive or memory runs out.
Picture* CreateOffscreenPicture(int width, int height);
Picture* OffscreenPicture();
void ReleaseOffscreenPicture();

// Opens a target for drawing; false (and nothing open) for a null target.
bool BeginDrawing(Picture* target);
// The target open for drawing, or nullptr.
Picture* OpenDrawTarget();
// Fills a box of the open target, clipped to its bounds; empty boxes and
// boxes outside the target change nothing.
void FillBox(int x, int y, int width, int height, uint32_t colour);
// Closes the target; for the canvas the new picture is on screen on return.
void EndDrawing();
