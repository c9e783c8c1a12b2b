#include <filesystem>
#include <system_error>

#include "files/picture_export.h"
#include "files/picture_writers.h"
#include "platform/drawing.h"
#include "platform/files.h"

namespace {
// The writers take the off-screen picture's layout and nothing else; the BMP
// writer in particular sends its memory out as it lies.
bool IsWritablePicture(const Picture& picture) {
    if (picture.Width <= 0 || picture.Height <= 0 || picture.BytesPerPixel != 3) return false;
    if (picture.Memory == nullptr || picture.Top == nullptr) return false;
    const int64_t rowBytes = BmpRowBytes(picture.Width);
    return picture.RowStride == -rowBytes && picture.Top == picture.Memory + rowBytes * (picture.Height - 1) &&
           static_cast<int64_t>(picture.MemoryBytes) >= rowBytes * picture.Height;
}

bool WriteFormat(FileHandle* file, const Picture& picture, PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp: return WriteBmp(file, picture);
        case PictureFormat::Png: return WritePng(file, picture);
        case PictureFormat::Jpeg: return WriteJpeg(file, picture);
    }
    return false;
}

// Only a regular file is ours to remove: a failed write to a device such as
// /dev/full must not unlink the device.
void DiscardPartialFile(const std::string& fileName) {
    std::error_code error;
    if (std::filesystem::is_regular_file(fileName, error)) DeleteFile(fileName);
}
}  // namespace

bool SavePicture(const Picture* picture, const std::string& fileName, PictureFormat format) {
    if (picture == nullptr || fileName.empty() || !IsWritablePicture(*picture)) return false;
    // A file that cannot be created leaves the disk as it was.
    FileHandle* file = CreateForWriting(fileName);
    if (file == nullptr) return false;
    const bool written = WriteFormat(file, *picture, format);
    // The close flushes the stream; a full disk may show up only here.
    const bool closed = CloseFile(file);
    if (written && closed) return true;
    DiscardPartialFile(fileName);
    return false;
}
