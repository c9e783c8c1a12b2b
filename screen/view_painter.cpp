// PaintView writes the pixels straight into the target: one box per Spectrum
// pixel would cost a call per pixel on every scroll movement. The picture is the
// same as painting the view box by box with FillBox, clipping included.
#include <algorithm>
#include <cstring>

#include "platform/drawing.h"
#include "screen/palette.h"
#include "screen/renderer.h"
#include "screen/screen_layout.h"

namespace {
constexpr int ViewWidth = 512;
constexpr int ViewHeight = 384;

// For every bitmap byte, all ones for an ink pixel and zero for paper, leftmost (bit 7) first.
struct PixelMasks {
    uint32_t Of[256][8];
};

constexpr PixelMasks MakePixelMasks() {
    PixelMasks masks{};
    for (int b = 0; b < 256; ++b)
        for (int m = 0; m < 8; ++m) masks.Of[b][m] = (b & (0x80 >> m)) != 0 ? 0xFFFFFFFFu : 0u;
    return masks;
}

constexpr PixelMasks Masks = MakePixelMasks();

// Ink and paper of every attribute byte as the target's pixel bytes, so that a
// pixel is one 4-byte copy (the first 3 bytes of it for a 3-byte target).
struct AttributePixels {
    uint32_t Ink[256];
    uint32_t Paper[256];
};

uint32_t PixelOf(uint32_t colour) {
    const uint8_t bytes[4] = {ColourBlue(colour), ColourGreen(colour), ColourRed(colour), 0xFF};
    uint32_t pixel;
    std::memcpy(&pixel, bytes, sizeof pixel);
    return pixel;
}

void MakeAttributePixels(AttributePixels& pixels, bool mono) {
    for (int a = 0; a < 256; ++a) {
        const int attribute = mono ? MonoAttribute : a;
        pixels.Ink[a] = PixelOf(InkTable[attribute]);
        pixels.Paper[a] = PixelOf(PaperTable[attribute]);
    }
}

// The screen at offset: straight from the source when all its bytes are present,
// otherwise a copy in spare where absent bytes take their substitutes.
const uint8_t* ScreenAt(const uint8_t* source, int64_t size, int64_t offset, uint8_t* spare) {
    if (offset >= 0 && offset <= size - ScreenSize) return source + offset;
    std::memset(spare, 0, BitmapSize);
    std::memset(spare + BitmapSize, MissingAttribute, AttributeSize);
    const int64_t first = std::max<int64_t>(offset, 0);
    const int64_t end = std::min<int64_t>(offset + ScreenSize, size);
    if (first < end) std::memcpy(spare + (first - offset), source + first, static_cast<std::size_t>(end - first));
    return spare;
}

// Composes the first lineCount pixel lines of character row row, line l into
// lines[l] as 256 x Zoom 4-byte pixels. Cell by cell, so that each attribute is
// read once and its colours stay at hand for the cell's eight lines.
template <int Zoom>
void ComposeCharacterRow(uint8_t* const* lines, int lineCount, const uint8_t* screen, int row,
                         const AttributePixels& colours) {
    const uint8_t* bitmap = screen + LineOffset(8 * row);
    const uint8_t* attributes = screen + AttributeOffset(8 * row, 0);
    for (int c = 0; c < 32; ++c) {
        const uint8_t attribute = attributes[c];
        // One copy per pixel of a byte, so that the compiler treats the byte's eight pixels as vectors.
        uint32_t paper[8];
        uint32_t flip[8];
        for (int m = 0; m < 8; ++m) {
            paper[m] = colours.Paper[attribute];
            flip[m] = colours.Ink[attribute] ^ colours.Paper[attribute];
        }
        // The eight lines of a character row lie 256 bytes apart.
        for (int l = 0; l < lineCount; ++l) {
            const uint32_t* mask = Masks.Of[bitmap[256 * l + c]];
            uint8_t* out = lines[l] + c * 32 * Zoom;
            for (int m = 0; m < 8; ++m) {
                const uint32_t pixel = paper[m] ^ (flip[m] & mask[m]);
                for (int k = 0; k < Zoom; ++k) std::memcpy(out + 4 * (m * Zoom + k), &pixel, 4);
            }
        }
    }
}

// The first count pixels of a composed line scaled by zoom, in the row's pixel size.
void EmitLine(uint8_t* row, const uint32_t* line, int zoom, int64_t count, int bytesPerPixel) {
    if (bytesPerPixel == 4) {
        for (int64_t x = 0; x < count; ++x) std::memcpy(row + x * 4, &line[x / zoom], 4);
    } else {
        for (int64_t x = 0; x < count; ++x) std::memcpy(row + x * 3, &line[x / zoom], 3);
    }
}

// Paints one screen with its top-left corner at (left, top), clipped to width x height.
void PaintTile(const Picture& target, const uint8_t* screen, const AttributePixels& colours, int zoom,
               int64_t left, int64_t top, int64_t width, int64_t height) {
    const int bytesPerPixel = target.BytesPerPixel;
    const int64_t count = std::min<int64_t>(int64_t{ScreenWidth} * zoom, width - left);
    const auto rowBytes = static_cast<std::size_t>(count * bytesPerPixel);
    // Whole lines of 4-byte pixels at zoom 1 or 2 are composed in place; the rest
    // goes through line buffers that are then scaled, converted and clipped.
    const bool inPlace = bytesPerPixel == 4 && (zoom == 1 || zoom == 2) && count == int64_t{ScreenWidth} * zoom;
    uint32_t buffers[8][ScreenWidth];
    for (int row = 0; row < ScreenHeight / 8; ++row) {
        const int64_t rowTop = top + int64_t{8} * row * zoom;
        if (rowTop >= height) break;
        const auto lineCount = static_cast<int>(std::min<int64_t>(8, (height - rowTop + zoom - 1) / zoom));
        uint8_t* targetRows[8];
        uint8_t* lines[8];
        for (int l = 0; l < lineCount; ++l) {
            targetRows[l] = target.Top + (rowTop + int64_t{l} * zoom) * target.RowStride + left * bytesPerPixel;
            lines[l] = inPlace ? targetRows[l] : reinterpret_cast<uint8_t*>(buffers[l]);
        }
        if (inPlace && zoom == 2) {
            ComposeCharacterRow<2>(lines, lineCount, screen, row, colours);
        } else {
            ComposeCharacterRow<1>(lines, lineCount, screen, row, colours);
        }
        for (int l = 0; l < lineCount; ++l) {
            if (!inPlace) EmitLine(targetRows[l], buffers[l], zoom, count, bytesPerPixel);
            const int64_t lineTop = rowTop + int64_t{l} * zoom;
            for (int64_t k = 1; k < zoom && lineTop + k < height; ++k)
                std::memcpy(targetRows[l] + k * target.RowStride, targetRows[l], rowBytes);
        }
    }
}

void FillBlack(const Picture& target, int64_t width, int64_t height) {
    const uint32_t black = PixelOf(0);
    for (int64_t y = 0; y < height; ++y) {
        uint8_t* row = target.Top + y * target.RowStride;
        for (int64_t x = 0; x < width; ++x) std::memcpy(row + x * target.BytesPerPixel, &black, target.BytesPerPixel);
    }
}
}  // namespace

void PaintView(const Picture& target, const ViewSettings& view, const uint8_t* source, int64_t size) {
    if (target.Top == nullptr || (target.BytesPerPixel != 3 && target.BytesPerPixel != 4)) return;
    const int64_t width = std::clamp(target.Width, 0, ViewWidth);
    const int64_t height = std::clamp(target.Height, 0, ViewHeight);
    if (width == 0 || height == 0) return;
    // Without a zoom every pixel box is empty and only the black ground shows;
    // any zoom paints every pixel of the area, so the ground is not needed then.
    if (view.Zoom <= 0) {
        FillBlack(target, width, height);
        return;
    }
    if (source == nullptr || size < 0) size = 0;
    const int zoom = view.Zoom;
    const int tiles = zoom == 2 ? 1 : 2;
    AttributePixels colours;
    MakeAttributePixels(colours, view.Mono);
    // Offsets wholly before or after the source show only substitutes; clamping
    // them keeps the tile offsets far from overflow.
    const int64_t offset = std::clamp<int64_t>(view.Offset, -4 * int64_t{ScreenSize}, size);
    uint8_t spare[ScreenSize];
    for (int i = 0; i < tiles; ++i) {
        for (int j = 0; j < tiles; ++j) {
            const int64_t left = int64_t{ScreenWidth} * i * zoom;
            const int64_t top = int64_t{ScreenHeight} * j * zoom;
            if (left >= width || top >= height) continue;
            const uint8_t* screen = ScreenAt(source, size, offset + int64_t{ScreenSize} * (tiles * i + j), spare);
            PaintTile(target, screen, colours, zoom, left, top, width, height);
        }
    }
}
