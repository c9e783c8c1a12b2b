#include "files/screen_bytes.h"

#include <algorithm>

#include "platform/files.h"

ScreenBytes MakeScreenBytes(const uint8_t* source, int64_t sourceSize, int64_t offset, bool mono) {
    ScreenBytes bytes{};
    std::fill(bytes.begin() + BitmapSize, bytes.end(), MissingAttribute);
    if (source != nullptr && sourceSize > 0 && offset < sourceSize && offset > -int64_t{ScreenSize}) {
        // Screen positions first .. last - 1 lie inside the data; bounds are
        // worked out before any addition so that no sum can overflow.
        const int64_t first = offset < 0 ? -offset : 0;
        const int64_t last = std::min<int64_t>(ScreenSize, sourceSize - offset);
        std::copy(source + (offset + first), source + (offset + last), bytes.begin() + first);
    }
    if (mono) std::fill(bytes.begin() + BitmapSize, bytes.end(), MonoAttribute);
    return bytes;
}

ScreenWrite WriteScreenBytes(const std::string& path, const ScreenBytes& bytes) {
    FileHandle* file = CreateForWriting(path);
    if (file == nullptr) return ScreenWrite::NotCreated;
    const bool written = WriteBlock(file, bytes.data(), static_cast<int64_t>(bytes.size()));
    // Closing flushes: a full disk often shows only here.
    const bool closed = CloseFile(file);
    if (written && closed) return ScreenWrite::Written;
    DeleteFile(path);
    return ScreenWrite::WriteFailed;
}
