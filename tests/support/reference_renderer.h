#pragma once
// The view painted the plain way, one FillBox per Spectrum pixel, to hold the
// renderer's fast picture against.
#include <cstdint>

#include "screen/renderer.h"

struct Picture;

// Opens target, fills the 512 x 384 view area black and paints every pixel of
// the view's screens as one box, reading a byte only when it lies below size.
// False when the target cannot be opened for drawing.
bool PaintByBoxes(Picture target, const ViewSettings& view, const uint8_t* source, int64_t size);
