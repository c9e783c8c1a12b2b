#include "support/picture_files.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <jpeglib.h>

#include "platform/drawing.h"

namespace {
uint8_t Byte(const std::string& bytes, std::size_t at) { return static_cast<uint8_t>(bytes.at(at)); }

struct JpegReadErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf ReturnPoint;
};

[[noreturn]] void JpegReadFailed(j_common_ptr common) {
    std::longjmp(reinterpret_cast<JpegReadErrors*>(common->err)->ReturnPoint, 1);
}

// Decodes in a frame of its own: nothing here is read after a longjmp.
bool RunJpegDecode(jpeg_decompress_struct* jpeg, JpegReadErrors* errors, const std::string* bytes, RgbImage* image) {
    if (setjmp(errors->ReturnPoint)) return false;
    jpeg_create_decompress(jpeg);
    jpeg_mem_src(jpeg, reinterpret_cast<const unsigned char*>(bytes->data()), static_cast<unsigned long>(bytes->size()));
    jpeg_read_header(jpeg, TRUE);
    jpeg->out_color_space = JCS_RGB;
    // Plain replication of the chroma samples: smoothing would blend the
    // colours of neighbouring cells at their edges.
    jpeg->do_fancy_upsampling = FALSE;
    jpeg_start_decompress(jpeg);
    image->Width = static_cast<int>(jpeg->output_width);
    image->Height = static_cast<int>(jpeg->output_height);
    image->Samples.assign(static_cast<std::size_t>(image->Width) * image->Height * 3, 0);
    while (jpeg->output_scanline < jpeg->output_height) {
        JSAMPROW row = image->Samples.data() + static_cast<std::size_t>(jpeg->output_scanline) * image->Width * 3;
        jpeg_read_scanlines(jpeg, &row, 1);
    }
    jpeg_finish_decompress(jpeg);
    return true;
}
}  // namespace

Picture* MakeTestPicture(int width, int height, int cell) {
    Picture* picture = CreateOffscreenPicture(width, height);
    if (picture == nullptr || !BeginDrawing(picture)) return nullptr;
    for (int j = 0; j * cell < height; ++j) {
        for (int i = 0; i * cell < width; ++i) {
            // Unlike in x and y, so that a flipped or transposed picture shows.
            const uint32_t red = static_cast<uint32_t>(i * 37 + j * 11) & 0xFF;
            const uint32_t green = static_cast<uint32_t>(i * 5 + j * 59 + 100) & 0xFF;
            const uint32_t blue = static_cast<uint32_t>((i * 13) ^ (j * 29)) & 0xFF;
            const uint32_t colour = (i == 0 && j == 0) ? 191u : red | green << 8 | blue << 16;
            FillBox(i * cell, j * cell, cell, cell, colour);
        }
    }
    EndDrawing();
    return picture;
}

RgbImage PictureImage(const Picture& picture) {
    RgbImage image{picture.Width, picture.Height, {}};
    image.Samples.reserve(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* row = picture.Top + y * picture.RowStride;
        for (int x = 0; x < picture.Width; ++x) {
            const uint8_t* pixel = row + x * picture.BytesPerPixel;
            image.Samples.insert(image.Samples.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    return image;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<RgbImage> DecodeBmp(const std::string& bytes) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Le16(bytes, 28) != 24) return std::nullopt;
    const auto width = static_cast<int32_t>(Le32(bytes, 18));
    const auto height = static_cast<int32_t>(Le32(bytes, 22));
    const uint32_t dataAt = Le32(bytes, 10);
    if (width <= 0 || height <= 0) return std::nullopt;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (bytes.size() < dataAt + rowBytes * height) return std::nullopt;
    RgbImage image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        // Positive height: the bottom row comes first.
        const std::size_t row = dataAt + rowBytes * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            image.Samples.insert(image.Samples.end(), {Byte(bytes, at + 2), Byte(bytes, at + 1), Byte(bytes, at)});
        }
    }
    return image;
}

std::optional<RgbImage> DecodePng(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    RgbImage image{static_cast<int>(png.width), static_cast<int>(png.height), {}};
    image.Samples.resize(PNG_IMAGE_SIZE(png));
    const bool read = png_image_finish_read(&png, nullptr, image.Samples.data(), 0, nullptr) != 0;
    png_image_free(&png);
    if (!read) return std::nullopt;
    return image;
}

std::optional<RgbImage> DecodeJpeg(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    JpegReadErrors errors{};
    jpeg_decompress_struct jpeg{};
    jpeg.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = JpegReadFailed;
    RgbImage image;
    const bool read = RunJpegDecode(&jpeg, &errors, &bytes, &image);
    // libjpeg only warns about a cut-off file and makes up the missing rows.
    const bool whole = errors.Manager.num_warnings == 0;
    jpeg_destroy_decompress(&jpeg);
    if (!read || !whole) return std::nullopt;
    return image;
}

std::string ImageDifference(const RgbImage& expected, const RgbImage& actual, int tolerance) {
    std::ostringstream out;
    if (expected.Width != actual.Width || expected.Height != actual.Height || expected.Samples.size() != actual.Samples.size()) {
        out << "size " << actual.Width << "x" << actual.Height << ", expected " << expected.Width << "x" << expected.Height;
        return out.str();
    }
    for (std::size_t i = 0; i < expected.Samples.size(); ++i) {
        if (std::abs(int{expected.Samples[i]} - int{actual.Samples[i]}) > tolerance) {
            const std::size_t pixel = i / 3;
            out << "pixel (" << pixel % expected.Width << ", " << pixel / expected.Width << ") sample " << i % 3
                << ": " << int{actual.Samples[i]} << ", expected " << int{expected.Samples[i]};
            return out.str();
        }
    }
    return {};
}

uint32_t Le16(const std::string& bytes, std::size_t at) { return Byte(bytes, at) | uint32_t{Byte(bytes, at + 1)} << 8; }
uint32_t Le32(const std::string& bytes, std::size_t at) { return Le16(bytes, at) | Le16(bytes, at + 2) << 16; }
uint32_t Be16(const std::string& bytes, std::size_t at) { return uint32_t{Byte(bytes, at)} << 8 | Byte(bytes, at + 1); }
uint32_t Be32(const std::string& bytes, std::size_t at) { return Be16(bytes, at) << 16 | Be16(bytes, at + 2); }

void WrittenPictureTest::SetUp() {
    picture_ = MakeTestPicture(GetParam().first, GetParam().second, cell_);
    ASSERT_NE(picture_, nullptr);
    ASSERT_TRUE(SavePicture(picture_, path_, format_));
}

std::string SizeName(const ::testing::TestParamInfo<std::pair<int, int>>& info) {
    return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
}
