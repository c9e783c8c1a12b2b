#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "files/picture_export.h"
#include "files/picture_writers.h"
#include "platform/drawing.h"
#include "platform/files.h"

namespace {
struct JpegErrors {
    jpeg_error_mgr Manager;  // first member: libjpeg's err pointer is also ours
    std::jmp_buf ReturnPoint;
};

// libjpeg's default error exit ends the process; ours returns to the writer.
[[noreturn]] void ReturnToWriter(j_common_ptr common) {
    std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->ReturnPoint, 1);
}

// Every libjpeg call that can raise an error, in a frame of its own: an error
// jumps back to the setjmp in RunJpegWriter and abandons this frame. The row
// buffer comes from libjpeg's own pool, so jpeg_destroy_compress frees it
// whichever way the writing ended.
void WriteJpegImage(jpeg_compress_struct* jpeg, std::FILE* stream, const Picture& picture) {
    jpeg_create_compress(jpeg);
    jpeg_stdio_dest(jpeg, stream);
    jpeg->image_width = static_cast<JDIMENSION>(picture.Width);
    jpeg->image_height = static_cast<JDIMENSION>(picture.Height);
    jpeg->input_components = 3;
    jpeg->in_color_space = JCS_RGB;
    jpeg_set_defaults(jpeg);
    jpeg_set_quality(jpeg, JpegQuality, FALSE);
    jpeg_start_compress(jpeg, TRUE);

    const auto width = static_cast<JDIMENSION>(picture.Width);
    JSAMPARRAY row = (*jpeg->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(jpeg), JPOOL_IMAGE, width * 3, 1);
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* from = picture.Top + y * picture.RowStride;
        JSAMPLE* to = row[0];
        // Blue, green, red in the picture; red, green, blue for libjpeg.
        for (JDIMENSION x = 0; x < width; ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
        jpeg_write_scanlines(jpeg, row, 1);
    }
    jpeg_finish_compress(jpeg);
}

// Nothing here changes after setjmp, so nothing can be clobbered by longjmp.
bool RunJpegWriter(jpeg_compress_struct* jpeg, JpegErrors* errors, std::FILE* stream, const Picture& picture) {
    if (setjmp(errors->ReturnPoint)) return false;
    WriteJpegImage(jpeg, stream, picture);
    return true;
}
}  // namespace

bool WriteJpeg(FileHandle* file, const Picture& picture) {
    std::FILE* stream = StdioStream(file);
    if (stream == nullptr) return false;
    JpegErrors errors{};
    // Zeroed, so that jpeg_destroy_compress is safe even when creation itself failed.
    jpeg_compress_struct jpeg{};
    jpeg.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = ReturnToWriter;
    // No trace messages; warnings still go to libjpeg's default output.
    errors.Manager.trace_level = -1;
    const bool written = RunJpegWriter(&jpeg, &errors, stream, picture);
    jpeg_destroy_compress(&jpeg);
    return written;
}
