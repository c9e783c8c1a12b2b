#include <cstdint>

#include "files/picture_writers.h"
#include "platform/drawing.h"
#include "platform/files.h"

namespace {
constexpr int HeaderBytes = 54;  // 14-byte file header + 40-byte information header

void PutLe16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(uint8_t* at, uint32_t value) {
    PutLe16(at, value);
    PutLe16(at + 2, value >> 16);
}
}  // namespace

int64_t BmpRowBytes(int width) { return (int64_t{width} * 3 + 3) & ~int64_t{3}; }

bool WriteBmp(FileHandle* file, const Picture& picture) {
    const int64_t pixelBytes = BmpRowBytes(picture.Width) * picture.Height;
    // The size fields are 32 bits wide.
    if (pixelBytes + HeaderBytes > INT32_MAX) return false;
    const auto s = static_cast<uint32_t>(pixelBytes);

    uint8_t header[HeaderBytes] = {};
    // File header.
    header[0] = 'B';
    header[1] = 'M';
    PutLe32(header + 2, HeaderBytes + s);  // file size
    PutLe16(header + 6, 0);                 // reserved
    PutLe16(header + 8, 0);                 // reserved
    PutLe32(header + 10, HeaderBytes);      // offset of the pixel data
    // Information header.
    PutLe32(header + 14, 40);                                  // its own size
    PutLe32(header + 18, static_cast<uint32_t>(picture.Width));   // width
    PutLe32(header + 22, static_cast<uint32_t>(picture.Height));  // height > 0: bottom row first
    PutLe16(header + 26, 1);                                   // colour planes
    PutLe16(header + 28, 24);                                  // bits per pixel
    PutLe32(header + 30, 0);                                   // no compression
    PutLe32(header + 34, s);                                   // size of the pixel data
    PutLe32(header + 38, 0);                                   // horizontal pixels per metre
    PutLe32(header + 42, 0);                                   // vertical pixels per metre
    PutLe32(header + 46, 0);                                   // colours used
    PutLe32(header + 50, 0);                                   // important colours

    if (!WriteBlock(file, header, HeaderBytes)) return false;
    // The picture already lies in memory as BMP rows: bottom row first, blue,
    // green, red, rows padded to 4 bytes. One write, no copy.
    return WriteBlock(file, picture.Memory, pixelBytes);
}
