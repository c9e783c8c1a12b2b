#include "support/saved_files.h"

#include <filesystem>

std::string ExpectedScreenBytes(const std::string& loaded, int64_t offset, bool mono) {
    std::string screen(6912, '\0');
    const auto size = static_cast<int64_t>(loaded.size());
    for (int64_t i = 0; i < 6912; ++i) {
        const int64_t at = offset + i;
        const bool attribute = i >= 6144;
        char byte = attribute ? '\x48' : '\0';
        if (at >= 0 && at < size) byte = loaded[static_cast<std::size_t>(at)];
        if (attribute && mono) byte = '\x07';
        screen[static_cast<std::size_t>(i)] = byte;
    }
    return screen;
}

std::string ScreenFileProblem(const std::string& path, const std::string& expected) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return path + " was not written";
    const std::string bytes = ReadFileBytes(path);
    if (bytes.size() != expected.size())
        return path + " has " + std::to_string(bytes.size()) + " bytes, not " + std::to_string(expected.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != expected[i])
            return path + " differs at byte " + std::to_string(i) + ": " +
                   std::to_string(static_cast<uint8_t>(bytes[i])) + ", expected " +
                   std::to_string(static_cast<uint8_t>(expected[i]));
    }
    return "";
}

const char* PictureExtension(PictureFormat format) {
    switch (format) {
    case PictureFormat::Bmp: return ".bmp";
    case PictureFormat::Png: return ".png";
    case PictureFormat::Jpeg: return ".jpg";
    }
    return "";
}

std::string PictureFileProblem(const std::string& path, PictureFormat format, int zoom, const RgbImage& expected) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return path + " was not written";
    const int width = 256 * zoom;
    const int height = 192 * zoom;
    std::optional<RgbImage> image;
    if (format == PictureFormat::Bmp) {
        const std::string bytes = ReadFileBytes(path);
        const std::size_t whole = 54 + std::size_t{3} * width * height;
        if (bytes.size() != whole)
            return path + " has " + std::to_string(bytes.size()) + " bytes, not " + std::to_string(whole);
        image = DecodeBmp(bytes);
    } else if (format == PictureFormat::Png) {
        image = DecodePng(path);
    } else {
        image = DecodeJpeg(path);
    }
    if (!image) return path + " does not decode";
    if (image->Width != width || image->Height != height)
        return path + " is " + std::to_string(image->Width) + " x " + std::to_string(image->Height) + ", not " +
               std::to_string(width) + " x " + std::to_string(height);
    if (format == PictureFormat::Jpeg) return "";
    const std::string difference = ImageDifference(expected, *image);
    return difference.empty() ? "" : path + ": " + difference;
}
