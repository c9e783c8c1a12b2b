#include <png.h>

#include <csetjmp>

#include "files/picture_export.h"
#include "files/picture_writers.h"
#include "platform/drawing.h"
#include "platform/files.h"

namespace {
// Every libpng call that can raise an error, in a frame of its own: an error
// jumps back to the setjmp in RunPngWriter and abandons this frame, which
// holds nothing that must be cleaned up or read afterwards.
void WritePngImage(png_structp png, png_infop info, std::FILE* stream, const Picture& picture) {
    png_init_io(png, stream);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, PngCompressionLevel);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width), static_cast<png_uint_32>(picture.Height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // The picture holds blue, green, red; PNG stores red, green, blue.
    png_set_bgr(png);
    png_write_info(png, info);
    // Top row first, each straight from the picture's memory (libpng copies
    // the row before it swaps the bytes, so the picture stays as it is).
    for (int y = 0; y < picture.Height; ++y) png_write_row(png, picture.Top + y * picture.RowStride);
    png_write_end(png, info);
}

// Nothing here changes after setjmp, so nothing can be clobbered by longjmp.
bool RunPngWriter(png_structp png, png_infop info, std::FILE* stream, const Picture& picture) {
    if (setjmp(png_jmpbuf(png))) return false;
    WritePngImage(png, info, stream, picture);
    return true;
}
}  // namespace

bool WritePng(FileHandle* file, const Picture& picture) {
    std::FILE* stream = StdioStream(file);
    if (stream == nullptr) return false;
    // No error or warning functions of our own: libpng's defaults print the
    // message and jump back to png_jmpbuf.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const bool written = RunPngWriter(png, info, stream, picture);
    png_destroy_write_struct(&png, &info);
    return written;
}
