#pragma once
// Paints the screens at the current offset onto the open drawing target.
#include <cstdint>
#include <string>

struct Picture;

// The view as the controls set it.
struct ViewSettings {
    int64_t Offset = 0;  // DisplayOffset: byte position + 32 * line position
    int Zoom = 1;        // 1: two by two screens, 2: one screen doubled
    bool Mono = false;
};

extern int Zoom;  // the zoom of the last DrawScreens

ViewSettings ReadViewSettings();
// "Quillon, disp:" and the offset in upper-case hexadecimal.
std::string OffsetTitle(int64_t offset);
// Paints the 512 x 384 view area of target from source[0 .. size - 1], clipped
// to the target; bytes at or beyond size take the substitutes.
void PaintView(const Picture& target, const ViewSettings& view, const uint8_t* source, int64_t size);
// Paints the open target from the loaded source and sets the window title;
// does nothing while nothing is loaded or no target is open.
void DrawScreens();
// DrawScreens onto the canvas, shown on screen on return.
void Redraw();
